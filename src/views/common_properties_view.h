#pragma once
// What the common properties page's value labels and the PowerState caption
// are to the logic that fills them; the window implements it with widgets.
#include <string_view>

namespace zorv::views {

enum class CommonField {
    State,
    ResultCode,
    ResultCodeExtended,
    ControlObjectDescription,
    ControlObjectVersion,
    ServiceObjectDescription,
    ServiceObjectVersion,
    DeviceName,
    DeviceDescription,
    Claimed,
    DeviceEnabled,
    DataEventEnabled,
    FreezeEvents,
    AutoDisable,
    DataCount,
    BinaryConversion,
    CapPowerReporting,
    PowerState
};

class CommonPropertiesView {
public:
    virtual ~CommonPropertiesView() = default;
    virtual void SetValue(CommonField field, std::u16string_view text) = 0;
    virtual void SetPowerStateCaptionEnabled(bool enabled) = 0;
};

} // namespace zorv::views
