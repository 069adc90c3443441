// The common page against a test device: read order, guarded and unguarded
// reads, the power block.
#include <gtest/gtest.h>

#include <stdexcept>

#include "outside/ole_error.h"
#include "recording_views.h"
#include "test_device.h"
#include "views/common_properties.h"

using namespace zorv;
using namespace zorv::testing;
using views::CommonField;
using views::ShowCommonProperties;

namespace {

struct CommonProperty {
    std::u16string name;
    CommonField field;
    com::Variant value;
    std::u16string shown;
};

// In read order: an open printer's values and what each label shows.
const CommonProperty kCommon[] = {
    {u"State", CommonField::State, LONG{2}, u"OPOS_S_IDLE"},
    {u"ResultCode", CommonField::ResultCode, LONG{106}, u"OPOS_E_ILLEGAL"},
    {u"ResultCodeExtended", CommonField::ResultCodeExtended, LONG{-5}, u"-5"},
    {u"DeviceName", CommonField::DeviceName, u"SimPrinter", u"SimPrinter"},
    {u"DeviceDescription", CommonField::DeviceDescription, u"", u""},
    {u"ServiceObjectDescription", CommonField::ServiceObjectDescription, u"SO", u"SO"},
    {u"ServiceObjectVersion", CommonField::ServiceObjectVersion, LONG{1012003}, u"1012003"},
    {u"ControlObjectDescription", CommonField::ControlObjectDescription, u"CO", u"CO"},
    {u"ControlObjectVersion", CommonField::ControlObjectVersion, LONG{1013000}, u"1013000"},
    {u"Claimed", CommonField::Claimed, true, u"True"},
    {u"DeviceEnabled", CommonField::DeviceEnabled, false, u"False"},
    {u"DataEventEnabled", CommonField::DataEventEnabled, true, u"True"},
    {u"FreezeEvents", CommonField::FreezeEvents, false, u"False"},
    {u"AutoDisable", CommonField::AutoDisable, true, u"True"},
    {u"DataCount", CommonField::DataCount, LONG{3}, u"3"},
    {u"BinaryConversion", CommonField::BinaryConversion, LONG{1}, u"1"},
    {u"CapPowerReporting", CommonField::CapPowerReporting, LONG{1}, u"OPOS_PR_STANDARD"},
    {u"PowerState", CommonField::PowerState, LONG{2001}, u"OPOS_PS_ONLINE"},
};
constexpr std::size_t kFirstGuarded = 11; // DataEventEnabled

void GivePrinterValues(TestDevice& device) {
    for (const CommonProperty& p : kCommon)
        device.Log().properties[p.name] = p.value;
}

// Views that still show a previous refresh, so that untouched labels and a
// cleared specific page tell themselves apart.
struct ShownViews {
    RecordingCommonView common;
    RecordingSpecificView specific;
    ShownViews() {
        for (const CommonProperty& p : kCommon)
            common.values[p.field] = u"old";
        specific.AppendCheckItem(u"OldFlag", true);
        specific.AppendValueRow(u"Old :", u"1");
    }
};

enum class Fault { Missing, Raising, NotConvertible };

void Break(TestDevice& device, const std::u16string& property, Fault fault) {
    if (fault == Fault::Missing)
        device.Log().behaviour.missingMembers.insert(property);
    else if (fault == Fault::Raising)
        device.Log().behaviour.failingMembers[property] = u"Lecture impossible";
    else
        device.Log().properties[property] = com::Variant::Null(); // converts to nothing
}

} // namespace

TEST(CommonProperties, ReadsEveryPropertyInReadOrderAndShowsItFormatted) {
    TestDevice device;
    GivePrinterValues(device);
    ShownViews views;
    ShowCommonProperties(device.Object(), views.common, views.specific);

    for (std::size_t i = 0; i < std::size(kCommon); ++i) {
        EXPECT_EQ(device.Reads().at(i), kCommon[i].name);
        EXPECT_EQ(views.common.values[kCommon[i].field], kCommon[i].shown);
    }
    EXPECT_EQ(views.common.captionEnabled, true);
    EXPECT_TRUE(views.specific.checks.empty() && views.specific.rows.empty());
}

TEST(CommonProperties, LaterReadsAreGuardedEarlierOnesEndTheRefresh) {
    for (std::size_t failing = 0; failing < kFirstGuarded + 5; ++failing) {
        for (Fault fault : {Fault::Missing, Fault::Raising, Fault::NotConvertible}) {
            const std::u16string& name = kCommon[failing].name;
            SCOPED_TRACE(std::string(name.begin(), name.end()) + " fault " + std::to_string(int(fault)));
            TestDevice device;
            GivePrinterValues(device);
            Break(device, name, fault);
            ShownViews views;
            if (failing >= kFirstGuarded) {
                EXPECT_NO_THROW(ShowCommonProperties(device.Object(), views.common, views.specific));
                for (std::size_t i = 0; i < std::size(kCommon); ++i)
                    EXPECT_EQ(views.common.values[kCommon[i].field], i == failing ? u"" : kCommon[i].shown);
                continue;
            }
            EXPECT_THROW(ShowCommonProperties(device.Object(), views.common, views.specific),
                         outside::EOleError);
            for (std::size_t i = 0; i < std::size(kCommon); ++i)
                EXPECT_EQ(views.common.values[kCommon[i].field], i < failing ? kCommon[i].shown : u"old");
            // An unknown member fails at the name lookup, before any call is recorded.
            EXPECT_EQ(device.Reads().size(), failing + (fault == Fault::Missing ? 0 : 1));
            EXPECT_TRUE(views.specific.checks.empty() && views.specific.rows.empty());
        }
    }
}

TEST(CommonProperties, ThePowerBlockAbsorbsAutomationErrorsAndReadsPowerStateOnlyWhenReported) {
    const struct {
        const char* name;
        std::optional<com::Variant> reporting; // none: no such member
        bool powerStateFails;
        bool captionBefore;
        std::u16string reportingShown;
        std::u16string powerShown;
        bool captionAfter;
    } cases[] = {
        {"none", com::Variant(LONG{0}), false, true, u"OPOS_PR_NONE", u"", false},
        {"standard enables again", com::Variant(LONG{1}), false, false, u"OPOS_PR_STANDARD",
         u"OPOS_PS_ONLINE", true},
        {"negative is not none", com::Variant(LONG{-1}), false, true, u"-1", u"OPOS_PS_ONLINE", true},
        {"missing, greyed stays", std::nullopt, false, false, u"", u"", false},
        {"missing, enabled stays", std::nullopt, false, true, u"", u"", true},
        {"not a number", com::Variant(u"?"), false, true, u"", u"", true},
        {"PowerState fails", com::Variant(LONG{2}), true, false, u"", u"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestDevice device;
        GivePrinterValues(device);
        if (c.reporting)
            device.Log().properties[u"CapPowerReporting"] = *c.reporting;
        else
            device.Log().behaviour.missingMembers.insert(u"CapPowerReporting");
        if (c.powerStateFails)
            device.Log().behaviour.failingMembers[u"PowerState"] = u"Hors ligne";
        ShownViews views;
        views.common.captionEnabled = c.captionBefore;
        EXPECT_NO_THROW(ShowCommonProperties(device.Object(), views.common, views.specific));

        EXPECT_EQ(views.common.values[CommonField::CapPowerReporting], c.reportingShown);
        EXPECT_EQ(views.common.values[CommonField::PowerState], c.powerShown);
        EXPECT_EQ(views.common.captionEnabled, c.captionAfter);
        const bool reported = c.reporting && c.reporting->vt == VT_I4 && c.reporting->lVal != 0;
        EXPECT_EQ(device.Reads().back() == u"PowerState", reported);
    }
}

namespace {

// A page whose power label cannot be set: a failure that is not the device's.
class BrokenPowerLabel : public RecordingCommonView {
public:
    void SetValue(CommonField field, std::u16string_view text) override {
        if (field == CommonField::CapPowerReporting)
            throw std::runtime_error("label gone");
        RecordingCommonView::SetValue(field, text);
    }
};

} // namespace

TEST(CommonProperties, OnlyAutomationErrorsAreAbsorbedByThePowerBlock) {
    TestDevice device;
    GivePrinterValues(device);
    BrokenPowerLabel common;
    RecordingSpecificView specific;
    EXPECT_THROW(ShowCommonProperties(device.Object(), common, specific), std::runtime_error);
}
