#pragma once
// The type information a kind's control object describes itself with: the
// class, and its event interface with each event's name and parameters, so
// that a script host can bind procedures named after the events.
#include "kinds/kind_table.h"
#include "platform/com/com_ptr.h"
#include "platform/com/type_info.h"

namespace zorv::opos {

com::ComPtr<ITypeInfo> ClassInfoOf(const KindInfo& kind);

} // namespace zorv::opos
