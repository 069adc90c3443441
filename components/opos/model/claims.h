#pragma once
// Exclusive claims on logical devices, shared by every object in the
// process, so that two objects opened on the same device behave as two
// applications would.
#include <string_view>

namespace zorv::opos {

// False when another owner holds the device.
bool TryClaim(std::u16string_view device, const void* owner);
void ReleaseClaim(std::u16string_view device, const void* owner);
bool ClaimedByAnother(std::u16string_view device, const void* owner);

} // namespace zorv::opos
