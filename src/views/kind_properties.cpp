#include "views/kind_properties.h"

#include "views/catalogues.h"
#include "views/common_properties.h"

namespace zorv::views {

using devices::DeviceKindId;

void ShowKindProperties(DeviceKindId kind, const DeviceObjectSource& deviceObject,
                        CommonPropertiesView& common, SpecificPropertiesView& specific) {
    ShowCommonProperties(deviceObject().Get(), common, specific);
    RunCatalogue(CatalogueOf(kind), deviceObject, specific);
}

} // namespace zorv::views
