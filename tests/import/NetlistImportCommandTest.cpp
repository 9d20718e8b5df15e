#include "NetlistText.h"
#include "app/NetlistImportCommand.h"
#include "model/RecordingPrompts.h"
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace z5;

TEST(NetlistImportCommand, FailureIsShownAndCancelImportsTheLastFileAgain) {
    const QString dir = QDir::tempPath() + QStringLiteral("/z5-import-command");
    QDir().mkpath(dir);
    const QString good = dir + QStringLiteral("/good.net");
    const QString bad = dir + QStringLiteral("/bad.net");
    for (const auto &[path, text] :
         {std::pair{good, z5test::workedExample()}, std::pair{bad, z5test::workedExample("1_1", "1_1", "3_1")}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toLatin1());
    }

    NetlistImport import;
    RecordingPrompts prompts;
    NetlistImportCommand command(import, prompts);
    prompts.openNames = {good, QString(), bad};

    const ImportResult first = command.run(Numbering::Manual);
    EXPECT_TRUE(first.ok);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(command.folder(), QFileInfo(good).absolutePath());

    const ImportResult cancelled = command.run(Numbering::Manual);
    EXPECT_TRUE(cancelled.ok);
    EXPECT_TRUE(cancelled.project == first.project);

    const ImportResult failed = command.run(Numbering::Manual);
    EXPECT_FALSE(failed.ok);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.toStdString(), "Одинаковые номера приоритета 1 блоков U2 и U1");
    EXPECT_TRUE(failed.project == Project());
    QDir(dir).removeRecursively();
}
