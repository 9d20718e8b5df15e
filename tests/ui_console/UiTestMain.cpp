// Runs every registered Qt Test class on the offscreen platform.
#include "UiTestRegistry.h"
#include <QApplication>
#include <QTest>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    int failed = 0;
    for (const auto &make : z5::uitest::registry()) {
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
