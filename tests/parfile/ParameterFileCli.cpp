#include "model/ParameterStore.h"
#include "parfile/ParameterFileWriter.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

struct CliRun {
    int code;
    QString err;
};

CliRun z5ctl(const QStringList &args, const QString &verb = QStringLiteral("params")) {
    QProcess p;
    p.start(QStringLiteral(Z5CTL_PATH), QStringList{verb} + args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

TEST(ParameterFileCli, NewWritesAnEmptyStoreAndInOutNormalises) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.par");
    CliRun r = z5ctl({"--new", "--out", a, "--decimal", ","});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(a), z5::ParameterFileWriter::write(z5::ParameterStore(), QLatin1Char(',')));

    z5::ParameterStore store;
    store.numbersPID.setValue(0, 0, -0.5f);
    QByteArray messy = z5::ParameterFileWriter::write(store, QLatin1Char(','));
    messy.replace("-0,5 ", "   -0,50");
    const QString in = dir.filePath("messy.par");
    const QString out = dir.filePath("clean.par");
    ASSERT_TRUE(writeAll(in, messy));
    r = z5ctl({"--in", in, "--out", out, "--decimal", ","});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(out), z5::ParameterFileWriter::write(store, QLatin1Char(',')));
}

TEST(ParameterFileCli, FaultsGoToStandardErrorAndWriteNothing) {
    QTemporaryDir dir;
    const QString in = dir.filePath("short.par");
    const QString out = dir.filePath("out.par");
    ASSERT_TRUE(writeAll(in, "header\r\n 1 \r\n"));
    CliRun r = z5ctl({"--in", in, "--out", out, "--decimal", "."});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Файл параметров обрывается: нет строки 3 из 4149. Параметры не изменены."));
    EXPECT_FALSE(QFile::exists(out));

    r = z5ctl({"--new", "--out", dir.filePath("no/such/dir/x.par")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Файл заблокирован!!!\nПапка не существует."));

    EXPECT_EQ(z5ctl({"--out", out}).code, 64);
    EXPECT_EQ(z5ctl({"--new", "--in", in, "--out", out}).code, 64);
    EXPECT_EQ(z5ctl({"--new", "--out", out, "--decimal", "ab"}).code, 64);
}

TEST(ParameterFileCli, TablesTakeTheParametersFromTheFile) {
    QTemporaryDir dir;
    z5::ParameterStore store;
    store.numbersS_P.setValue(0, 7, 1.5f);   // U14 is S_P instance 1
    store.setpointNames.setValue(0, 8, QStringLiteral("Задание"));
    const QString par = dir.filePath("p.par");
    ASSERT_TRUE(writeAll(par, z5::ParameterFileWriter::write(store, QLatin1Char('.'))));
    const QString netlist = QStringLiteral(Z5_EXAMPLES "/boiler.net");
    const QString out = dir.filePath("tables");
    CliRun r = z5ctl({netlist, "--out", out, "--params", par, "--decimal", "."}, QStringLiteral("tables"));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray t12 = readAll(out + "/table-12-U14.bin");
    ASSERT_EQ(t12.size(), 32);
    EXPECT_EQ(t12.right(4), QByteArray::fromHex("DC050000"));
    EXPECT_EQ(readAll(out + "/table-10.bin").size(), 16824);
    EXPECT_EQ(readAll(out + "/table-05.bin").mid(8 * 17, 7), QByteArray("\xC7\xE0\xE4\xE0\xED\xE8\xE5"));
    EXPECT_EQ(readAll(out + "/table-11.bin"), QByteArray(320, ' '));

    store.numbersPID.setValue(0, 1, 3e6f);
    ASSERT_TRUE(writeAll(par, z5::ParameterFileWriter::write(store, QLatin1Char('.'))));
    const QString out2 = dir.filePath("tables2");
    r = z5ctl({netlist, "--out", out2, "--params", par, "--decimal", "."}, QStringLiteral("tables"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Ошибка параметра\nPID 1, «КП 1»: 3000000"));
    EXPECT_FALSE(QFile::exists(out2));
}

TEST(ParameterFileCli, RefusedInputsAndTargetsExitWithAReasonAndWriteNothing) {
    QTemporaryDir dir;
    const QString netlist = QStringLiteral(Z5_EXAMPLES "/boiler.net");
    const QString out = dir.filePath("b.par");
    for (const char *separator : {"5", ";", ".."}) {
        const CliRun r = z5ctl({"--new", "--out", out, "--decimal", separator});
        EXPECT_EQ(r.code, 64) << separator;
        EXPECT_EQ(r.err.section(QLatin1Char('\n'), 0, 0), QStringLiteral("z5ctl params: --decimal is \".\" or \",\"")) << separator;
        EXPECT_EQ(z5ctl({netlist, "--out", dir.filePath("t"), "--decimal", separator}, QStringLiteral("tables")).code, 64);
    }
    EXPECT_FALSE(QFile::exists(out));

    // An endless netlist is refused at its bound, not read until memory runs out.
    CliRun r = z5ctl({"/dev/zero", "--out", dir.filePath("t")}, QStringLiteral("tables"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Ошибка netLIST файл больше 16 МиБ"));

    // A table name taken by a fifo stops the run before any table is written.
    const QString tables = dir.filePath("t");
    ASSERT_TRUE(QDir().mkpath(tables));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tables + "/table-05.bin").constData(), 0600), 0);
    r = z5ctl({netlist, "--out", tables}, QStringLiteral("tables"));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("канал (fifo), а не обычный файл"))) << r.err.toStdString();
    EXPECT_EQ(QDir(tables).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot), QStringList{"table-05.bin"});

    // A parameter file saved over a device leaves the device alone.
    r = z5ctl({"--new", "--out", "/dev/null"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Файл заблокирован!!!\n/dev/null — символьное устройство, а не обычный файл; "
                                    "записывать в него нельзя."));
}

// A disk that fills up halfway through the tables leaves every old table as it was.
TEST(ParameterFileCli, TablesAreReplacedAllOrNone) {
    QTemporaryDir dir;
    const QString netlist = QStringLiteral(Z5_EXAMPLES "/boiler.net");
    const QString tables = dir.filePath("t");
    ASSERT_EQ(z5ctl({netlist, "--out", tables}, QStringLiteral("tables")).code, 0);
    const QStringList names = QDir(tables).entryList(QDir::Files);
    ASSERT_GE(names.size(), 12);
    for (const QString &n : names) ASSERT_TRUE(writeAll(QDir(tables).filePath(n), "old"));

    QProcess p;
    p.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{1024, 1024};
        setrlimit(RLIMIT_FSIZE, &small);
    });
    p.start(QStringLiteral(Z5CTL_PATH), {QStringLiteral("tables"), netlist, QStringLiteral("--out"), tables});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("Файл слишком велик."))) << err.toStdString();
    EXPECT_EQ(QDir(tables).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), names)
        << "nothing left beside the tables";
    for (const QString &n : names) EXPECT_EQ(readAll(QDir(tables).filePath(n)), QByteArray("old")) << n.toStdString();
}
