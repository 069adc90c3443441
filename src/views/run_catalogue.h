#pragma once
// The one loop that shows any kind's catalogue on the specific page.
#include <functional>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "views/catalogue_entry.h"
#include "views/kind_properties_view.h"

namespace zorv::views {

// Fetches the current device object; called afresh before every read.
using DeviceObjectSource = std::function<com::ComPtr<IDispatch>()>;

// Reads the entries in order and adds each row at once. The first read or
// conversion that fails raises EOleError and ends the run; rows already
// added stay.
void RunCatalogue(Catalogue catalogue, const DeviceObjectSource& deviceObject, SpecificPropertiesView& view);

} // namespace zorv::views
