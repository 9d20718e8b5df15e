#include "link/SerialDevices.h"
#include "link/windows/Win32SerialPort.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <windows.h>

using z5::Win32SerialPort;

namespace {

struct PathRow {
    const char *given;
    const char *opened;
};
void PrintTo(const PathRow &row, std::ostream *os) { *os << row.given; }

class SystemPath : public testing::TestWithParam<PathRow> {};

TEST_P(SystemPath, ComNamesGoThroughTheDeviceNamespace) {
    EXPECT_EQ(Win32SerialPort::systemPath(QString::fromUtf8(GetParam().given)), QString::fromUtf8(GetParam().opened));
}

INSTANTIATE_TEST_SUITE_P(Names, SystemPath,
                         testing::Values(PathRow{"COM5", "\\\\.\\COM5"}, PathRow{"com12", "\\\\.\\COM12"},
                                         PathRow{"\\\\.\\COM3", "\\\\.\\COM3"}, PathRow{"COMX", "COMX"},
                                         PathRow{"COM", "COM"},
                                         PathRow{"\\\\.\\com5", "\\\\.\\COM5"}, PathRow{" com5 ", "\\\\.\\COM5"}));

struct ReasonRow {
    unsigned long code;
    bool opening;
    const char *words;
};
void PrintTo(const ReasonRow &row, std::ostream *os) { *os << "error " << row.code << (row.opening ? " opening" : " on the way"); }

class Reasons : public testing::TestWithParam<ReasonRow> {};

TEST_P(Reasons, NameThePortAndWhy) {
    const ReasonRow &r = GetParam();
    const QString text = r.opening ? Win32SerialPort::describeOpenFailure(QStringLiteral("COM7"), r.code)
                                   : Win32SerialPort::describeLoss(QStringLiteral("COM7"), r.code);
    EXPECT_TRUE(text.contains(QStringLiteral("COM7"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(r.words))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Reasons,
    testing::Values(ReasonRow{ERROR_FILE_NOT_FOUND, true, "не найден"},
                    ReasonRow{ERROR_ACCESS_DENIED, true, "занят другой программой"},
                    ReasonRow{ERROR_SHARING_VIOLATION, true, "занят другой программой"},
                    ReasonRow{ERROR_INVALID_PARAMETER, true, "ошибка Windows 87"},
                    ReasonRow{ERROR_ACCESS_DENIED, false, "пропал: устройство отключено"},
                    ReasonRow{ERROR_BAD_COMMAND, false, "пропал: устройство отключено"},
                    ReasonRow{ERROR_DEVICE_NOT_CONNECTED, false, "пропал: устройство отключено"},
                    ReasonRow{ERROR_NOT_READY, false, "пропал: устройство отключено"},
                    ReasonRow{ERROR_NOT_ENOUGH_MEMORY, false, "ошибка Windows 8"}));

TEST(Win32SerialPort, MissingPortIsNamedAndStaysClosed) {
    Win32SerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("COM16")));
    EXPECT_EQ(port.errorString(), QStringLiteral("Порт COM16 не найден."));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write(QByteArray(8, '\1')));
    EXPECT_EQ(port.bytesAvailable(), 0);
    EXPECT_TRUE(port.readAll().isEmpty());
}

// Z5_TEST_COM names a port wired to a pseudo-terminal with nothing talking on it.
QString wiredPort() { return qEnvironmentVariable("Z5_TEST_COM"); }

// Wine lets two programs open one serial device; Windows gives a COM port to one at a time.
bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(Win32SerialPort, WiredPortOpensQuietAndNeverBlocks) {
    if (wiredPort().isEmpty()) GTEST_SKIP() << "Z5_TEST_COM not set";
    Win32SerialPort port;
    ASSERT_TRUE(port.open(wiredPort())) << port.errorString().toStdString();
    EXPECT_TRUE(port.write(QByteArray(8, '\1')));
    EXPECT_EQ(port.bytesAvailable(), 0);   // nobody answers: nothing waits, and nothing blocks
    EXPECT_TRUE(port.readAll().isEmpty());
    EXPECT_TRUE(port.errorString().isEmpty());
    EXPECT_GE(port.bytesNotYetSent(), 0);
    port.close();
    EXPECT_FALSE(port.isOpen());
    // The flush before the close let the eight bytes leave: none was dropped.
    EXPECT_EQ(port.bytesDroppedAtClose(), 0);
    EXPECT_EQ(port.bytesNotYetSent(), 0);
    EXPECT_TRUE(port.open(wiredPort())) << port.errorString().toStdString();
}

TEST(Win32SerialPort, PortHeldByAnotherProgramIsNamed) {
    if (wiredPort().isEmpty()) GTEST_SKIP() << "Z5_TEST_COM not set";
    if (underWine()) GTEST_SKIP() << "Wine shares serial devices";
    Win32SerialPort port;
    ASSERT_TRUE(port.open(wiredPort())) << port.errorString().toStdString();
    Win32SerialPort second;
    EXPECT_FALSE(second.open(wiredPort()));
    EXPECT_EQ(second.errorString(), QStringLiteral("Порт %1 занят другой программой или недоступен.").arg(wiredPort()));
}

// Z5_TEST_LISTED_COM names a port the registry lists (as the system's own reg.exe reports it).
TEST(SystemSerialDevices, ListsWhatTheRegistryHolds) {
    const QString listed = qEnvironmentVariable("Z5_TEST_LISTED_COM");
    if (listed.isEmpty()) GTEST_SKIP() << "Z5_TEST_LISTED_COM not set";
    const std::vector<z5::SerialDeviceInfo> present = z5::SystemSerialDevices().list();
    const z5::SerialDeviceInfo *found = z5::SerialDevices::find(present, listed);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->device, listed) << "the name a user picks opens that port";
    // The adapter's own name where the device manager has one, never the driver's kernel name.
    EXPECT_FALSE(found->description.startsWith(QStringLiteral("\\Device\\"))) << found->description.toStdString();
}

struct CommErrorRow {
    unsigned long commErrors;
    unsigned flags;
};

class CommErrors : public testing::TestWithParam<CommErrorRow> {};

TEST_P(CommErrors, BecomeLineErrors) {
    EXPECT_EQ(Win32SerialPort::lineErrorsOf(GetParam().commErrors).flags, GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, CommErrors,
    testing::Values(CommErrorRow{0, 0}, CommErrorRow{CE_OVERRUN, z5::LineErrors::Overrun},
                    CommErrorRow{CE_RXOVER, z5::LineErrors::InputOverflow},
                    CommErrorRow{CE_FRAME | CE_RXPARITY, z5::LineErrors::Framing | z5::LineErrors::Parity},
                    CommErrorRow{CE_BREAK | CE_TXFULL, z5::LineErrors::Break}),
    [](const auto &info) { return "errors" + std::to_string(info.param.commErrors); });

QCoreApplication &application() {
    static int argc = 1;
    static char name[] = "test_windows";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);   // for the whole run
    return *QCoreApplication::instance();
}

// Z5_TEST_ECHO_COM names a port whose far end sends back whatever it gets.
// Arrivals are told on the owner's thread as they come, without polling; a
// long write only queues, and leaves whole before the close.
TEST(Win32SerialPort, EchoedBytesAreToldAsTheyArrive) {
    const QString echo = qEnvironmentVariable("Z5_TEST_ECHO_COM");
    if (echo.isEmpty()) GTEST_SKIP() << "Z5_TEST_ECHO_COM not set";
    application();
    Win32SerialPort port;
    ASSERT_TRUE(port.open(echo)) << port.errorString().toStdString();
    QByteArray received;
    int arrivals = 0;
    bool onOwnersThread = true;
    port.setArrivalHandler([&] {
        ++arrivals;
        onOwnersThread = onOwnersThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        received += port.readAll();
    });
    const auto await = [&](qsizetype size) {
        const QDeadlineTimer deadline(10000);
        while (received.size() < size && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    };
    QByteArray block;
    for (int i = 0; i < 16824; ++i) block += char(i * 7);
    const QByteArray frame = block.left(260);
    ASSERT_TRUE(port.write(frame));
    await(frame.size());
    EXPECT_EQ(received, frame);
    EXPECT_GE(arrivals, 1);
    EXPECT_TRUE(onOwnersThread);
    received.clear();
    ASSERT_TRUE(port.write(block));
    EXPECT_GE(port.bytesNotYetSent(), 0);
    await(block.size());
    EXPECT_EQ(received.size(), block.size());
    EXPECT_TRUE(received == block) << "every byte, in order";
    EXPECT_EQ(port.bytesNotYetSent(), 0);
    port.close();
    EXPECT_EQ(port.bytesDroppedAtClose(), 0);
    EXPECT_TRUE(port.errorString().isEmpty()) << port.errorString().toStdString();
    EXPECT_FALSE(port.write(frame)) << "a closed port takes nothing";
}

} // namespace
