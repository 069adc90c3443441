// The properties and methods every OPOS device has.
#include "model/device.h"
#include "model/opos_codes.h"
#include "platform/com/variant_value.h"

namespace zorv::opos {
namespace {

constexpr PropertyRow kCommonProperties[] = {
    {Prop::State, Long(OPOS_S_CLOSED)},
    {Prop::ResultCode, Long(OPOS_SUCCESS)},
    {Prop::ResultCodeExtended, Long(0)},
    {Prop::DeviceName, Text(u"")},
    {Prop::DeviceDescription, Text(u"")},
    {Prop::ServiceObjectDescription, Text(u"")},
    {Prop::ServiceObjectVersion, Long(kServiceObjectVersion)},
    {Prop::ControlObjectDescription, Text(u"")},
    {Prop::ControlObjectVersion, Long(kControlObjectVersion)},
    {Prop::Claimed, Flag(false)},
    {Prop::DeviceEnabled, Flag(false), Access::Custom},
    {Prop::DataEventEnabled, Flag(false), Access::Custom},
    {Prop::FreezeEvents, Flag(false), Access::Custom},
    {Prop::AutoDisable, Flag(false), Access::Writable},
    {Prop::DataCount, Long(0)},
    {Prop::BinaryConversion, Long(0), Access::Ranged, 0, OPOS_BC_DECIMAL},
    {Prop::CapPowerReporting, Long(OPOS_PR_STANDARD)},
    {Prop::PowerState, Long(OPOS_PS_UNKNOWN)},
    {Prop::PowerNotify, Long(OPOS_PN_DISABLED), Access::Custom},
    {Prop::CheckHealthText, Text(u"")},
    {Prop::OpenResult, Long(0)},
    {Prop::CapStatisticsReporting, Flag(true)},
    {Prop::CapUpdateStatistics, Flag(true)},
    {Prop::CapCompareFirmwareVersion, Flag(true)},
    {Prop::CapUpdateFirmware, Flag(true)},
};

LONG Open(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Open(args.String(0));
}

LONG Close(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Close();
}

LONG Claim(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Claim(args.Long(0));
}

LONG Release(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Release();
}

LONG CheckHealth(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.CheckHealth(args.Long(0));
}

LONG ClearInput(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.ClearInput();
}

LONG ClearInputProperties(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.ClearInputProperties();
}

LONG ClearOutput(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.ClearOutput();
}

// pData and pString come back to a caller that passed them by reference.
LONG DirectIO(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(3, 3);
    const LONG command = args.Long(0);
    LONG data = args.Long(1);
    std::u16string text = args.String(2);
    const LONG code = device.DirectIO(command, data, text);
    args.SetByRef(1, com::Variant(data));
    args.SetByRef(2, com::Variant(std::u16string_view(text)));
    return code;
}

// The statistics buffer goes in and the XML comes back in it.
LONG RetrieveStatistics(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    std::u16string buffer = args.String(0);
    const LONG code = device.RetrieveStatistics(buffer);
    if (code == OPOS_SUCCESS)
        args.SetByRef(0, com::Variant(std::u16string_view(buffer)));
    return code;
}

LONG ResetStatistics(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.ResetStatistics(args.String(0));
}

LONG UpdateStatistics(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.UpdateStatistics(args.String(0));
}

LONG CompareFirmwareVersion(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    LONG result = OPOS_CFV_FIRMWARE_UNKNOWN;
    const LONG code = device.CompareFirmwareVersion(args.String(0), result);
    args.SetByRef(1, com::Variant(result));
    return code;
}

LONG UpdateFirmware(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.UpdateFirmware(args.String(0));
}

constexpr MethodRow kCommonMethods[] = {
    {u"Open", Open},
    {u"Close", Close},
    {u"Claim", Claim},
    {u"ClaimDevice", Claim},
    {u"Release", Release},
    {u"ReleaseDevice", Release},
    {u"CheckHealth", CheckHealth},
    {u"ClearInput", ClearInput},
    {u"ClearOutput", ClearOutput},
    {u"DirectIO", DirectIO},
    {u"RetrieveStatistics", RetrieveStatistics},
    {u"ResetStatistics", ResetStatistics},
    {u"UpdateStatistics", UpdateStatistics},
    {u"CompareFirmwareVersion", CompareFirmwareVersion},
    {u"UpdateFirmware", UpdateFirmware},
    {u"ClearInputProperties", ClearInputProperties},
};

} // namespace

std::span<const PropertyRow> CommonProperties() {
    return kCommonProperties;
}
std::span<const MethodRow> CommonMethods() {
    return kCommonMethods;
}

} // namespace zorv::opos
