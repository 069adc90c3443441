#include "real_device_support.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <stdexcept>

#include "platform/com/apartment.h"

namespace opos_test {

ProfileFileOwner::ProfileFileOwner()
    : path_(std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles") {}

ProfileFileOwner::~ProfileFileOwner() {
    std::filesystem::remove(path_);
}

void ProfileFileOwner::Write(const std::string& text) {
    std::ofstream file(path_, std::ios::binary);
    file << text;
}

StandInLine::StandInLine() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorv-line-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("no temporary directory");
    dir_ = pattern;
    link_ = dir_ / "ttyScanner";
    Plug();
}

StandInLine::~StandInLine() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

void StandInLine::Plug() {
    master_ = device_test::Fd(posix_openpt(O_RDWR | O_NOCTTY));
    if (master_.get() < 0 || grantpt(master_.get()) != 0 || unlockpt(master_.get()) != 0)
        throw std::runtime_error("no pseudo-terminal");
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
    std::filesystem::create_symlink(ptsname(master_.get()), link_);
}

void StandInLine::Unplug() {
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
    master_.Close();
}

void StandInLine::Send(const std::string& bytes) {
    device_test::WriteAll(master_.get(), bytes);
}

std::string StandInLine::Received(int quietMs) {
    std::string bytes;
    char buffer[4096];
    pollfd ready{master_.get(), POLLIN, 0};
    while (poll(&ready, 1, quietMs) > 0 && (ready.revents & POLLIN) != 0) {
        const ssize_t n = read(master_.get(), buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::size_t CountEvents(const Sink& sink, DISPID id) {
    return static_cast<std::size_t>(std::count_if(sink.received.begin(), sink.received.end(),
                                                  [id](const auto& e) { return e.id == id; }));
}

bool WaitForEvents(Sink& sink, DISPID id, std::size_t count) {
    return zorv::com::WaitPumping([&] { return CountEvents(sink, id) >= count; }, std::chrono::seconds(2));
}

void PumpFor(int milliseconds) {
    zorv::com::WaitPumping([] { return false; }, std::chrono::milliseconds(milliseconds));
}

} // namespace opos_test
