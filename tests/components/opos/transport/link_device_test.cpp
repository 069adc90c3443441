// Serial lines over a pseudo-terminal, character devices, and the paths
// each refuses before anything is written.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <condition_variable>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "transport/link.h"

using namespace zorv::opos::transport;

namespace {

class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            path_ = ptsname(master_);
    }
    ~PseudoTerminal() { CloseMaster(); }
    void CloseMaster() {
        if (master_ >= 0)
            close(master_);
        master_ = -1;
    }
    int master() const { return master_; }
    const std::string& path() const { return path_; }

private:
    int master_ = -1;
    std::string path_;
};

Connection Serial(const std::string& path) {
    const ParsedConnection parsed = ParseConnection("serial:" + path + ",19200,8N1");
    return parsed.connection;
}

Connection File(const std::string& path) {
    return ParseConnection("file:" + path).connection;
}

std::string ReadSome(int fd) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 1000) != 1)
        return {};
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, n) : std::string();
}

TEST(SerialLink, TalksOverAPseudoTerminal) {
    PseudoTerminal pty;
    ASSERT_FALSE(pty.path().empty());
    LinkStatus status;
    auto link = Link::Open(Serial(pty.path()), 1000, status);
    ASSERT_TRUE(link) << status.text;
    // Raw mode: bytes that a terminal would translate pass untouched.
    EXPECT_TRUE(link->Send(std::string("\x10\x04\x01\n\r\x03", 6), 500).status.ok());
    EXPECT_EQ(ReadSome(pty.master()), std::string("\x10\x04\x01\n\r\x03", 6));
    ASSERT_EQ(write(pty.master(), "\x12", 1), 1);
    std::string in;
    EXPECT_TRUE(link->Receive(in, 8, 1000).status.ok());
    EXPECT_EQ(in, "\x12");
    EXPECT_EQ(link->Receive(in, 8, 100).status.failure, Failure::TimedOut);
}

TEST(SerialLink, AHungUpLineEndsTheReader) {
    PseudoTerminal pty;
    LinkStatus status;
    auto link = Link::Open(Serial(pty.path()), 1000, status);
    ASSERT_TRUE(link) << status.text;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Failure> failures;
    link->StartReader([] {},
                      [&](const LinkStatus& s) {
                          std::lock_guard lock(mutex);
                          failures.push_back(s.failure);
                          changed.notify_all();
                      });
    pty.CloseMaster();
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(3), [&] { return !failures.empty(); }));
    EXPECT_EQ(failures.front(), Failure::Closed);
}

TEST(SerialLink, RefusesWhatIsNotATerminal) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("receipt.txt").toStdString();
    std::ofstream(file) << "kept";
    const std::vector<std::pair<std::string, Failure>> cases{
        {file, Failure::NotATerminal},
        {dir.path().toStdString(), Failure::NotATerminal},
        {"/dev/null", Failure::NotATerminal},
        {dir.filePath("missing").toStdString(), Failure::NotFound},
    };
    for (const auto& [path, failure] : cases) {
        LinkStatus status;
        EXPECT_FALSE(Link::Open(Serial(path), 500, status)) << path;
        EXPECT_STREQ(FailureName(status.failure), FailureName(failure)) << path << ": " << status.text;
        EXPECT_NE(status.text.find(path), std::string::npos);
    }
    std::ifstream in(file);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "kept");
}

TEST(DeviceLink, WritesOnlyToCharacterDevices) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("lp0").toStdString();
    std::ofstream(file) << "";
    LinkStatus status;
    EXPECT_FALSE(Link::Open(File(file), 500, status));
    EXPECT_EQ(status.failure, Failure::NotACharacterDevice);
    EXPECT_NE(status.text.find("regular file"), std::string::npos) << status.text;
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 0);

    EXPECT_FALSE(Link::Open(File(dir.path().toStdString()), 500, status));
    EXPECT_NE(status.text.find("directory"), std::string::npos) << status.text;
    EXPECT_FALSE(Link::Open(File(dir.filePath("none").toStdString()), 500, status));
    EXPECT_EQ(status.failure, Failure::NotFound);

    // Nodes that swallow everything or answer without end are no printers.
    const std::string fifo = dir.filePath("fifo").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::pair<std::string, std::string>> refused{
        {"/dev/null", "memory device"},    {"/dev/zero", "memory device"}, {"/dev/full", "memory device"},
        {"/dev/urandom", "memory device"}, {"/dev/tty", "own terminal"},   {fifo, "pipe"},
    };
    for (const auto& [path, why] : refused) {
        EXPECT_FALSE(Link::Open(File(path), 500, status)) << path;
        EXPECT_EQ(status.failure, Failure::NotACharacterDevice) << path;
        EXPECT_NE(status.text.find(why), std::string::npos) << status.text;
    }

    PseudoTerminal pty;
    auto tty = Link::Open(File(pty.path()), 500, status);
    ASSERT_TRUE(tty) << status.text;
    EXPECT_TRUE(tty->Send("lp", 500).status.ok());
}

} // namespace
