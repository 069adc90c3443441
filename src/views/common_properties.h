#pragma once
// The common properties page: the eighteen properties every OPOS device has.
#include <string>

#include "platform/com/dispatch.h"
#include "views/common_properties_view.h"
#include "views/kind_properties_view.h"

namespace zorv::views {

// "True" / "False", in English as everywhere on the common page.
std::u16string BooleanToStr(bool value);

// Empties the specific page, then reads and shows the common properties of
// `device`. A failed read of State to DeviceEnabled raises EOleError and ends
// the refresh; the later reads are guarded and empty their own labels.
void ShowCommonProperties(IDispatch* device, CommonPropertiesView& common, SpecificPropertiesView& specific);

} // namespace zorv::views
