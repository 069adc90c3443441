#include "backends/input_backends.h"

#include "backends/unusable_device.h"
#include "platform/com/text.h"
#include "transport/reach.h"

namespace zorv::opos::real {

std::unique_ptr<Backend> MakeInputBackend(const Profile&, const transport::Connection& connection) {
    return std::make_unique<UnusableDevice>(com::Utf8ToUtf16(transport::UnreachableHere(connection)),
                                            UnusableDevice::RefusesOpen::Yes);
}

} // namespace zorv::opos::real
