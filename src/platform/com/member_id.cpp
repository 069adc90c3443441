#include "member_id.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "text.h"

namespace zorv::com {

HRESULT MemberIdOf(IDispatch* object, std::u16string_view name, DISPID* id) {
    *id = DISPID_UNKNOWN;
    if (object == nullptr)
        return E_POINTER;
    // GetIDsOfNames wants a terminated, writable text; short names stay on the stack.
    char16_t buffer[64];
    std::u16string heap;
    char16_t* text = buffer;
    if (name.size() < std::size(buffer)) {
        std::copy(name.begin(), name.end(), buffer);
        buffer[name.size()] = 0;
    } else {
        heap.assign(name);
        text = heap.data();
    }
    LPOLESTR names[] = {ToOle(text)};
    return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

} // namespace zorv::com
