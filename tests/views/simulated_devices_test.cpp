// Every kind's catalogue against the simulated OPOS device of its ProgID,
// closed and then open under its built-in logical name.
#include <gtest/gtest.h>

#include "devices/device_kinds.h"
#include "recording_views.h"
#include "test_device.h"
#include "views/kind_properties.h"

using namespace zorv;
using namespace zorv::testing;
using devices::DeviceKindId;
using views::CommonField;

namespace {

struct SimulatedCase {
    DeviceKindId kind;
    std::u16string logicalName;
    std::size_t checks;
    std::size_t rows; // every code of the simulated devices is in its table
};

const SimulatedCase kSimulated[] = {
    {DeviceKindId::Scanner, u"SimScanner", 1, 3},
    {DeviceKindId::Printer, u"SimPrinter", 56, 26},
    {DeviceKindId::LineDisplay, u"SimLineDisplay", 6, 19},
    {DeviceKindId::Keylock, u"SimKeylock", 0, 2},
    {DeviceKindId::MSR, u"SimMSR", 5, 15},
    {DeviceKindId::POSKeyboard, u"SimPOSKeyboard", 1, 3},
    {DeviceKindId::CashDrawer, u"SimCashDrawer", 2, 0},
};

} // namespace

class SimulatedDevice : public ::testing::TestWithParam<SimulatedCase> {};

TEST_P(SimulatedDevice, TheCatalogueReadsWholeClosedAndOpen) {
    const SimulatedCase& c = GetParam();
    const devices::DeviceKind& kind = devices::KindOf(c.kind);
    const com::ComPtr<IDispatch> device = CreateByProgId(kind.progId);
    for (bool open : {false, true}) {
        SCOPED_TRACE(open ? "open" : "closed");
        if (open)
            outside::CallMethod(device.Get(), u"Open", {c.logicalName});
        RecordingCommonView common;
        RecordingSpecificView specific;
        int fetches = 0;
        const auto source = [&] {
            ++fetches;
            return device;
        };
        ASSERT_NO_THROW(views::ShowKindProperties(c.kind, source, common, specific));
        EXPECT_EQ(specific.checks.size(), c.checks);
        EXPECT_EQ(specific.rows.size(), c.rows);
        EXPECT_GE(fetches, 1 + static_cast<int>(c.checks + c.rows));
        EXPECT_EQ(common.values[CommonField::State], open ? u"OPOS_S_IDLE" : u"OPOS_S_CLOSED");
        EXPECT_EQ(common.values[CommonField::DeviceName], open ? c.logicalName : u"");
    }
    outside::CallMethod(device.Get(), u"Close");
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SimulatedDevice, ::testing::ValuesIn(kSimulated),
                         [](const ::testing::TestParamInfo<SimulatedCase>& info) {
                             const std::u16string_view name = devices::KindOf(info.param.kind).displayName;
                             return std::string(name.begin(), name.end());
                         });
