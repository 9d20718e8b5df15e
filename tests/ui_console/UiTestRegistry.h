#pragma once
// Each test file registers its Qt Test class; one main runs them all.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace z5::uitest {

using Factory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<Factory> &registry() {
    static std::vector<Factory> factories;
    return factories;
}

template <typename T>
struct Registrar {
    Registrar() { registry().push_back([] { return std::make_unique<T>(); }); }
};

} // namespace z5::uitest
