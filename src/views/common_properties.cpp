#include "views/common_properties.h"

#include <string_view>

#include "outside/late_bound.h"
#include "views/decimal_text.h"
#include "views/opos/OPOS_H.h"
#include "views/opos_names.h"

namespace zorv::views {

namespace {

using outside::ToBool;
using outside::ToLong;
using outside::ToText;

using Format = std::u16string (*)(const com::Variant&);

std::u16string AsState(const com::Variant& value) {
    return StateToStr(ToLong(value));
}
std::u16string AsResultCode(const com::Variant& value) {
    return ResultCodeToStr(ToLong(value));
}
std::u16string AsDecimal(const com::Variant& value) {
    return DecimalText(ToLong(value));
}
std::u16string AsText(const com::Variant& value) {
    return ToText(value);
}
std::u16string AsBoolean(const com::Variant& value) {
    return BooleanToStr(ToBool(value));
}

struct CommonRead {
    CommonField field;
    std::u16string_view property;
    Format format;
    // A guarded read empties its label on any failure instead of ending the refresh.
    bool guarded;
};

// Read order, not display order: it decides which labels a failed read leaves updated.
constexpr CommonRead kCommonReads[] = {
    {CommonField::State, u"State", AsState, false},
    {CommonField::ResultCode, u"ResultCode", AsResultCode, false},
    {CommonField::ResultCodeExtended, u"ResultCodeExtended", AsDecimal, false},
    {CommonField::DeviceName, u"DeviceName", AsText, false},
    {CommonField::DeviceDescription, u"DeviceDescription", AsText, false},
    {CommonField::ServiceObjectDescription, u"ServiceObjectDescription", AsText, false},
    {CommonField::ServiceObjectVersion, u"ServiceObjectVersion", AsDecimal, false},
    {CommonField::ControlObjectDescription, u"ControlObjectDescription", AsText, false},
    {CommonField::ControlObjectVersion, u"ControlObjectVersion", AsDecimal, false},
    {CommonField::Claimed, u"Claimed", AsBoolean, false},
    {CommonField::DeviceEnabled, u"DeviceEnabled", AsBoolean, false},
    {CommonField::DataEventEnabled, u"DataEventEnabled", AsBoolean, true},
    {CommonField::FreezeEvents, u"FreezeEvents", AsBoolean, true},
    {CommonField::AutoDisable, u"AutoDisable", AsBoolean, true},
    {CommonField::DataCount, u"DataCount", AsDecimal, true},
    {CommonField::BinaryConversion, u"BinaryConversion", AsDecimal, true},
};

void ShowRead(IDispatch* device, const CommonRead& read, CommonPropertiesView& view) {
    view.SetValue(read.field, read.format(outside::GetProperty(device, read.property)));
}

void ShowGuardedRead(IDispatch* device, const CommonRead& read, CommonPropertiesView& view) {
    try {
        ShowRead(device, read, view);
    } catch (...) {
        // Any failure at all: these properties are optional for some devices.
        view.SetValue(read.field, u"");
    }
}

LONG ReadLong(IDispatch* device, std::u16string_view property) {
    return ToLong(outside::GetProperty(device, property));
}

// PowerState is read only from a device that reports power at all.
void ShowPower(IDispatch* device, CommonPropertiesView& view) {
    const LONG reporting = ReadLong(device, u"CapPowerReporting");
    view.SetValue(CommonField::CapPowerReporting, PowerReportingToStr(reporting));
    if (reporting == opos::OPOS_PR_NONE) {
        view.SetValue(CommonField::PowerState, u"");
        view.SetPowerStateCaptionEnabled(false);
        return;
    }
    view.SetValue(CommonField::PowerState, PowerStateToStr(ReadLong(device, u"PowerState")));
    // A caption greyed by an earlier device without power reporting would mislead now.
    view.SetPowerStateCaptionEnabled(true);
}

// Only automation errors are absorbed here; the caption keeps its state.
void ShowPowerGuarded(IDispatch* device, CommonPropertiesView& view) {
    try {
        ShowPower(device, view);
    } catch (const outside::EOleError&) {
        view.SetValue(CommonField::CapPowerReporting, u"");
        view.SetValue(CommonField::PowerState, u"");
    }
}

} // namespace

std::u16string BooleanToStr(bool value) {
    return value ? u"True" : u"False";
}

void ShowCommonProperties(IDispatch* device, CommonPropertiesView& common, SpecificPropertiesView& specific) {
    specific.Clear();
    for (const CommonRead& read : kCommonReads) {
        if (read.guarded)
            ShowGuardedRead(device, read, common);
        else
            ShowRead(device, read, common);
    }
    ShowPowerGuarded(device, common);
}

} // namespace zorv::views
