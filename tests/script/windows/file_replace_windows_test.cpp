// Replacing a script file's content on Windows: the whole file or nothing,
// its attributes kept, no temporary file left behind, errors in French.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "script/file_replace.h"

namespace fs = std::filesystem;
using zorv::script::ReplaceFileContent;

namespace {

class FileReplace : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("zorv-replace-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    fs::path Path(const std::wstring& name) const { return folder_ / name; }
    static std::string Utf8(const fs::path& path) {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }
    static std::string Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }

    fs::path folder_;
};

TEST_F(FileReplace, CreatesThenReplacesTheWholeFileUnderAnyName) {
    const fs::path file = Path(L"Lecteur caf\u00e9 \u20ac");
    EXPECT_EQ(ReplaceFileContent(Utf8(file), "Sub A\r\nEnd Sub\r\n"), "");
    EXPECT_EQ(Read(file), "Sub A\r\nEnd Sub\r\n");
    EXPECT_EQ(ReplaceFileContent(Utf8(file), "x"), "");
    EXPECT_EQ(Read(file), "x") << "no tail of the longer content";
    EXPECT_EQ(ReplaceFileContent(Utf8(file), ""), "");
    EXPECT_EQ(Read(file), "");
    EXPECT_EQ(Entries(), 1u) << "no temporary file left";
}

TEST_F(FileReplace, TheReplacedFileKeepsItsAttributes) {
    const fs::path file = Path(L"Scanner");
    Write(file, "old");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(ReplaceFileContent(Utf8(file), "new"), "");
    EXPECT_EQ(Read(file), "new");
    EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileReplace, AFileAnotherProgramHoldsIsKeptWhole) {
    const fs::path file = Path(L"Printer");
    Write(file, "old");
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::string why = ReplaceFileContent(Utf8(file), "new");
    CloseHandle(held);
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(Read(file), "old");
    EXPECT_EQ(Entries(), 1u) << "the new content's file is taken away again";
}

TEST_F(FileReplace, ErrorsAreGivenInFrench) {
    fs::create_directory(Path(L"LineDisplay"));
    EXPECT_EQ(ReplaceFileContent(Utf8(Path(L"LineDisplay")), "x"), "c'est un dossier");
    EXPECT_EQ(ReplaceFileContent(Utf8(Path(L"absent") / L"Scanner"), "x"), "fichier ou dossier introuvable");
    EXPECT_EQ(Entries(), 1u);
    EXPECT_TRUE(fs::is_empty(Path(L"LineDisplay")));
}

} // namespace
