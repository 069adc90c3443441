#pragma once
// Where a device is reached, as profiles and logical device names spell it:
//   tcp:HOST[:PORT]                               network printer, port 9100 by default
//   serial:PATH[,BAUD[,8N1][,rtscts|xonxoff]]     serial line, 9600 8N1 without flow control by default
//   file:PATH                                     a character device such as /dev/usb/lp0
//   printer:NAME                                  the link of the printer NAME (its drawer port)
//   input:PATH                                    a Linux input device (/dev/input/by-id/...), read only
//   hidraw:PATH                                   a HID device read through hidraw (/dev/hidraw3)
// A text that cannot be used gives a sentence saying what is wrong with it.
#include <cstdint>
#include <string>
#include <string_view>

namespace zorv::opos::transport {

enum class Scheme { Tcp, Serial, File, Printer, Input, Hidraw };
enum class FlowControl { None, RtsCts, XonXoff };

struct Connection {
    Scheme scheme = Scheme::Tcp;
    std::string host;     // tcp
    uint16_t port = 9100; // tcp
    std::string path;     // serial, file, input, hidraw
    int baud = 9600;      // serial
    int dataBits = 8;
    char parity = 'N'; // N, E or O
    int stopBits = 1;
    FlowControl flow = FlowControl::None;
    std::string printer; // printer

    bool operator==(const Connection&) const = default;
};

struct ParsedConnection {
    Connection connection;
    std::string error;
    bool ok() const { return error.empty(); }
};

constexpr uint16_t kDefaultTcpPort = 9100;

// True when the text names a connection at all ("tcp:...", any letter case),
// which is how a logical device name is told from a connection typed in its place.
bool LooksLikeConnection(std::string_view text);
ParsedConnection ParseConnection(std::string_view text);
// The connection written back in its full form: "serial:/dev/ttyS0,19200,8N1,rtscts".
std::string ConnectionText(const Connection& connection);

} // namespace zorv::opos::transport
