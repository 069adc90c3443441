#pragma once
// What the real-device tests share: a profile file they own for their run,
// a stand-in serial line reached through a link the test can repoint (as a
// by-id name follows a plugged adapter), and waiting for events with a timeout.
#include <filesystem>
#include <string>

#include "fd_support.h"
#include "opos_test_support.h"
#include "stand_in_node.h"

namespace opos_test {

using device_test::StandInNode;

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

// Pumps the apartment until the sink has `count` events with that id, for at most two seconds.
bool WaitForEvents(Sink& sink, DISPID id, std::size_t count);
std::size_t CountEvents(const Sink& sink, DISPID id);
// Pumps posted calls for a while, for what must NOT arrive.
void PumpFor(int milliseconds);

} // namespace opos_test
