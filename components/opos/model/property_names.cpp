#include "model/property_names.h"

#include <array>

#include "platform/com/text.h"

namespace zorv::opos {

std::u16string_view PropName(Prop prop) {
    static constexpr std::array<std::u16string_view, kPropCount> names = {
#define ZORV_OPOS_NAME(name) u"" #name,
        ZORV_OPOS_PROPERTIES(ZORV_OPOS_NAME)
#undef ZORV_OPOS_NAME
    };
    return names[static_cast<std::size_t>(prop)];
}

std::optional<Prop> PropByName(std::u16string_view name) {
    for (std::size_t i = 0; i < kPropCount; ++i)
        if (com::EqualsIgnoringCase(PropName(static_cast<Prop>(i)), name))
            return static_cast<Prop>(i);
    return std::nullopt;
}

} // namespace zorv::opos
