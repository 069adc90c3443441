// The script files on disk: line ends, reading, and saves that replace the
// whole file or leave it untouched.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "script/script_files.h"

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
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
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
    EXPECT_EQ(ReadScriptFile(Path(QStringLiteral("Scanner"))), QStringLiteral("' été€\r\nMsgBox 1\r\n"));
    Write(QStringLiteral("Printer"), "");
    EXPECT_EQ(ReadScriptFile(Path(QStringLiteral("Printer"))), QString());
    EXPECT_EQ(ReadScriptFile(Path(QStringLiteral("Keylock"))), std::nullopt);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("MSR")));
    EXPECT_EQ(ReadScriptFile(Path(QStringLiteral("MSR"))), std::nullopt);
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
