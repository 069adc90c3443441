// The open and close sequences of every kind, as the control object sees them.
#include <gtest/gtest.h>

#include "devices/device_controls.h"
#include "devices/test_control.h"
#include "outside/ole_error.h"
#include "platform/com/class_table.h"
#include "platform/com/text.h"
#include "platform/ui/recording_user_interface.h"

using namespace zorv::devices;
using namespace zorv::testing;

namespace {

// "Open(name)", "Claim(1000)", "DeviceEnabled=-1", ...
std::vector<std::string> Describe(const std::vector<RecordedCall>& calls) {
    std::vector<std::string> out;
    for (const RecordedCall& call : calls) {
        std::string text = zorv::com::Utf16ToUtf8(call.member);
        std::u16string value;
        if (!call.args.empty())
            call.args[0].ToString(value, 0);
        if (call.flags & DISPATCH_PROPERTYPUT)
            text += "=" + zorv::com::Utf16ToUtf8(value);
        else
            text += "(" + zorv::com::Utf16ToUtf8(value) + ")";
        out.push_back(text);
    }
    return out;
}

template <class Control>
std::vector<std::string> OpenSequence(std::u16string progId, std::u16string_view name) {
    TestControlRegistration registration(std::move(progId));
    TComponent owner(nullptr);
    Control* control = TOleControl::Create<Control>(&owner);
    control->OpenDevice(name);
    return Describe(registration.Log().calls);
}

} // namespace

TEST(OpenDevice, EachKindRunsOpenThenItsOwnSteps) {
    const std::vector<std::string> claimEnableArm{"Open(Sim)", "Claim(1000)", "DeviceEnabled=-1",
                                                  "DataEventEnabled=-1"};
    const std::vector<std::string> claimEnable{"Open(Sim)", "Claim(1000)", "DeviceEnabled=-1"};
    const std::vector<std::string> enable{"Open(Sim)", "DeviceEnabled=-1"};
    EXPECT_EQ(OpenSequence<TZORVScanner>(u"OPOS.Scanner", u"Sim"), claimEnableArm);
    EXPECT_EQ(OpenSequence<TZORVPrinter>(u"OPOS.POSPrinter", u"Sim"), claimEnable);
    EXPECT_EQ(OpenSequence<TZORVLineDisplay>(u"OPOS.LineDisplay", u"Sim"), claimEnable);
    EXPECT_EQ(OpenSequence<TZORVKeylock>(u"OPOS.Keylock", u"Sim"), enable);
    EXPECT_EQ(OpenSequence<TZORVMSR>(u"OPOS.MSR", u"Sim"), claimEnableArm);
    EXPECT_EQ(OpenSequence<TZORVPOSKeyboard>(u"OPOS.POSKeyboard", u"Sim"), claimEnableArm);
    EXPECT_EQ(OpenSequence<TZORVCashDrawer>(u"OPOS.CashDrawer", u"Sim"), enable);
}

TEST(OpenDevice, TheNameGoesByReferenceUnchangedEvenWhenEmptyAndBooleansAsOleTrue) {
    TestControlRegistration registration(u"OPOS.Scanner");
    TComponent owner(nullptr);
    auto* scanner = TOleControl::Create<TZORVScanner>(&owner);
    scanner->OpenDevice(u"");
    const auto& calls = registration.Log().calls;
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_TRUE(calls[0].firstArgByRef);
    EXPECT_EQ(calls[0].args[0].vt, VT_BSTR);
    EXPECT_EQ(zorv::com::BstrView(calls[0].args[0].bstrVal), u"");
    EXPECT_EQ(calls[1].args[0].vt, VT_I4);
    EXPECT_EQ(calls[2].args[0].vt, VT_BOOL);
    EXPECT_EQ(calls[2].args[0].boolVal, VARIANT_TRUE);

    scanner->OpenDevice(u"SimScanner");
    EXPECT_EQ(calls.size(), 8u) << "a second open repeats the whole sequence";
    EXPECT_EQ(scanner->LogicalDeviceName(), u"SimScanner");
}

TEST(OpenDevice, AFailingStepEndsTheSequenceThereWithTheComponentsText) {
    TestControlRegistration registration(u"OPOS.Scanner");
    registration.Log().behaviour.failingMembers[u"Claim"] = u"Déjà réservé par une autre application.\r\n";
    TComponent owner(nullptr);
    auto* scanner = TOleControl::Create<TZORVScanner>(&owner);
    try {
        scanner->OpenDevice(u"SimScanner");
        FAIL();
    } catch (const zorv::outside::EOleError& error) {
        EXPECT_EQ(error.Text(), "Déjà réservé par une autre application");
    }
    EXPECT_EQ(Describe(registration.Log().calls), (std::vector<std::string>{"Open(SimScanner)", "Claim(1000)"}));
}

TEST(CloseDevice, CallsCloseAndNothingElse) {
    TestControlRegistration registration(u"OPOS.Keylock");
    TComponent owner(nullptr);
    auto* keylock = TOleControl::Create<TZORVKeylock>(&owner);
    keylock->CloseDevice();
    keylock->CloseDevice();
    EXPECT_EQ(Describe(registration.Log().calls), (std::vector<std::string>{"Close()", "Close()"}));
    EXPECT_TRUE(registration.Log().calls[0].args.empty());
}
