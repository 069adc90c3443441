#pragma once
// The specific properties page's check list ClProp and value list LvProp, as
// the logic that fills them sees them; the window implements it with widgets.
#include <string_view>

namespace zorv::views {

class SpecificPropertiesView {
public:
    virtual ~SpecificPropertiesView() = default;
    // Removes every item of both lists.
    virtual void Clear() = 0;
    virtual void AppendCheckItem(std::u16string_view text, bool checked) = 0;
    virtual void AppendValueRow(std::u16string_view caption, std::u16string_view value) = 0;
};

} // namespace zorv::views
