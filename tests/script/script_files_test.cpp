// The script files on disk: line ends, reading, and saves that replace the
// whole file or leave it untouched.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <future>

#include "script/script_files.h"
#include "support/ordinary_user.h"

using namespace zorv::script;

namespace {

class ScriptFiles : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList Entries() const {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
};

} // namespace

TEST(ScriptLineEnds, LoneCrAndLoneLfBecomeCrLf) {
    struct Case {
        QString in, out;
    };
    const Case cases[] = {
        {"", ""},
        {"a", "a"},
        {"a\r\nb", "a\r\nb"},
        {"a\nb", "a\r\nb"},
        {"a\rb", "a\r\nb"},
        {"a\n", "a\r\n"},
        {"a\r", "a\r\n"},
        {"\n\r", "\r\n\r\n"},
        {"\r\r\n\n", "\r\n\r\n\r\n"},
        {"\r\n\r\n", "\r\n\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithCrLfLineEnds(c.in), c.out) << c.in.toStdString();
}

TEST(ScriptFolder, NamesTheFileByTheDisplayNameWithoutExtension) {
    SetScriptFolder(QStringLiteral("/tmp/zorv"));
    EXPECT_EQ(ScriptFolder(), QStringLiteral("/tmp/zorv/"));
    EXPECT_EQ(ScriptFilePath(QStringLiteral("MSR")), QStringLiteral("/tmp/zorv/MSR"));
    SetScriptFolder(QStringLiteral("/tmp/zorv/"));
    EXPECT_EQ(ScriptFilePath(QStringLiteral("CashDrawer")), QStringLiteral("/tmp/zorv/CashDrawer"));
    SetScriptFolder(QString());
}

TEST_F(ScriptFiles, ReadingDecodesWindows1252WithCrLfAndIsSilentWhenThereIsNoFile) {
    Write(QStringLiteral("Scanner"), "' \xE9t\xE9\x80\nMsgBox 1\r");
    const ScriptFileContent scanner = ReadScriptFile(Path(QStringLiteral("Scanner")));
    EXPECT_EQ(scanner.text, QStringLiteral("' été€\r\nMsgBox 1\r\n"));
    EXPECT_EQ(scanner.origin.encoding, ScriptEncoding::Windows1252);
    EXPECT_TRUE(scanner.origin.unreadable.isEmpty());
    Write(QStringLiteral("Printer"), "");
    EXPECT_EQ(ReadScriptFile(Path(QStringLiteral("Printer"))).text, QString());
    const ScriptFileContent missing = ReadScriptFile(Path(QStringLiteral("Keylock")));
    EXPECT_EQ(missing.text, QString());
    EXPECT_TRUE(missing.origin.unreadable.isEmpty()) << "a missing file is no problem";
}

TEST_F(ScriptFiles, AUtf8FileWithAByteOrderMarkIsReadAsUtf8AndWrittenBackTheSameWay) {
    Write(QStringLiteral("MSR"), "\xEF\xBB\xBFSub \xC3\xA9t\xC3\xA9\nEnd Sub");
    const ScriptFileContent content = ReadScriptFile(Path(QStringLiteral("MSR")));
    EXPECT_EQ(content.text, QStringLiteral("Sub été\r\nEnd Sub")) << "no ï»¿ in front";
    ASSERT_EQ(content.origin.encoding, ScriptEncoding::Utf8WithMark);
    ScriptFileOrigin origin = content.origin;
    WriteScriptFile(Path(QStringLiteral("MSR")), QStringLiteral("' a → b €\r\n"), origin);
    EXPECT_EQ(Read(QStringLiteral("MSR")), QByteArray("\xEF\xBB\xBF' a \xE2\x86\x92 b \xE2\x82\xAC\r\n"));
    ScriptFileOrigin plain;
    WriteScriptFile(Path(QStringLiteral("MSR")), QStringLiteral("' €"), plain);
    EXPECT_EQ(Read(QStringLiteral("MSR")), QByteArray("' \x80")) << "Windows-1252 otherwise, with no mark";
}

TEST_F(ScriptFiles, ASaveCreatesOrReplacesTheWholeFileWithNothingAdded) {
    WriteScriptFile(Path(QStringLiteral("MSR")), QStringLiteral("Sub A\r\n' œuvre €\r\nEnd Sub"));
    EXPECT_EQ(Read(QStringLiteral("MSR")), QByteArray("Sub A\r\n' \x9Cuvre \x80\r\nEnd Sub"));
    WriteScriptFile(Path(QStringLiteral("MSR")), QStringLiteral("x"));
    EXPECT_EQ(Read(QStringLiteral("MSR")), QByteArray("x")) << "no tail of the longer file";
    WriteScriptFile(Path(QStringLiteral("MSR")), QString());
    EXPECT_EQ(Read(QStringLiteral("MSR")), QByteArray());
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("MSR")});
}

TEST_F(ScriptFiles, TextOutsideTheCodePageIsRefusedAndTheFileKept) {
    Write(QStringLiteral("MSR"), "old\r\n");
    try {
        WriteScriptFile(Path(QStringLiteral("MSR")), QStringLiteral("a\r\nb\r\nc → d"));
        FAIL() << "saved";
    } catch (const ScriptFileError& error) {
        const QString text = QString::fromUtf8(error.what());
        EXPECT_TRUE(text.contains(QStringLiteral("→"))) << error.what();
        EXPECT_TRUE(text.contains(QStringLiteral("U+2192"))) << error.what();
        EXPECT_TRUE(text.contains(QStringLiteral("ligne 3"))) << error.what();
    }
    EXPECT_EQ(Read(QStringLiteral("MSR")), QByteArray("old\r\n"));
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("MSR")});
}

TEST_F(ScriptFiles, AWriteThatFailsThrowsAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Keylock")));
    EXPECT_THROW(WriteScriptFile(Path(QStringLiteral("Keylock")), QStringLiteral("x")), ScriptFileError);
    EXPECT_THROW(WriteScriptFile(Path(QStringLiteral("absent/Keylock")), QStringLiteral("x")),
                 ScriptFileError);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("Keylock")});
    EXPECT_TRUE(QDir(Path(QStringLiteral("Keylock"))).isEmpty());
}

namespace {

// What stands where a script file should be, and makes it unreadable.
struct Unreadable {
    const char* what;
    const char* reason;
    std::function<void(const QString& path)> make;
};

const Unreadable kUnreadable[] = {
    {"a folder", "c'est un dossier", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
    {"a FIFO", "pas un fichier ordinaire",
     [](const QString& path) { ASSERT_EQ(::mkfifo(path.toUtf8().constData(), 0666), 0); }},
    {"a file over the bound", "trop volumineux",
     [](const QString& path) {
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         ASSERT_TRUE(file.resize(static_cast<qint64>(kMaxScriptFileBytes) + 1)); // sparse: costs nothing
     }},
};

} // namespace

TEST_F(ScriptFiles, AFileThatExistsButCannotBeReadIsNeverReplacedBySaving) {
    for (const Unreadable& c : kUnreadable) {
        SCOPED_TRACE(c.what);
        const QString path = Path(QStringLiteral("Scanner"));
        c.make(path);
        // A FIFO with no writer would block a plain read for ever.
        auto reading = std::async(std::launch::async, [&] { return ReadScriptFile(path); });
        if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ::close(::open(path.toUtf8().constData(), O_WRONLY | O_NONBLOCK)); // lets the reader go
            FAIL() << "the read blocks";
        }
        ScriptFileContent content = reading.get();
        EXPECT_EQ(content.text, QString());
        EXPECT_TRUE(content.origin.unreadable.contains(QString::fromUtf8(c.reason)))
            << content.origin.unreadable.toStdString();
        try {
            WriteScriptFile(path, QStringLiteral("' typed"), content.origin);
            ADD_FAILURE() << "saved over it";
        } catch (const ScriptFileError& error) {
            const QString text = QString::fromUtf8(error.what());
            EXPECT_TRUE(text.contains(path)) << error.what();
            EXPECT_TRUE(text.contains(QString::fromUtf8(c.reason))) << error.what();
        }
        EXPECT_EQ(Entries(), QStringList{QStringLiteral("Scanner")}) << "untouched, nothing left beside it";

        // Renamed away by the operator: the save goes through, and the next one too.
        ASSERT_TRUE(QDir(folder.path()).rename(QStringLiteral("Scanner"), QStringLiteral("Scanner.old")));
        WriteScriptFile(path, QStringLiteral("' typed"), content.origin);
        WriteScriptFile(path, QStringLiteral("' again"), content.origin);
        EXPECT_EQ(Read(QStringLiteral("Scanner")), QByteArray("' again"));
        QFile::remove(path);
        QFile::remove(Path(QStringLiteral("Scanner.old")));
        QDir(Path(QStringLiteral("Scanner.old"))).removeRecursively();
    }
}

TEST_F(ScriptFiles, AFileTheUserMayNotReadIsRememberedAndNotReplaced) {
    Write(QStringLiteral("Printer"), "' secret\r\n");
    const QString path = Path(QStringLiteral("Printer"));
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                         QFile::ReadGroup | QFile::ExeGroup |
                                                         QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
    ScriptFileContent content;
    {
        zorv::testing::AsOrdinaryUser user;
        if (!user.Active())
            GTEST_SKIP() << "root may not switch to an ordinary user here, so no file is unreadable to it";
        content = ReadScriptFile(path);
        EXPECT_THROW(WriteScriptFile(path, QStringLiteral("' typed"), content.origin), ScriptFileError);
    }
    EXPECT_EQ(content.origin.unreadable, QStringLiteral("permission refusée"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(Read(QStringLiteral("Printer")), QByteArray("' secret\r\n"));
}

TEST_F(ScriptFiles, AFolderThatRefusesNewFilesStillLetsAWritableFileBeSavedInPlace) {
    Write(QStringLiteral("Keylock"), "' old, longer than the new text\r\n");
    const QString path = Path(QStringLiteral("Keylock"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther));
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                         QFile::ExeGroup | QFile::ReadOther |
                                                         QFile::ExeOther));
    std::string refusal;
    {
        zorv::testing::AsOrdinaryUser user;
        if (!user.Active())
            GTEST_SKIP() << "root may not switch to an ordinary user here, and root may write in any folder";
        EXPECT_THROW(WriteScriptFile(path, QStringLiteral("' →")), ScriptFileError)
            << "refused before writing";
        WriteScriptFile(path, QStringLiteral("' new é"));
        try {
            WriteScriptFile(Path(QStringLiteral("MSR")), QStringLiteral("' new"));
        } catch (const ScriptFileError& error) {
            refusal = error.what();
        }
    }
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_EQ(Read(QStringLiteral("Keylock")), QByteArray("' new \xE9"));
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("Keylock")});
    EXPECT_NE(refusal.find("permission refusée"), std::string::npos)
        << "a new file needs the folder: " << refusal;
}

TEST_F(ScriptFiles, WriteErrorsAreGivenInFrench) {
    struct Case {
        QString path;
        const char* reason;
    };
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("LineDisplay")));
    const Case cases[] = {
        {Path(QStringLiteral("absent/Scanner")), "fichier ou dossier introuvable"},
        {Path(QStringLiteral("LineDisplay")), "c'est un dossier"},
    };
    for (const Case& c : cases) {
        try {
            WriteScriptFile(c.path, QStringLiteral("x"));
            ADD_FAILURE() << "saved to " << c.path.toStdString();
        } catch (const ScriptFileError& error) {
            EXPECT_EQ(QString::fromUtf8(error.what()),
                      QStringLiteral("Impossible d'enregistrer le script « %1 » : %2").arg(c.path, c.reason));
        }
    }
}
