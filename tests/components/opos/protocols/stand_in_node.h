#pragma once
// A stand-in for a Linux input or hidraw node, for back ends that open a
// path: a pipe whose reading end a link names.
#include <linux/input.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "fd_support.h"

namespace device_test {

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

} // namespace device_test
