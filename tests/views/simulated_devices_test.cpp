// Every kind's catalogue against the simulated OPOS device of its ProgID,
// closed and then open under its built-in logical name.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "devices/device_kinds.h"
#include "recording_views.h"
#include "test_device.h"
#include "views/catalogues.h"
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
    // No positions: KeyPosition 0 is shown as a number.
    {DeviceKindId::Keylock, u"SimElectronicKeylock", 0, 2},
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
                             const std::u16string_view name = info.param.logicalName;
                             return std::string(name.begin(), name.end());
                         });

namespace {

// What a catalogue entry shows for a value read straight from the device, or
// nothing when the entry adds no row for it.
std::optional<std::u16string> Expected(const views::CatalogueEntry& entry, const com::Variant& value) {
    switch (entry.kind) {
    case views::RowKind::Flag:
        return outside::ToBool(value) ? u"True" : u"False";
    case views::RowKind::Text:
        return outside::ToText(value);
    case views::RowKind::Number: {
        const std::string digits = std::to_string(outside::ToLong(value));
        return std::u16string(digits.begin(), digits.end());
    }
    case views::RowKind::Code:
        for (const views::CodeName& code : entry.codes)
            if (code.code == outside::ToLong(value))
                return std::u16string(code.name);
        if (entry.outside == views::OutsideCode::NoRow)
            return std::nullopt;
        const std::string digits = std::to_string(outside::ToLong(value));
        return std::u16string(digits.begin(), digits.end());
    }
    return std::nullopt;
}

} // namespace

// Each shown row against the property the device publishes under that name,
// read separately: the catalogue and the device agree on names and values.
TEST_P(SimulatedDevice, EveryShownRowIsThePublishedPropertysValue) {
    const SimulatedCase& c = GetParam();
    const com::ComPtr<IDispatch> device = CreateByProgId(devices::KindOf(c.kind).progId);
    outside::CallMethod(device.Get(), u"Open", {c.logicalName});
    RecordingCommonView common;
    RecordingSpecificView specific;
    views::ShowKindProperties(
        c.kind, [&] { return device; }, common, specific);

    std::size_t check = 0;
    std::size_t row = 0;
    for (const views::CatalogueEntry& entry : views::CatalogueOf(c.kind)) {
        const std::string property(entry.property.begin(), entry.property.end());
        SCOPED_TRACE(property);
        DISPID id = 0;
        std::u16string name(entry.property);
        LPOLESTR names[] = {name.data()};
        ASSERT_EQ(device->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << "the device publishes it";
        const std::optional<std::u16string> expected =
            Expected(entry, outside::GetProperty(device.Get(), entry.property));
        if (entry.kind == views::RowKind::Flag) {
            ASSERT_LT(check, specific.checks.size());
            EXPECT_EQ(specific.checks[check].text, entry.shown);
            EXPECT_EQ(specific.checks[check].checked, expected == u"True");
            ++check;
        } else if (expected) {
            ASSERT_LT(row, specific.rows.size());
            EXPECT_EQ(specific.rows[row].caption, std::u16string(entry.shown) + u" :");
            EXPECT_EQ(specific.rows[row].value, *expected);
            ++row;
        }
    }
    EXPECT_EQ(check, specific.checks.size());
    EXPECT_EQ(row, specific.rows.size());
    outside::CallMethod(device.Get(), u"Close");
}
