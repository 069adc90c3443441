#pragma once
// What the real-device tests share: a profile file they own for their run,
// a stand-in serial line reached through a link the test can repoint (as a
// by-id name follows a plugged adapter), and waiting for events with a timeout.
#include <filesystem>
#include <string>

#include "fd_support.h"
#include "opos_test_support.h"

namespace opos_test {

class ProfileFileOwner {
public:
    ProfileFileOwner();
    ~ProfileFileOwner();
    void Write(const std::string& text);

private:
    std::filesystem::path path_;
};

// A pseudo-terminal whose slave the back end opens through `Path()`, a
// symbolic link; the test writes the device's bytes on the master.
class StandInLine {
public:
    StandInLine();
    ~StandInLine();
    std::string Path() const { return link_.string(); }
    void Send(const std::string& bytes);
    // What the device was sent, read until nothing more comes for `quietMs`.
    std::string Received(int quietMs = 100);
    // The far end goes away: the master closes and the link disappears.
    void Unplug();
    // A fresh pseudo-terminal behind the same link.
    void Plug();

private:
    std::filesystem::path dir_;
    std::filesystem::path link_;
    device_test::Fd master_;
};

// An input or hidraw node played by a pipe: the back end opens `Path()`, a
// link to the pipe's reading end, and the test writes event records or
// reports. The pipe is in packet mode, so that each write is one read, as
// each HID report is one read of a hidraw node.
class StandInNode {
public:
    StandInNode();
    ~StandInNode();
    std::string Path() const { return link_.string(); }
    void Send(const void* bytes, std::size_t size);
    // Key events typing `text` on that layout (with Enter after when `enter`).
    void Type(std::u16string_view text, bool enter = true, bool french = false);
    void Key(unsigned code, int value);
    // The device goes away (its reader sees the end), and the path with it.
    void Unplug();
    void Plug();

private:
    std::filesystem::path dir_;
    std::filesystem::path link_;
    device_test::Fd reading_;
    device_test::Fd writing_;
};

// Pumps the apartment until the sink has `count` events with that id, for at most two seconds.
bool WaitForEvents(Sink& sink, DISPID id, std::size_t count);
std::size_t CountEvents(const Sink& sink, DISPID id);
// Pumps posted calls for a while, for what must NOT arrive.
void PumpFor(int milliseconds);

} // namespace opos_test
