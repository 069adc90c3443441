// The preamble every new script engine receives, byte for byte.
#include <gtest/gtest.h>

#include "devices/device_kinds.h"
#include "script/preamble.h"

using zorv::devices::DeviceKindId;
using zorv::devices::KindOf;

namespace {

std::vector<const zorv::devices::DeviceKind*> Kinds(std::initializer_list<DeviceKindId> ids) {
    std::vector<const zorv::devices::DeviceKind*> kinds;
    for (DeviceKindId id : ids)
        kinds.push_back(&KindOf(id));
    return kinds;
}

constexpr std::u16string_view kHeader = u"Dim reg\r\nSet reg = CreateObject(\"Morvel.Registry\")\r\n";

} // namespace

TEST(Preamble, HeaderThenTwoLinesPerPresentKindEachEndedByCrLf) {
    using enum DeviceKindId;
    struct Case {
        const char* what;
        std::vector<const zorv::devices::DeviceKind*> present;
        std::u16string lines; // after the header
    };
    const Case cases[] = {
        {"none", {}, u""},
        {"the cash drawer alone", Kinds({CashDrawer}),
         u"Dim CashDrawer\r\nSet CashDrawer = reg.GetObject(\"OPOS CashDrawer\")\r\n"},
        {"printer and MSR", Kinds({Printer, MSR}),
         u"Dim Printer\r\nSet Printer = reg.GetObject(\"OPOS Printer\")\r\n"
         u"Dim MSR\r\nSet MSR = reg.GetObject(\"OPOS MSR\")\r\n"},
        {"all seven", Kinds({Scanner, Printer, LineDisplay, Keylock, MSR, POSKeyboard, CashDrawer}),
         u"Dim Scanner\r\nSet Scanner = reg.GetObject(\"OPOS Scanner\")\r\n"
         u"Dim Printer\r\nSet Printer = reg.GetObject(\"OPOS Printer\")\r\n"
         u"Dim LineDisplay\r\nSet LineDisplay = reg.GetObject(\"OPOS LineDisplay\")\r\n"
         u"Dim Keylock\r\nSet Keylock = reg.GetObject(\"OPOS Keylock\")\r\n"
         u"Dim MSR\r\nSet MSR = reg.GetObject(\"OPOS MSR\")\r\n"
         u"Dim POSKeyboard\r\nSet POSKeyboard = reg.GetObject(\"OPOS POSKeyboard\")\r\n"
         u"Dim CashDrawer\r\nSet CashDrawer = reg.GetObject(\"OPOS CashDrawer\")\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(zorv::script::BuildPreamble(c.present), std::u16string(kHeader) + c.lines);
    }
}
