// Runs every .vbs file of a folder tree through zorv-vbs and checks it
// against the expectations written in it:
//   ' expect: TEXT          the next line the script prints (MsgBox) is TEXT
//   ' expect error: TEXT    the script fails on this line with a description containing TEXT
//   ' expect column: N      ... and at this column of that line
//   ' stdin: TEXT           a line InputBox reads
//   ' options: ARGS         options given to zorv-vbs before the file (--timeout 200)
//   ' peak below: MB        the run's peak resident memory stays under MB MiB
//                           (not checked with --no-peak: sanitizers inflate it)
// With --through PROGRAM, zorv-vbs is started by PROGRAM (wine, for the
// Windows build).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Expectations {
    std::vector<std::string> output;
    std::string error;
    int errorLine = 0;
    int errorColumn = 0;
    std::vector<std::string> input;
    std::string options;
    long peakBelowMiB = 0;
};

std::string After(const std::string& line, const std::string& marker) {
    const auto at = line.find(marker);
    if (at == std::string::npos)
        return {};
    std::string rest = line.substr(at + marker.size());
    while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' '))
        rest.pop_back();
    return rest;
}

Expectations Read(const fs::path& file) {
    Expectations e;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.find("' expect error: ") != std::string::npos) {
            e.error = After(line, "' expect error: ");
            e.errorLine = number;
        } else if (line.find("' expect column: ") != std::string::npos) {
            e.errorColumn = std::atoi(After(line, "' expect column: ").c_str());
        } else if (line.find("' expect: ") != std::string::npos) {
            e.output.push_back(After(line, "' expect: "));
        } else if (line.find("' expect:") != std::string::npos) {
            e.output.push_back("");
        } else if (line.find("' options: ") != std::string::npos) {
            e.options = After(line, "' options: ");
        } else if (line.find("' peak below: ") != std::string::npos) {
            e.peakBelowMiB = std::stol(After(line, "' peak below: "));
        } else if (line.find("' stdin: ") != std::string::npos) {
            e.input.push_back(After(line, "' stdin: "));
        }
    }
    return e;
}

std::vector<std::string> Lines(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Outcome {
    int status = -1; // the exit status, -1 when killed
    long peakKiB = 0;
};

// Runs a shell command; its peak resident memory is that of the process the
// shell runs (wait4 counts the waited-for descendants too).
Outcome Run(const std::string& command) {
    Outcome outcome;
    const pid_t child = ::fork();
    if (child < 0)
        return outcome;
    if (child == 0) {
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int raw = 0;
    rusage usage{};
    if (::wait4(child, &raw, 0, &usage) != child)
        return outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.peakKiB = usage.ru_maxrss;
    return outcome;
}

bool checkPeaks = true;
std::string through;

// Answers an empty text when the script passes; what went wrong otherwise.
std::string Check(const std::string& runner, const fs::path& script, const fs::path& scratch) {
    const Expectations e = Read(script);
    const fs::path in = scratch / "in.txt";
    const fs::path out = scratch / "out.txt";
    const fs::path err = scratch / "err.txt";
    {
        std::ofstream input(in, std::ios::binary);
        for (const std::string& line : e.input)
            input << line << "\n";
    }
    const std::string start = through.empty() ? std::string() : "'" + through + "' ";
    const std::string command = start + "'" + runner + "' " + e.options + " '" + script.string() + "' < '" +
                                in.string() + "' > '" + out.string() + "' 2> '" + err.string() + "'";
    const Outcome outcome = Run(command);
    const int status = outcome.status;
    const std::vector<std::string> printed = Lines(out);
    const std::string errors = Slurp(err);
    std::ostringstream why;
    if (printed != e.output) {
        why << "  output differs\n";
        const std::size_t n = std::max(printed.size(), e.output.size());
        for (std::size_t i = 0; i < n; ++i) {
            const std::string want = i < e.output.size() ? e.output[i] : "(nothing)";
            const std::string got = i < printed.size() ? printed[i] : "(nothing)";
            if (want != got)
                why << "    line " << i + 1 << ": expected [" << want << "] got [" << got << "]\n";
        }
    }
    if (checkPeaks && e.peakBelowMiB > 0 && outcome.peakKiB >= e.peakBelowMiB * 1024)
        why << "  peak memory " << outcome.peakKiB / 1024 << " MiB, expected below " << e.peakBelowMiB
            << " MiB\n";
    if (e.error.empty()) {
        if (status != 0)
            why << "  exit status " << status << ": " << errors;
    } else {
        std::string where = ":" + std::to_string(e.errorLine) + ":";
        if (e.errorColumn > 0)
            where += std::to_string(e.errorColumn) + ":";
        if (status != 1)
            why << "  expected a script error, exit status " << status << "\n";
        if (errors.find(e.error) == std::string::npos || errors.find(where) == std::string::npos)
            why << "  expected error [" << e.error << "] on line " << e.errorLine << ", got: " << errors;
    }
    return why.str();
}

int Main(int argc, char** argv) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--no-peak")
            checkPeaks = false;
        else if (argument == "--through" && i + 1 < argc)
            through = argv[++i];
        else
            positional.push_back(argument);
    }
    if (positional.size() != 2) {
        std::cerr << "usage: vbscript_script_runner ZORV_VBS FOLDER [--no-peak] [--through PROGRAM]\n";
        return 2;
    }
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::recursive_directory_iterator(positional[1]))
        if (entry.is_regular_file() && entry.path().extension() == ".vbs")
            scripts.push_back(entry.path());
    std::sort(scripts.begin(), scripts.end());
    const fs::path scratch = fs::temp_directory_path() / ("vbscript_runner_" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    int failed = 0;
    for (const fs::path& script : scripts) {
        const std::string why = Check(positional[0], script, scratch);
        if (!why.empty()) {
            ++failed;
            std::cout << "FAIL " << fs::relative(script, positional[1]).string() << "\n" << why;
        }
    }
    fs::remove_all(scratch);
    std::cout << scripts.size() - failed << " of " << scripts.size() << " scripts passed\n";
    return failed == 0 && !scripts.empty() ? 0 : 1;
}

} // namespace

// A folder that cannot be walked, say, ends the run with a message, not an abort.
int main(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "vbscript_script_runner: " << error.what() << "\n";
    } catch (...) {
        std::cerr << "vbscript_script_runner: unexpected exception\n";
    }
    return 2;
}
