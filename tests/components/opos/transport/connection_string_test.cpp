// Connection texts: what each scheme accepts, its defaults, and the reason
// given for what it cannot use.
#include <gtest/gtest.h>

#include "transport/connection_string.h"

using namespace zorv::opos::transport;

namespace {

struct Case {
    std::string text;
    std::string expected; // the full form, or a part of the reason
    bool ok;
};

TEST(ConnectionString, ParsesEachSchemeWithItsDefaults) {
    const std::vector<Case> cases{
        {"tcp:127.0.0.5", "tcp:127.0.0.5:9100", true},
        {"TCP:printer.local:9101", "tcp:printer.local:9101", true},
        {"tcp:[::1]", "tcp:[::1]:9100", true},
        {"tcp:[fe80::1]:515", "tcp:[fe80::1]:515", true},
        {"serial:/dev/ttyS0", "serial:/dev/ttyS0,9600,8N1", true},
        {"serial:/dev/ttyUSB0,19200", "serial:/dev/ttyUSB0,19200,8N1", true},
        {"serial:/dev/ttyUSB0,115200,7e2,rtscts", "serial:/dev/ttyUSB0,115200,7E2,rtscts", true},
        {"serial:/dev/ttyUSB0,38400,XonXoff", "serial:/dev/ttyUSB0,38400,8N1,xonxoff", true},
        {"serial:/dev/ttyUSB0,8O1", "serial:/dev/ttyUSB0,9600,8O1", true},
        {"file:/dev/usb/lp0", "file:/dev/usb/lp0", true},
        {"printer:ShopPrinter", "printer:ShopPrinter", true},
        {"input:/dev/input/by-id/usb-Scanner-event-kbd", "input:/dev/input/by-id/usb-Scanner-event-kbd",
         true},
        {"HIDRAW:/dev/hidraw3", "hidraw:/dev/hidraw3", true},
    };
    for (const Case& c : cases) {
        const ParsedConnection parsed = ParseConnection(c.text);
        ASSERT_TRUE(parsed.ok()) << c.text << ": " << parsed.error;
        EXPECT_EQ(ConnectionText(parsed.connection), c.expected);
        EXPECT_TRUE(LooksLikeConnection(c.text));
    }
}

TEST(ConnectionString, SaysWhatIsWrong) {
    const std::vector<Case> cases{
        {"tcp:", "host name is missing", false},
        {"tcp::9100", "host name is missing", false},
        {"tcp:host:", "port is empty", false},
        {"tcp:host:0", "1 to 65535", false},
        {"tcp:host:70000", "1 to 65535", false},
        {"tcp:host:91x", "1 to 65535", false},
        {"tcp:bad host", "not a host name", false},
        {"tcp:::1", "IPv6 address in brackets", false},
        {"tcp:[::1", "missing ]", false},
        {"tcp:[::1]9100", "expected :PORT", false},
        {"serial:", "device path is missing", false},
        {"serial:/dev/ttyS0,1234", "unsupported speed 1234", false},
        {"serial:/dev/ttyS0,9600,9N1", "\"9N1\" is neither", false},
        {"serial:/dev/ttyS0,9600,8N1,dtrdsr", "\"dtrdsr\" is neither", false},
        {"serial:/dev/ttyS0,9600,8N1,rtscts,more", "unexpected \"more\"", false},
        {"file:", "device path is missing", false},
        {"printer:", "logical device name is missing", false},
        {"input:", "input: the device path is missing", false},
        {"hidraw:", "hidraw: the device path is missing", false},
        {"usb:0x04b8", "not a connection", false},
    };
    for (const Case& c : cases) {
        const ParsedConnection parsed = ParseConnection(c.text);
        EXPECT_FALSE(parsed.ok()) << c.text;
        EXPECT_NE(parsed.error.find(c.expected), std::string::npos)
            << c.text << ": \"" << parsed.error << "\"";
    }
    EXPECT_FALSE(LooksLikeConnection("SimPrinter"));
    EXPECT_FALSE(LooksLikeConnection("tcp"));
}

} // namespace
