#pragma once
// The writes a z5-sim timeline holds: each header with the data block after it.
#include "SimSession.h"
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <vector>

namespace z5::e2e {

// A header and the data block that followed it, as the simulator saw them.
struct Write {
    QJsonObject header;
    QJsonObject data;
    qint64 headerMs() const { return header.value(QStringLiteral("ms")).toInteger(); }
    qint64 dataMs() const { return data.value(QStringLiteral("ms")).toInteger(); }
};

// Every write of station 1, in arrival order; anything else on the line fails the test.
inline std::vector<Write> writesOf(const std::vector<QJsonObject> &timeline) {
    std::vector<Write> out;
    for (const QJsonObject &e : timeline) {
        const QString what = e.value(QStringLiteral("what")).toString();
        EXPECT_EQ(e.value(QStringLiteral("dir")).toString(), "in") << what.toStdString();
        EXPECT_FALSE(e.contains(QStringLiteral("otherStation")));
        if (what == QLatin1String("header")) {
            out.push_back({e, {}});
        } else if (what == QLatin1String("data") && !out.empty() && out.back().data.isEmpty()) {
            out.back().data = e;
        } else {
            ADD_FAILURE() << "unexpected on the line: " << QJsonDocument(e).toJson().toStdString();
        }
    }
    return out;
}

} // namespace z5::e2e
