// Loading the component folders: what is read, what is refused, and what the
// operator is told.
#include <gtest/gtest.h>
#include <unistd.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include "platform/com/class_table.h"
#include "platform/com/component_report.h"

using namespace zorv::com;
namespace fs = std::filesystem;

namespace {

class Folder {
public:
    explicit Folder(const std::string& name)
        : path_(fs::temp_directory_path() / ("zorv-loading-" + name + "-" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Folder() { fs::remove_all(path_); }

    void Write(const std::string& file, const std::string& text) const {
        std::ofstream(path_ / file, std::ios::binary) << text;
    }
    std::string Path(const std::string& file = {}) const {
        return file.empty() ? path_.string() : (path_ / file).string();
    }

private:
    fs::path path_;
};

// A class of the test server's library; `last` keeps each test's identifiers apart.
std::string ClassLine(int last, const std::string& progId) {
    char clsid[64];
    std::snprintf(clsid, sizeof clsid, "{6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E%02X}", last);
    return "class " + std::string(clsid) + " " + progId + "\n";
}

std::string Registration(const std::vector<std::string>& classLines) {
    std::string text = "library " + std::string(ZORV_TEST_SERVER_PATH) + "\n";
    for (const std::string& line : classLines)
        text += line;
    return text;
}

std::vector<std::string> ProblemsMentioning(const std::string& needle) {
    std::vector<std::string> found;
    for (const std::string& line : ComponentDiagnostics())
        if (line.find(needle) != std::string::npos)
            found.push_back(line);
    return found;
}

bool Serves(const char16_t* progId) {
    CLSID clsid;
    return FindClass(progId, &clsid) == S_OK;
}

#ifndef _WIN32
// Loads in a thread of its own, so that a read that blocks fails the test.
std::size_t LoadWithin(const Folder& folder, const std::string& fifo) {
    auto loading = std::async(std::launch::async, [&] { return LoadComponentFolder(folder.Path()); });
    if (loading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ::close(::open(folder.Path(fifo).c_str(), O_WRONLY | O_NONBLOCK)); // lets the reader go
        ADD_FAILURE() << "loading the folder blocks";
    }
    return loading.get();
}
#endif

} // namespace

// FIFOs and character devices are Linux's.
#ifndef _WIN32
TEST(ComponentLoading, OnlyRegularFilesOfABoundedSizeAreRead) {
    Folder folder("special");
    ASSERT_EQ(::mkfifo(folder.Path("fifo.classes").c_str(), 0666), 0);
    fs::create_symlink("/dev/zero", folder.Path("zero.classes"));
    fs::create_directory(folder.Path("folder.classes"));
    {
        std::ofstream big(folder.Path("big.classes"), std::ios::binary);
        big << Registration({ClassLine(0x10, "Zorv.Big")});
    }
    fs::resize_file(folder.Path("big.classes"), (std::size_t{1} << 20) + 1); // sparse, past the bound
    folder.Write("good.classes", Registration({ClassLine(0x11, "Zorv.Good")}));

    EXPECT_EQ(LoadWithin(folder, "fifo.classes"), 1u) << "the good file is still read";
    EXPECT_TRUE(Serves(u"Zorv.Good"));
    EXPECT_FALSE(Serves(u"Zorv.Big"));
    EXPECT_EQ(ProblemsMentioning("fifo.classes : illisible (ce n'est pas un fichier ordinaire)").size(), 1u);
    EXPECT_EQ(ProblemsMentioning("zero.classes : illisible (ce n'est pas un fichier ordinaire)").size(), 1u);
    EXPECT_EQ(ProblemsMentioning("folder.classes : illisible (c'est un dossier)").size(), 1u);
    EXPECT_EQ(ProblemsMentioning("big.classes : illisible (fichier trop volumineux (plus de 1 Mo))").size(),
              1u);
}
#endif

TEST(ComponentLoading, AProgIdTwoFilesDeclareIsServedByNeitherAndBothAreNamed) {
    Folder folder("twice");
    folder.Write("a_vendor.classes",
                 Registration({ClassLine(0x20, "Zorv.Twice"), ClassLine(0x21, "Zorv.OnlyA")}));
    folder.Write("b_ours.classes", Registration({ClassLine(0x22, "ZORV.TWICE")}));
    EXPECT_EQ(LoadComponentFolder(folder.Path()), 1u);
    EXPECT_FALSE(Serves(u"Zorv.Twice")) << "a script would get whichever object came first";
    EXPECT_TRUE(Serves(u"Zorv.OnlyA"));
    const auto problems = ProblemsMentioning("a_vendor.classes et par b_ours.classes");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("aucune des déclarations n'est retenue"), std::string::npos) << problems[0];
    const auto why = WhyProgIDUnavailable(u"zorv.twice");
    ASSERT_TRUE(why.has_value());
    EXPECT_NE(why->find("a_vendor.classes"), std::string::npos) << *why;
    EXPECT_NE(why->find("b_ours.classes"), std::string::npos) << *why;
}

TEST(ComponentLoading, AClassIdentifierTwoFilesDeclareIsServedByNeither) {
    Folder folder("sameclass");
    folder.Write("c_one.classes",
                 Registration({ClassLine(0x30, "Zorv.ByOne"), ClassLine(0x30, "Zorv.ByOne.1")}));
    folder.Write("d_two.classes", Registration({ClassLine(0x30, "Zorv.ByTwo")}));
    EXPECT_EQ(LoadComponentFolder(folder.Path()), 0u);
    for (const char16_t* progId : {u"Zorv.ByOne", u"Zorv.ByOne.1", u"Zorv.ByTwo"}) {
        EXPECT_FALSE(Serves(progId));
        const auto why = WhyProgIDUnavailable(progId);
        ASSERT_TRUE(why.has_value());
        EXPECT_NE(why->find("c_one.classes et par d_two.classes"), std::string::npos) << *why;
    }
}

TEST(ComponentLoading, WhatAnEarlierFolderServesIsNotTakenAgain) {
    Folder first("first");
    Folder second("second");
    first.Write("x.classes", Registration({ClassLine(0x40, "Zorv.Early")}));
    second.Write("y.classes", Registration({ClassLine(0x41, "Zorv.Early"), ClassLine(0x42, "Zorv.Late")}));
    EXPECT_EQ(LoadComponentFolder(first.Path()), 1u);
    EXPECT_EQ(LoadComponentFolder(second.Path()), 1u);
    CLSID clsid;
    ASSERT_EQ(FindClass(u"Zorv.Early", &clsid), S_OK);
    EXPECT_EQ(clsid.Data4[7], 0x40);
    EXPECT_EQ(ProblemsMentioning("Zorv.Early est déjà déclaré par " + first.Path("x.classes") +
                                 " : la déclaration de y.classes n'est pas retenue")
                  .size(),
              1u);
}

TEST(ComponentLoading, ALibraryNameCutShortByANulIsNotLoaded) {
    // Not "nul.classes": Windows reads that name as its null device.
    Folder folder("cut");
    const std::string cut = "library " + std::string(ZORV_TEST_SERVER_PATH) + std::string("\0.old", 5) + "\n";
    folder.Write("cut.classes", cut + ClassLine(0x50, "Zorv.Nul"));
    EXPECT_EQ(LoadComponentFolder(folder.Path()), 0u);
    EXPECT_FALSE(Serves(u"Zorv.Nul"));
    EXPECT_EQ(
        ProblemsMentioning("cut.classes:1 : le nom de la bibliothèque contient un caractère de contrôle")
            .size(),
        1u);
}

TEST(ComponentLoading, TheReportListsEachFolderWhatItServesAndEveryProblem) {
    Folder folder("report");
    folder.Write("fine.classes", Registration({ClassLine(0x60, "Zorv.Fine"), ClassLine(0x61, "Zorv.Fine2")}));
    folder.Write("lost.classes", "library libzorv-absent.so\n" + ClassLine(0x62, "Zorv.Lost"));
    LoadComponentFolder(folder.Path());
    const std::vector<std::string> lines = ComponentReportLines();
    const auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("Composants de « " + folder.Path() + " » :"));
    EXPECT_TRUE(has("  fine.classes (" + std::string(ZORV_TEST_SERVER_PATH) + ") : Zorv.Fine, Zorv.Fine2"));
    EXPECT_TRUE(has("Problèmes :"));
    EXPECT_TRUE(
        has("  lost.classes : la bibliothèque « " + folder.Path("libzorv-absent.so") + " » est introuvable"));
}
