// zorv-virtual-display run as a program: it names its terminal, and what a
// program writes there shows up as the screen's text.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "protocols/display/screen.h"
#include "fd_support.h"
#include "screen_text.h"

extern char** environ;

namespace {

using device_test::Fd;
using device_test::WriteAll;

class VirtualDisplay {
public:
    explicit VirtualDisplay(std::vector<std::string> arguments) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        output_ = Fd(out[0]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        arguments.insert(arguments.begin(), ZORV_VIRTUAL_DISPLAY);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const int spawned = posix_spawn(&pid_, ZORV_VIRTUAL_DISPLAY, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (spawned != 0)
            throw std::runtime_error("spawn");
    }
    ~VirtualDisplay() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }

    // Reads the program's output until it holds `wanted`, for at most two seconds.
    bool WaitFor(const std::string& wanted) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (output.find(wanted) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd watched{output_.get(), POLLIN, 0};
            if (left.count() <= 0 || poll(&watched, 1, static_cast<int>(left.count())) <= 0)
                return false;
            char buffer[1024];
            const ssize_t n = read(output_.get(), buffer, sizeof buffer);
            if (n <= 0)
                return false;
            output.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }

    std::string TerminalPath() {
        if (!WaitFor("\n"))
            return {};
        const std::string first = output.substr(0, output.find('\n'));
        return first.substr(first.rfind(' ') + 1);
    }

    std::string output;

private:
    pid_t pid_ = -1;
    Fd output_;
};

TEST(VirtualDisplayTool, ShowsWhatIsWrittenOnItsTerminal) {
    VirtualDisplay display({"--protocol", "cd5220"});
    const std::string path = display.TerminalPath();
    ASSERT_TRUE(path.starts_with("/dev/pts/")) << display.output;
    Fd line(open(path.c_str(), O_RDWR | O_NOCTTY));
    ASSERT_GE(line.get(), 0);
    WriteAll(line.get(), "\x1b@\x1bl\x03\x01"
                         "PRIX\x1bl\x01\x02"
                         "12,50\x1b_\x01");
    EXPECT_TRUE(display.WaitFor("|  PRIX              |\n|12,50               |\n")) << display.output;
    // A program closing its end and coming back finds the display still there.
    line.Close();
    line = Fd(open(path.c_str(), O_RDWR | O_NOCTTY));
    WriteAll(line.get(), "\x0c"
                         "OK\x1bZ");
    EXPECT_TRUE(display.WaitFor("|OK                  |")) << display.output;
    EXPECT_TRUE(display.WaitFor("commandes inconnues : 1")) << display.output;
}

TEST(VirtualDisplayTool, RefusesUnknownOptions) {
    VirtualDisplay display({"--protocol", "vt100"});
    EXPECT_FALSE(display.WaitFor("Afficheur"));
}

TEST(VirtualDisplayTool, FramedScreenNamesCursorAndSettings) {
    auto screen = zorv::opos::display::Screen::Blank(2, 4);
    screen.WriteAt(0, 0, u"A€");
    screen.cursorVisible = true;
    screen.blinkStep = 10;
    EXPECT_EQ(zorv::tools::FramedScreen(screen), "+----+\n|A€  |\n|    |\n+----+\n"
                                                 "curseur 1,1 visible, luminosité 4/4, écrasement, page 437, "
                                                 "clignote toutes les 500 ms\n");
}

} // namespace
