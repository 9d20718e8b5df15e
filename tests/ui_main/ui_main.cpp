// Runs the main window's Qt Test classes: all of them, or the one named first
// on the command line (the rest of the arguments go to Qt Test).
#include <QApplication>
#include <QTest>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

std::unique_ptr<QObject> makeMainWindowMenusTest();
std::unique_ptr<QObject> makeNetworkDialogsTest();
std::unique_ptr<QObject> makeMainWindowWritesTest();
std::unique_ptr<QObject> makeScreenDesignerCommandsTest();
std::unique_ptr<QObject> makeScreenEditingTest();
std::unique_ptr<QObject> makeDesktopConventionsTest();
std::unique_ptr<QObject> makeTrafficMonitorTest();

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<std::pair<const char *, std::function<std::unique_ptr<QObject>()>>> all = {
        {"MainWindowMenusTest", makeMainWindowMenusTest},
        {"NetworkDialogsTest", makeNetworkDialogsTest},
        {"MainWindowWritesTest", makeMainWindowWritesTest},
        {"ScreenDesignerCommandsTest", makeScreenDesignerCommandsTest},
        {"ScreenEditingTest", makeScreenEditingTest},
        {"DesktopConventionsTest", makeDesktopConventionsTest},
        {"TrafficMonitorTest", makeTrafficMonitorTest},
    };
    const char *only = nullptr;
    int first = 1;
    if (argc > 1) {
        for (const auto &entry : all)
            if (std::strcmp(argv[1], entry.first) == 0) only = entry.first;
        if (only) first = 2;
    }
    std::vector<char *> rest{argv[0]};
    for (int i = first; i < argc; ++i) rest.push_back(argv[i]);
    int failures = 0;
    for (const auto &entry : all) {
        if (only && std::strcmp(only, entry.first) != 0) continue;
        std::unique_ptr<QObject> test = entry.second();
        failures += QTest::qExec(test.get(), static_cast<int>(rest.size()), rest.data());
    }
    return failures == 0 ? 0 : 1;
}
