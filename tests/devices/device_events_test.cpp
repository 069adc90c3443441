// Events from the control object to the handler slots that their dispatch
// identifiers select, for every kind.
#include <gtest/gtest.h>

#include "devices/device_controls.h"
#include "devices/test_control.h"
#include "outside/error_report.h"
#include "platform/com/class_table.h"
#include "platform/com/text.h"
#include "platform/ui/recording_user_interface.h"

using namespace zorv::devices;
using namespace zorv::testing;
using zorv::com::Variant;

namespace {

VARIANT I4(LONG value) { return Variant(value).Detach(); }
VARIANT Text(std::u16string_view text) { return Variant(text).Detach(); }
VARIANT RefI4(LONG* variable) {
    VARIANT v;
    v.vt = VT_BYREF | VT_I4;
    v.plVal = variable;
    return v;
}
VARIANT RefBstr(BSTR* variable) {
    VARIANT v;
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = variable;
    return v;
}


template <class Control>
struct Hosted {
    explicit Hosted(std::u16string progId) : registration(std::move(progId)) {
        control = TOleControl::Create<Control>(&owner);
        control->DeviceObject();
    }
    TestControl& Object() { return *registration.Last(); }
    TestControlRegistration registration;
    TComponent owner{nullptr};
    Control* control = nullptr;
};

} // namespace

TEST(DeviceEvents, EachIdentifierReachesItsSlotInSlotOrder) {
    std::vector<std::string> heard;
    Hosted<TZORVKeylock> keylock(u"OPOS.Keylock");
    keylock.control->OnStatusUpdateEvent.Bind([&](TOleControl*, LONG) { heard.push_back("keylock status"); });
    keylock.control->OnDataEvent.Bind([&](TOleControl*, LONG) { heard.push_back("keylock data"); });
    keylock.Object().Fire(1, {I4(2)});
    keylock.Object().Fire(3, {I4(0)});

    Hosted<TZORVScanner> scanner(u"OPOS.Scanner");
    scanner.control->OnDataEvent.Bind([&](TOleControl*, LONG) { heard.push_back("scanner data"); });
    scanner.control->OnStatusUpdateEvent.Bind([&](TOleControl*, LONG) { heard.push_back("scanner status"); });
    scanner.Object().Fire(1, {I4(0)});
    scanner.Object().Fire(4, {I4(2001)});

    Hosted<TZORVPrinter> printer(u"OPOS.POSPrinter");
    printer.control->OnOutputCompleteEvent.Bind([&](TOleControl*, LONG id) {
        heard.push_back("printer output " + std::to_string(id));
    });
    printer.Object().Fire(3, {I4(42)});

    EXPECT_EQ(heard, (std::vector<std::string>{"keylock status", "keylock data", "scanner data", "scanner status",
                                                "printer output 42"}));
}

TEST(DeviceEvents, SenderIsTheControlThatRaisedTheEvent) {
    Hosted<TZORVMSR> msr(u"OPOS.MSR");
    TOleControl* sender = nullptr;
    msr.control->OnDataEvent.Bind([&](TOleControl* s, LONG) { sender = s; });
    msr.Object().Fire(1, {I4(0)});
    EXPECT_EQ(sender, msr.control);
}

TEST(DeviceEvents, UnknownIdentifiersEmptySlotsAndStandardEventsAreDropped) {
    Hosted<TZORVCashDrawer> drawer(u"OPOS.CashDrawer");
    int calls = 0;
    drawer.control->OnStatusUpdateEvent.Bind([&](TOleControl*, LONG) { ++calls; });
    EXPECT_EQ(drawer.Object().Fire(5, {I4(1)}), S_OK) << "beyond the slot count";
    EXPECT_EQ(drawer.Object().Fire(-600, {}), S_OK);
    EXPECT_EQ(drawer.Object().Fire(1, {I4(1), RefI4(&calls), RefBstr(nullptr)}), S_OK) << "empty DirectIO slot";
    EXPECT_EQ(calls, 0);
    drawer.Object().Fire(2, {I4(1)});
    EXPECT_EQ(calls, 1);
}

TEST(DeviceEvents, ArgumentsThatDoNotFitTheSlotDropTheEvent) {
    Hosted<TZORVPOSKeyboard> keyboard(u"OPOS.POSKeyboard");
    int errors = 0;
    keyboard.control->OnErrorEvent.Bind([&](TOleControl*, LONG, LONG, LONG, LONG&) { ++errors; });
    keyboard.Object().Fire(3, {I4(111), I4(0), I4(2)});                    // one short
    keyboard.Object().Fire(3, {I4(111), I4(0), I4(2), I4(12), I4(9)});      // one too many
    keyboard.Object().Fire(3, {I4(111), Text(u"abc"), I4(2), I4(12)});      // no number
    keyboard.Object().Fire(3, {I4(111), Variant::Null().Detach(), I4(2), I4(12)});
    EXPECT_EQ(errors, 0);
    keyboard.Object().Fire(3, {I4(111), Text(u" 4 "), I4(2), I4(12)}); // converts
    EXPECT_EQ(errors, 1);
}

TEST(DeviceEvents, ByReferenceChangesGoBackToTheDeviceAndUntouchedValuesComeBackAsSent) {
    Hosted<TZORVMSR> msr(u"OPOS.MSR");
    msr.control->OnErrorEvent.Bind([](TOleControl*, LONG, LONG, LONG, LONG& response) { response = 12; });
    msr.control->OnDirectIOEvent.Bind([](TOleControl*, LONG, LONG& data, std::u16string& text) {
        data += 1;
        text += u" ok";
    });
    LONG response = 11;
    msr.Object().Fire(3, {I4(111), I4(0), I4(2), RefI4(&response)});
    EXPECT_EQ(response, 12);

    LONG data = 41;
    BSTR text = SysAllocString(u"piste");
    msr.Object().Fire(2, {I4(5), RefI4(&data), RefBstr(&text)});
    EXPECT_EQ(data, 42);
    EXPECT_EQ(zorv::com::BstrView(text), u"piste ok");
    SysFreeString(text);

    // A by-reference VARIANT holding a short integer keeps its type when untouched.
    msr.control->OnErrorEvent.Bind([](TOleControl*, LONG, LONG, LONG, LONG&) {});
    Variant held(SHORT{11});
    VARIANT ref;
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = &held;
    msr.Object().Fire(3, {I4(111), I4(0), I4(2), ref});
    EXPECT_EQ(held.vt, VT_I2);
}

TEST(DeviceEvents, TheScannersDirectIODataComesByValue) {
    Hosted<TZORVScanner> scanner(u"OPOS.Scanner");
    scanner.control->OnDirectIOEvent.Bind([](TOleControl*, LONG, LONG data, std::u16string& text) {
        text = u"seen " + zorv::com::Utf8ToUtf16(std::to_string(data));
    });
    BSTR text = SysAllocString(u"");
    scanner.Object().Fire(2, {I4(1), I4(5), RefBstr(&text)});
    EXPECT_EQ(zorv::com::BstrView(text), u"seen 5");
    SysFreeString(text);
}

TEST(DeviceEvents, ARaisingHandlerGivesOneReportAndTheNextEventIsDelivered) {
    std::vector<std::u16string> reports;
    zorv::outside::SetErrorReporter([&](std::u16string_view text) { reports.emplace_back(text); });
    Hosted<TZORVLineDisplay> display(u"OPOS.LineDisplay");
    int calls = 0;
    display.control->OnStatusUpdateEvent.Bind([&](TOleControl*, LONG) {
        if (++calls == 1)
            throw std::runtime_error("Affichage perdu");
    });
    EXPECT_EQ(display.Object().Fire(2, {I4(2001)}), S_OK) << "the object always hears success";
    EXPECT_EQ(display.Object().Fire(2, {I4(2002)}), S_OK);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(reports, std::vector<std::u16string>{u"Affichage perdu"});
    zorv::outside::SetErrorReporter(nullptr);
}
