// The script page and the script files: loading on selection, "Enregistrer"
// (bytes on disk, refusals, failed writes) and the preparation that follows.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/app_fixture.h"
#include "app/window_probe.h"
#include "support/ordinary_user.h"

using namespace zorv::testing;

class ScriptPage : public AppFixture {
protected:
    QString PathOf(const QString& displayName) { return QDir(scriptFolder.path()).filePath(displayName); }
    void WriteBytes(const QString& displayName, const QByteArray& bytes) {
        QFile file(PathOf(displayName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadBytes(const QString& displayName) {
        QFile file(PathOf(displayName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList FolderEntries() {
        return QDir(scriptFolder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    int Engines() { return scriptEngine->Log().created; }
    std::u16string LastAddedText() { return TextArgs(scriptEngine->Log(), u"addcode").back(); }
};

TEST_F(ScriptPage, AFileIsLoadedWithCrLfLineEndsAndSavedBackByteForByte) {
    struct Case {
        const char* what;
        QByteArray onDisk;
        QString shown; // the memo's text, CR LF line ends
        QByteArray saved;
    };
    const Case cases[] = {
        {"CR LF", "Sub A\r\n  MsgBox 1\r\nEnd Sub", QStringLiteral("Sub A\r\n  MsgBox 1\r\nEnd Sub"),
         "Sub A\r\n  MsgBox 1\r\nEnd Sub"},
        {"lone LF", "Sub A\n\nEnd Sub\n", QStringLiteral("Sub A\r\n\r\nEnd Sub\r\n"),
         "Sub A\r\n\r\nEnd Sub\r\n"},
        {"lone CR", "Sub A\rEnd Sub\r", QStringLiteral("Sub A\r\nEnd Sub\r\n"), "Sub A\r\nEnd Sub\r\n"},
        {"mixed", "a\rb\nc\r\nd\n\re", QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne"),
         "a\r\nb\r\nc\r\nd\r\n\r\ne"},
        {"Windows-1252", "' \xE9t\xE9 \x80 \x9C\xA0uvre\r\n", QStringLiteral("' été € œ\u00A0uvre\r\n"),
         "' \xE9t\xE9 \x80 \x9C\xA0uvre\r\n"},
        {"empty", "", QString(), ""},
    };
    Install(kAllProgIds);
    auto& window = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(QStringLiteral("MSR"), c.onDisk);
        Choose(window, QStringLiteral("MSR"));
        EXPECT_EQ(window.ScriptText(), c.shown);
        EXPECT_EQ(LastAddedText(), c.shown.toStdU16String()) << "the engine gets what is shown";
        QFile::remove(PathOf(QStringLiteral("MSR")));
        const int engines = Engines();
        window.BtnEnregistrer->click();
        EXPECT_EQ(ReadBytes(QStringLiteral("MSR")), c.saved);
        EXPECT_EQ(Engines(), engines + 1) << "a save prepares the engine again";
        EXPECT_EQ(LastAddedText(), c.shown.toStdU16String());
    }
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("MSR")}) << "nothing else is left in the folder";
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ScriptPage, TextTypedInTheMemoIsSavedWithCrLfAndItsAccents) {
    Install(kAllProgIds);
    auto& window = Start();
    Choose(window, QStringLiteral("Printer"));
    window.MmScript->setPlainText(
        QStringLiteral("Sub Reçu\n  Printer.PrintNormal 2, \"Total : 5 €\"\nEnd Sub"));
    window.BtnEnregistrer->click();
    EXPECT_EQ(ReadBytes(QStringLiteral("Printer")),
              QByteArray("Sub Re\xE7u\r\n  Printer.PrintNormal 2, \"Total : 5 \x80\"\r\nEnd Sub"));
    EXPECT_EQ(ReadBytes(QStringLiteral("Scanner")), QByteArray("<missing>"))
        << "named by the current kind only";
}

TEST_F(ScriptPage, TextTheCodePageCannotHoldIsRefusedNamingItsCharacterAndLine) {
    struct Case {
        QString text;
        QString character;
        int line;
    };
    const Case cases[] = {
        {QStringLiteral("Sub A\n  ' a → b\nEnd Sub"), QStringLiteral("→"), 2},
        {QStringLiteral("' ok\n\n\nMsgBox \"😀\""), QStringLiteral("😀"), 4},
        {QStringLiteral("' Ω"), QStringLiteral("Ω"), 1},
    };
    Install(kAllProgIds);
    auto& window = Start();
    WriteBytes(QStringLiteral("Scanner"), "' previous\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        window.MmScript->setPlainText(c.text);
        const int engines = Engines();
        const auto reports = Reports().size();
        window.BtnEnregistrer->click();
        ASSERT_EQ(Reports().size(), reports + 1);
        const QString report = QString::fromStdU16String(Reports().back());
        EXPECT_TRUE(report.contains(c.character)) << report.toStdString();
        EXPECT_TRUE(report.contains(QStringLiteral("ligne %1").arg(c.line))) << report.toStdString();
        EXPECT_EQ(ReadBytes(QStringLiteral("Scanner")), QByteArray("' previous\r\n")) << "the file is kept";
        EXPECT_EQ(Engines(), engines) << "no preparation follows";
    }
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("Scanner")});
}

TEST_F(ScriptPage, AWriteThatFailsLeavesNothingBehindAndPreparesNothing) {
    Install(kAllProgIds);
    auto& window = Start();
    ASSERT_TRUE(QDir(scriptFolder.path()).mkdir(QStringLiteral("Keylock")));
    Choose(window, QStringLiteral("Keylock"));
    EXPECT_EQ(window.ScriptText(), QString()) << "a folder is no script";
    window.MmScript->setPlainText(QStringLiteral("Sub A\nEnd Sub"));
    const int engines = Engines();
    window.BtnEnregistrer->click();
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_TRUE(QString::fromStdU16String(Reports()[0]).contains(QStringLiteral("Keylock")));
    EXPECT_EQ(Engines(), engines);
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("Keylock"))).isDir());
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("Keylock")}) << "no temporary file is left";
}

TEST_F(ScriptPage, ASelectionDiscardsUnsavedTextAndReloadsTheFile) {
    Install(kAllProgIds);
    WriteBytes(QStringLiteral("Scanner"), "' scanner\r\n");
    auto& window = Start();
    ASSERT_EQ(window.ScriptText(), QStringLiteral("' scanner\r\n"));

    window.MmScript->setPlainText(QStringLiteral("' edited"));
    Choose(window, QStringLiteral("Scanner"));
    EXPECT_EQ(window.ScriptText(), QStringLiteral("' scanner\r\n")) << "the current kind again reloads";

    window.MmScript->setPlainText(QStringLiteral("' edited"));
    Choose(window, QStringLiteral("CashDrawer"));
    EXPECT_EQ(window.ScriptText(), QString()) << "a kind without a file shows an empty memo";
    EXPECT_EQ(LastAddedText(), u"") << "and is still prepared";
    Choose(window, QStringLiteral("Scanner"));
    EXPECT_EQ(window.ScriptText(), QStringLiteral("' scanner\r\n"));
    EXPECT_EQ(ReadBytes(QStringLiteral("Scanner")), QByteArray("' scanner\r\n"));
    EXPECT_TRUE(Reports().empty());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ScriptPage, AUtf8FileWithAByteOrderMarkIsShownAsTheRunnerReadsItAndSavedBackTheSameWay) {
    Install(kAllProgIds);
    auto& window = Start();
    WriteBytes(QStringLiteral("MSR"), "\xEF\xBB\xBF' \xC3\xA9t\xC3\xA9 \xE2\x86\x92\r\nSub A\r\nEnd Sub");
    Choose(window, QStringLiteral("MSR"));
    EXPECT_EQ(window.ScriptText(), QStringLiteral("' été →\r\nSub A\r\nEnd Sub")) << "no ï»¿ in front";
    EXPECT_EQ(LastAddedText(), u"' été →\r\nSub A\r\nEnd Sub");
    EXPECT_TRUE(window.ScriptEnabled()) << "the text compiles as the runner's would";
    window.MmScript->setPlainText(QStringLiteral("' été → €"));
    window.BtnEnregistrer->click();
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(ReadBytes(QStringLiteral("MSR")),
              QByteArray("\xEF\xBB\xBF' \xC3\xA9t\xC3\xA9 \xE2\x86\x92 \xE2\x82\xAC"));

    Choose(window, QStringLiteral("Keylock")); // no file: Windows-1252, as always
    window.MmScript->setPlainText(QStringLiteral("' €"));
    window.BtnEnregistrer->click();
    EXPECT_EQ(ReadBytes(QStringLiteral("Keylock")), QByteArray("' \x80"));
}

TEST_F(ScriptPage, AFileThatExistsButCannotBeReadIsNotReplacedByWhatWasTyped) {
    Install(kAllProgIds);
    auto& window = Start();
    // Root reads any file: a folder stands for a file it cannot read.
    ASSERT_TRUE(QDir(scriptFolder.path()).mkdir(QStringLiteral("Printer")));
    ASSERT_TRUE(QFile(PathOf(QStringLiteral("Printer/keep"))).open(QIODevice::WriteOnly));
    Choose(window, QStringLiteral("Printer"));
    EXPECT_EQ(window.ScriptText(), QString()) << "still silent when loading";
    EXPECT_TRUE(ui.Messages().empty());
    window.MmScript->setPlainText(QStringLiteral("' typed"));
    const int engines = Engines();
    window.BtnEnregistrer->click();
    ASSERT_EQ(Reports().size(), 1u);
    const QString report = QString::fromStdU16String(Reports()[0]);
    EXPECT_TRUE(report.startsWith(QStringLiteral("Le script n'a pas été enregistré")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(PathOf(QStringLiteral("Printer")))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("c'est un dossier"))) << report.toStdString();
    EXPECT_EQ(Engines(), engines);
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("Printer/keep"))));
}

TEST_F(ScriptPage, AFileTheUserMayNotReadIsNotReplacedByWhatWasTyped) {
    Install(kAllProgIds);
    auto& window = Start();
    WriteBytes(QStringLiteral("Scanner"), "' the only copy\r\n");
    ASSERT_TRUE(QFile::setPermissions(PathOf(QStringLiteral("Scanner")),
                                      QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
    ASSERT_TRUE(QFile::setPermissions(scriptFolder.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
    {
        AsOrdinaryUser user;
        if (!user.Active())
            GTEST_SKIP() << "root may not switch to an ordinary user here, so no file is unreadable to it";
        Choose(window, QStringLiteral("Scanner"));
        window.MmScript->setPlainText(QStringLiteral("' typed"));
        window.BtnEnregistrer->click();
    }
    ASSERT_TRUE(
        QFile::setPermissions(PathOf(QStringLiteral("Scanner")), QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(ReadBytes(QStringLiteral("Scanner")), QByteArray("' the only copy\r\n"));
    ASSERT_EQ(Reports().size(), 1u);
    const QString report = QString::fromStdU16String(Reports()[0]);
    EXPECT_TRUE(report.contains(QStringLiteral("permission refusée"))) << report.toStdString();
    EXPECT_TRUE(report.contains(PathOf(QStringLiteral("Scanner")))) << report.toStdString();
}

TEST_F(ScriptPage, AWritableFileInAFolderThatRefusesNewFilesIsSavedInPlace) {
    Install(kAllProgIds);
    auto& window = Start();
    WriteBytes(QStringLiteral("CashDrawer"), "' old\r\n");
    const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
                          QFile::ReadOther | QFile::WriteOther;
    ASSERT_TRUE(QFile::setPermissions(PathOf(QStringLiteral("CashDrawer")), everyone));
    ASSERT_TRUE(QFile::setPermissions(scriptFolder.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                               QFile::ReadGroup | QFile::ExeGroup |
                                                               QFile::ReadOther | QFile::ExeOther));
    {
        AsOrdinaryUser user;
        if (!user.Active())
            GTEST_SKIP() << "root may not switch to an ordinary user here, and root may write in any folder";
        Choose(window, QStringLiteral("CashDrawer"));
        window.MmScript->setPlainText(QStringLiteral("' new"));
        window.BtnEnregistrer->click();
    }
    ASSERT_TRUE(
        QFile::setPermissions(scriptFolder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_TRUE(Reports().empty())
        << QString::fromStdU16String(Reports().empty() ? u"" : Reports()[0]).toStdString();
    EXPECT_EQ(ReadBytes(QStringLiteral("CashDrawer")), QByteArray("' new"));
    EXPECT_EQ(FolderEntries(), QStringList{QStringLiteral("CashDrawer")});
}
