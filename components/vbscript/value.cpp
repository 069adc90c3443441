#include "value.h"

#include <cstdlib>
#include <new>

#include "platform/com/dispatch.h"
#include "script_error.h"
#include "script_object.h"

namespace zorv::vbs {

namespace {
// VBScript's own bound on a text; well under what the machine offers.
constexpr std::size_t kMaxStringLength = 0x7FFFFFF0 / 2;
} // namespace

StringRep* StringRep::Make(std::u16string_view text, std::size_t capacity) {
    if (capacity < text.size())
        capacity = text.size();
    if (capacity > kMaxStringLength)
        throw ScriptError(kErrOutOfStringSpace);
    void* memory = std::malloc(sizeof(StringRep) + capacity * sizeof(char16_t));
    if (memory == nullptr)
        throw ScriptError(kErrOutOfMemory);
    auto* rep = static_cast<StringRep*>(memory);
    rep->refs = 1;
    rep->length = static_cast<std::uint32_t>(text.size());
    rep->capacity = static_cast<std::uint32_t>(capacity);
    if (!text.empty())
        std::memcpy(rep->chars, text.data(), text.size() * sizeof(char16_t));
    return rep;
}

Value Value::String(std::u16string_view text) {
    Value r = Make(VType::String);
    r.s_ = text.empty() ? nullptr : StringRep::Make(text, text.size());
    return r;
}

Value Value::Object(IDispatch* object, bool script) {
    Value r = Make(VType::Object);
    r.o_ = object;
    r.flags_ = script ? kScriptObject : 0;
    if (object != nullptr)
        object->AddRef();
    return r;
}

Value Value::Missing() { return ErrorCode(DISP_E_PARAMNOTFOUND); }

bool Value::IsMissing() const { return type_ == VType::Error && i_ == DISP_E_PARAMNOTFOUND; }

bool Value::IsNumeric() const {
    switch (type_) {
    case VType::Integer:
    case VType::Long:
    case VType::Single:
    case VType::Double:
    case VType::Currency:
    case VType::Byte:
    case VType::Boolean:
    case VType::Date: return true;
    default: return false;
    }
}

ScriptObject* Value::Script() const { return IsScriptObject() ? static_cast<ScriptObject*>(o_) : nullptr; }

void Value::AddRefHeap() const {
    switch (type_) {
    case VType::String:
        if (s_)
            ++s_->refs;
        break;
    case VType::Object:
        if (o_)
            o_->AddRef();
        break;
    case VType::Array: ++a_->refs; break;
    default: break;
    }
}

void Value::ReleaseHeap() {
    switch (type_) {
    case VType::String:
        if (s_ && --s_->refs == 0)
            std::free(s_);
        break;
    case VType::Object:
        if (o_)
            o_->Release();
        break;
    case VType::Array: ReleaseArray(a_); break;
    default: break;
    }
    type_ = VType::Empty;
}

void Value::Append(std::u16string_view text) {
    if (type_ != VType::String) {
        *this = String(text);
        return;
    }
    if (text.empty())
        return;
    const std::size_t length = s_ ? s_->length : 0;
    const std::size_t needed = length + text.size();
    if (s_ && s_->refs == 1 && needed <= s_->capacity) {
        std::memcpy(s_->chars + length, text.data(), text.size() * sizeof(char16_t));
        s_->length = static_cast<std::uint32_t>(needed);
        return;
    }
    StringRep* grown = StringRep::Make(Str(), needed < 16 ? 16 : needed + needed / 2);
    std::memcpy(grown->chars + length, text.data(), text.size() * sizeof(char16_t));
    grown->length = static_cast<std::uint32_t>(needed);
    if (s_ && --s_->refs == 0)
        std::free(s_);
    s_ = grown;
}

ArrayRep& Value::MutableArray() {
    if (a_->refs > 1) {
        auto* copy = new ArrayRep(*a_);
        copy->refs = 1;
        copy->locks = 0;
        ReleaseArray(a_);
        a_ = copy;
    }
    return *a_;
}

int Value::VarType() const {
    switch (type_) {
    case VType::Empty: return 0;
    case VType::Null: return 1;
    case VType::Integer: return 2;
    case VType::Long: return 3;
    case VType::Single: return 4;
    case VType::Double: return 5;
    case VType::Currency: return 6;
    case VType::Date: return 7;
    case VType::String: return 8;
    case VType::Object: return 9;
    case VType::Error: return 10;
    case VType::Boolean: return 11;
    case VType::Byte: return 17;
    case VType::Array: return 0x2000 | 12;
    case VType::Ref: return ref_->VarType();
    }
    return 0;
}

ArrayRep* ArrayRep::Make(std::vector<ArrayBound> bounds) {
    std::size_t total = 1;
    for (const ArrayBound& b : bounds) {
        if (b.count != 0 && total > (std::size_t{1} << 24) / b.count)
            throw ScriptError(kErrOutOfMemory);
        total *= b.count;
    }
    auto* array = new ArrayRep;
    array->bounds = std::move(bounds);
    array->items.resize(total);
    return array;
}

std::ptrdiff_t ArrayRep::Offset(const std::int32_t* indices, std::size_t count) const {
    if (count != bounds.size())
        return -1;
    std::ptrdiff_t offset = 0;
    std::ptrdiff_t stride = 1;
    for (std::size_t d = 0; d < count; ++d) {
        const std::int64_t i = std::int64_t{indices[d]} - bounds[d].lower;
        if (i < 0 || i >= bounds[d].count)
            return -1;
        offset += static_cast<std::ptrdiff_t>(i) * stride;
        stride *= bounds[d].count;
    }
    return offset;
}

void ReleaseArray(ArrayRep* array) {
    if (--array->refs == 0)
        delete array;
}

} // namespace zorv::vbs
