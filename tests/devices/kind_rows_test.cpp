// The kind rows: each creates its own control, whose slots match the row's
// events; the rows are reachable by identifier and name; the calls the open
// and close sequences make are seen with their results.
#include <gtest/gtest.h>

#include "devices/device_controls.h"
#include "devices/test_control.h"

using namespace zorv::devices;
using namespace zorv::testing;

TEST(KindRows, EachRowCreatesItsOwnControlWithOneSlotPerEvent) {
    static_assert(kKindCount == 7);
    std::size_t index = 0;
    for (const DeviceKind& kind : DeviceKinds()) {
        SCOPED_TRACE(std::string(kind.displayName.begin(), kind.displayName.end()));
        EXPECT_EQ(IndexOf(kind.id), index++);
        EXPECT_EQ(&KindOf(kind.id), &kind);
        EXPECT_EQ(FindKind(kind.displayName), &kind);
        EXPECT_EQ(kind.registryName, u"OPOS " + std::u16string(kind.displayName));
        ASSERT_FALSE(kind.events.empty());
        EXPECT_EQ(kind.rearmsDataEvents,
                  kind.id != DeviceKindId::Printer && kind.id != DeviceKindId::CashDrawer);

        TestControlRegistration registration{std::u16string(kind.progId)};
        TComponent owner(nullptr);
        TZORVDeviceControl* control = kind.create(&owner);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(&control->Kind(), &kind);
        EXPECT_EQ(control->HandlerSlots().size(), kind.events.size());
        EXPECT_EQ(control->ControlData()->EventCount, static_cast<std::int32_t>(kind.events.size()));
    }
    EXPECT_EQ(FindKind(u"scanner"), nullptr) << "names compare exactly";
}

TEST(KindRows, TheCallObserverSeesEveryStepWithItsResultAndTheFailingOne) {
    TestControlRegistration registration(u"OPOS.Scanner");
    registration.Log().behaviour.failingMembers[u"DataEventEnabled"] = u"Refusé";
    TComponent owner(nullptr);
    TZORVDeviceControl* scanner = KindOf(DeviceKindId::Scanner).create(&owner);
    std::vector<std::u16string> seen;
    scanner->SetCallObserver([&](TZORVDeviceControl& control, const DeviceCall& call) {
        EXPECT_EQ(&control, scanner);
        std::u16string line = std::u16string(call.member) + u"(" + call.argument + u")";
        if (call.result)
            line += u"=" + std::u16string(1, static_cast<char16_t>(u'0' + *call.result));
        if (!call.failure.empty())
            line += u" ! " + call.failure;
        seen.push_back(line);
    });
    EXPECT_ANY_THROW(scanner->OpenDevice(u"Sim"));
    scanner->CloseDevice();
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"Open(Sim)=0", u"Claim(1000)=0", u"DeviceEnabled(True)",
                                                 u"DataEventEnabled(True) ! Refusé", u"Close()=0"}));
}
