// The one runner of the Qt Test classes of the windows, on the offscreen
// platform: every registered class, or only the one named first on the command
// line (the remaining arguments go to Qt Test).
#include "PrivateRuntimeFolder.h"
#include "UiTestRegistry.h"
#include <QApplication>
#include <QTest>
#include <cstring>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const z5::testing::PrivateRuntimeFolder runtimeFolder;
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const char *only = nullptr;
    for (const auto &entry : z5::uitest::registry())
        if (argc > 1 && std::strcmp(argv[1], entry.name) == 0) only = entry.name;
    std::vector<char *> rest{argv[0]};
    for (int i = only ? 2 : 1; i < argc; ++i) rest.push_back(argv[i]);
    int failed = 0;
    for (const auto &entry : z5::uitest::registry()) {
        if (only && std::strcmp(only, entry.name) != 0) continue;
        const std::unique_ptr<QObject> test = entry.make();
        failed += QTest::qExec(test.get(), static_cast<int>(rest.size()), rest.data());
    }
    return failed == 0 ? 0 : 1;
}
