#pragma once
// Each test file registers its Qt Test class; the one UI test runner runs them.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace z5::uitest {

struct Entry {
    const char *name;   // the class name, for running one class alone
    std::function<std::unique_ptr<QObject>()> make;
};

inline std::vector<Entry> &registry() {
    static std::vector<Entry> entries;
    return entries;
}

template <typename T>
struct Registrar {
    Registrar() { registry().push_back({T::staticMetaObject.className(), [] { return std::make_unique<T>(); }}); }
};

} // namespace z5::uitest
