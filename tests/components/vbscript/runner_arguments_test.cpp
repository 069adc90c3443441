// zorv-vbs given what is not a script file, and zorv-vbs --components.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string output; // stdout then stderr, as they came
};

// Bounded in time, so that a runner that blocks fails instead of hanging the suite.
Outcome RunRunner(const std::string& arguments, const std::string& runner = ZORV_VBS_PATH) {
    const std::string command = "timeout 30 '" + runner + "' " + arguments + " 2>&1 </dev/null";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    std::array<char, 4096> buffer;
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        outcome.output.append(buffer.data(), n);
    const int raw = ::pclose(pipe);
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return outcome;
}

class Scratch {
public:
    Scratch() : path_(fs::temp_directory_path() / ("zorv-runner-args-" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Scratch() { fs::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

} // namespace

TEST(RunnerArguments, WhatIsNotARegularFileOfABoundedSizeIsRefusedWithStatusTwo) {
    Scratch scratch;
    fs::create_directory(scratch / "folder.vbs");
    ASSERT_EQ(::mkfifo((scratch / "fifo.vbs").c_str(), 0666), 0);
    { std::ofstream(scratch / "big.vbs") << "MsgBox 1\n"; }
    fs::resize_file(scratch / "big.vbs", (std::size_t{64} << 20) + 1); // sparse: costs nothing
    struct Case {
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {scratch / "folder.vbs", "c'est un dossier"},
        {scratch / "fifo.vbs", "ce n'est pas un fichier ordinaire"},
        {"/dev/zero", "ce n'est pas un fichier ordinaire"},
        {scratch / "big.vbs", "fichier trop volumineux (plus de 64 Mo)"},
        {scratch / "absent.vbs", "fichier introuvable"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunRunner("'" + c.file + "'");
        EXPECT_EQ(outcome.status, 2) << c.file << ": " << outcome.output;
        EXPECT_EQ(outcome.output, "zorv-vbs: impossible de lire " + c.file + " : " + c.reason + "\n");
    }
}

TEST(RunnerArguments, ComponentsListsWhatWasLoadedAndSaysWhenNothingWentWrong) {
    const Outcome outcome = RunRunner("--components");
    EXPECT_EQ(outcome.status, 0) << outcome.output;
    const std::string folder = fs::path(ZORV_VBS_PATH).parent_path().string() + "/components";
    EXPECT_NE(outcome.output.find("Composants de « " + folder + " » :\n"), std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find(
                  "  zorv_vbscript.classes (libzorv_vbscript.so) : ScriptControl, VBScript.RegExp\n"),
              std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find("\nProblèmes : aucun\n"), std::string::npos) << outcome.output;
}

TEST(RunnerArguments, ComponentsPrintsEachProblemAndFails) {
    // A copy of the runner with a components folder of its own beside it.
    Scratch scratch;
    const std::string runner = scratch / "zorv-vbs";
    fs::copy_file(ZORV_VBS_PATH, runner);
    fs::create_directory(scratch / "components");
    {
        std::ofstream(scratch / "components/a.classes")
            << "library liba.so\nclass {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E70} Zorv.A\n";
    }
    {
        std::ofstream(scratch / "components/b.classes")
            << "library libb.so\nclass {6B1E0C52-3A6F-4E55-9C51-1D2B9F0A7E71} zorv.a\n";
    }
    ASSERT_EQ(::mkfifo((scratch / "components/c.classes").c_str(), 0666), 0);
    const Outcome outcome = RunRunner("--components", runner);
    EXPECT_EQ(outcome.status, 1) << outcome.output;
    EXPECT_NE(outcome.output.find("  aucun\nProblèmes :\n"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("  Zorv.A : déclaré à la fois par a.classes et par b.classes"),
              std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find("  c.classes : illisible (ce n'est pas un fichier ordinaire)\n"),
              std::string::npos)
        << outcome.output;
}
