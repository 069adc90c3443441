#pragma once
// Whether the program may open a device node, and if not, what would let it:
// the group that owns the node, or a udev rule when no group may.
#include <functional>
#include <string>

namespace zorv::opos::discovery {

// 0 when `path` may be opened with `mode` (R_OK, W_OK), else an errno value.
using AccessCheck = std::function<int(const std::string& path, int mode)>;

int SystemAccess(const std::string& path, int mode);

// Empty when allowed; otherwise the reason and the fix, in French.
std::string AccessAdvice(const std::string& node, int mode, const AccessCheck& check);

} // namespace zorv::opos::discovery
