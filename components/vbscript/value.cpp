#include "value.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <utility>

#include "platform/com/dispatch.h"
#include "script_error.h"
#include "script_object.h"

namespace zorv::vbs {

namespace {

constexpr std::size_t kMaxStringLength = std::size_t{1} << 27;
constexpr std::size_t kMaxArrayElements = std::size_t{1} << 24;

// Well under the machine's memory: a runaway script stops with error 7
// rather than being killed. Hosts may set another bound.
constexpr std::size_t kDefaultMemoryLimit = std::size_t{1} << 30;

std::atomic<std::size_t> memoryLimit{kDefaultMemoryLimit};
std::atomic<std::size_t> memoryInUse{0};

std::size_t StringBytes(std::size_t capacity) {
    return sizeof(StringRep) + capacity * sizeof(char16_t);
}

// What the text costs the heap: the allocator's header and rounding count,
// or a million short texts would hold half as much again as was charged.
std::size_t StringFootprint(std::size_t capacity) {
    return HeapFootprint(StringBytes(capacity));
}

std::size_t ArrayFootprint(std::size_t elements, std::size_t dimensions) {
    std::size_t bytes = HeapFootprint(sizeof(ArrayRep));
    if (elements > 0)
        bytes += HeapFootprint(elements * sizeof(Value));
    if (dimensions > 0)
        bytes += HeapFootprint(dimensions * sizeof(ArrayBound));
    return bytes;
}

void FreeString(StringRep* rep) {
    RefundScriptMemory(StringFootprint(rep->capacity));
    std::free(rep);
}

} // namespace

void SetScriptMemoryLimit(std::size_t bytes) {
    memoryLimit.store(bytes, std::memory_order_relaxed);
}
std::size_t ScriptMemoryLimit() {
    return memoryLimit.load(std::memory_order_relaxed);
}
std::size_t ScriptMemoryInUse() {
    return memoryInUse.load(std::memory_order_relaxed);
}

namespace {
thread_local int* workBudget = nullptr;
} // namespace

int* SetWorkBudget(int* budget) {
    return std::exchange(workBudget, budget);
}

void SpendWork(std::size_t units) {
    if (workBudget != nullptr && *workBudget > 0)
        *workBudget -= static_cast<int>(std::min<std::size_t>(units, std::size_t{1} << 20));
}

std::size_t HeapFootprint(std::size_t bytes) {
    constexpr std::size_t kHeader = sizeof(std::size_t);
    constexpr std::size_t kAlign = 2 * sizeof(std::size_t);
    const std::size_t chunk = (bytes + kHeader + kAlign - 1) & ~(kAlign - 1);
    return std::max(chunk, 2 * kAlign);
}

void ChargeScriptMemory(std::size_t bytes) {
    // Filling and later freeing big blocks is work the step count does not
    // see: one unit per 64 bytes brings the runaway guard's clock read closer.
    SpendWork(bytes / 64);
    const std::size_t before = memoryInUse.fetch_add(bytes, std::memory_order_relaxed);
    if (before + bytes > memoryLimit.load(std::memory_order_relaxed)) {
        memoryInUse.fetch_sub(bytes, std::memory_order_relaxed);
        throw ScriptError(kErrOutOfMemory);
    }
}

void RefundScriptMemory(std::size_t bytes) {
    memoryInUse.fetch_sub(bytes, std::memory_order_relaxed);
}

StringRep* StringRep::Make(std::u16string_view text, std::size_t capacity) {
    if (capacity < text.size())
        capacity = text.size();
    if (capacity > kMaxStringLength) {
        if (text.size() > kMaxStringLength)
            throw ScriptError(kErrOutOfMemory);
        capacity = kMaxStringLength;
    }
    ChargeScriptMemory(StringFootprint(capacity));
    void* memory = std::malloc(StringBytes(capacity));
    if (memory == nullptr) {
        RefundScriptMemory(StringFootprint(capacity));
        throw ScriptError(kErrOutOfMemory);
    }
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

Value Value::StringToFill(std::size_t length, char16_t*& chars) {
    Value r = Make(VType::String);
    chars = nullptr;
    if (length == 0)
        return r;
    if (length > kMaxStringLength)
        throw ScriptError(kErrOutOfMemory);
    r.s_ = StringRep::Make({}, length);
    r.s_->length = static_cast<std::uint32_t>(length);
    chars = r.s_->chars;
    return r;
}

Value Value::FromBytes(const std::uint8_t* bytes, std::size_t count) {
    const std::size_t whole = count / 2;
    const bool odd = count % 2 != 0;
    Value r = Make(VType::String);
    if (count == 0)
        return r;
    r.s_ = StringRep::Make({}, whole + (odd ? 1 : 0));
    for (std::size_t i = 0; i < whole; ++i)
        r.s_->chars[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    r.s_->length = static_cast<std::uint32_t>(whole);
    if (odd) {
        r.s_->chars[whole] = bytes[count - 1];
        r.SetHead(VType::String, kOddByte);
    }
    return r;
}

namespace {

// Each character as two bytes, low byte first, as a BSTR holds it.
void AppendCharBytes(std::vector<std::uint8_t>& bytes, std::u16string_view text) {
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
}

} // namespace

std::vector<std::uint8_t> Value::Bytes() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(ByteLength());
    AppendCharBytes(bytes, Str());
    if (HasOddByte())
        bytes.push_back(static_cast<std::uint8_t>(s_->chars[s_->length] & 0xFF));
    return bytes;
}

Value Value::Object(IDispatch* object, bool script) {
    Value r = Make(VType::Object);
    r.o_ = object;
    r.SetHead(VType::Object, script ? kScriptObject : 0);
    if (object != nullptr)
        object->AddRef();
    return r;
}

Value Value::RefToElement(ArrayRep* array, std::uint32_t offset) {
    Value r = Make(VType::Ref);
    r.SetHead(VType::Ref, kElementRef, offset);
    r.a_ = array;
    ++array->locks;
    return r;
}

Value Value::Missing() {
    return ErrorCode(DISP_E_PARAMNOTFOUND);
}

bool Value::IsMissing() const {
    return type_() == VType::Error && i_ == DISP_E_PARAMNOTFOUND;
}

bool Value::IsNumeric() const {
    switch (type_()) {
    case VType::Integer:
    case VType::Long:
    case VType::Single:
    case VType::Double:
    case VType::Currency:
    case VType::Byte:
    case VType::Boolean:
    case VType::Date:
        return true;
    default:
        return false;
    }
}

ScriptObject* Value::Script() const {
    return IsScriptObject() ? static_cast<ScriptObject*>(o_) : nullptr;
}

void Value::AddRefHeap() const {
    switch (type_()) {
    case VType::String:
        if (s_)
            ++s_->refs;
        break;
    case VType::Object:
        if (o_)
            o_->AddRef();
        break;
    case VType::Array:
        ++a_->refs;
        break;
    case VType::Ref:
        if (flags_() & kElementRef)
            ++a_->locks;
        break;
    default:
        break;
    }
}

void Value::ReleaseHeap() {
    switch (type_()) {
    case VType::String:
        if (s_ && --s_->refs == 0)
            FreeString(s_);
        break;
    case VType::Object:
        if (o_)
            o_->Release();
        break;
    case VType::Array:
        ReleaseArray(a_);
        break;
    case VType::Ref:
        if ((flags_() & kElementRef) && --a_->locks == 0 && a_->refs == 0)
            EndArray(a_);
        break;
    default:
        break;
    }
    head_ = 0;
}

void Value::Append(std::u16string_view text) {
    if (type_() != VType::String) {
        *this = String(text);
        return;
    }
    if (text.empty())
        return;
    if (HasOddByte()) {
        // The characters start mid-character: join byte by byte.
        std::vector<std::uint8_t> bytes = Bytes();
        AppendCharBytes(bytes, text);
        *this = FromBytes(bytes.data(), bytes.size());
        return;
    }
    const std::size_t length = s_ ? s_->length : 0;
    const std::size_t needed = length + text.size();
    if (needed > kMaxStringLength)
        throw ScriptError(kErrOutOfMemory);
    if (s_ && s_->refs == 1 && needed <= s_->capacity) {
        std::memcpy(s_->chars + length, text.data(), text.size() * sizeof(char16_t));
        s_->length = static_cast<std::uint32_t>(needed);
        return;
    }
    StringRep* grown = StringRep::Make(Str(), needed < 16 ? 16 : needed + needed / 2);
    std::memcpy(grown->chars + length, text.data(), text.size() * sizeof(char16_t));
    grown->length = static_cast<std::uint32_t>(needed);
    if (s_ && --s_->refs == 0)
        FreeString(s_);
    s_ = grown;
}

ArrayRep& Value::UnshareArray() {
    auto* copy = new ArrayRep(*a_);
    copy->refs = 1;
    copy->locks = 0;
    ReleaseArray(a_);
    a_ = copy;
    return *a_;
}

int Value::VarType() const {
    switch (type_()) {
    case VType::Empty:
        return 0;
    case VType::Null:
        return 1;
    case VType::Integer:
        return 2;
    case VType::Long:
        return 3;
    case VType::Single:
        return 4;
    case VType::Double:
        return 5;
    case VType::Currency:
        return 6;
    case VType::Date:
        return 7;
    case VType::String:
        return 8;
    case VType::Object:
        return 9;
    case VType::Error:
        return 10;
    case VType::Boolean:
        return 11;
    case VType::Byte:
        return 17;
    case VType::Array:
        return 0x2000 | 12;
    case VType::Ref:
        return Target()->VarType();
    }
    return 0;
}

ArrayRep* ArrayRep::Make(std::vector<ArrayBound> bounds) {
    std::size_t total = 1;
    for (const ArrayBound& b : bounds) {
        if (b.count != 0 && total > kMaxArrayElements / b.count)
            throw ScriptError(kErrOutOfMemory);
        total *= b.count;
    }
    const std::size_t bytes = ArrayFootprint(total, bounds.size());
    ChargeScriptMemory(bytes);
    auto* array = new ArrayRep;
    array->charged = bytes;
    array->bounds = std::move(bounds);
    array->items.resize(total);
    if (array->bounds.size() == 1) {
        array->lower1 = array->bounds[0].lower;
        array->count1 = array->bounds[0].count;
    }
    return array;
}

bool ArrayRep::GrowInPlace(std::vector<ArrayBound>& newBounds) {
    if (newBounds.empty() || newBounds.size() != bounds.size())
        return false;
    std::size_t total = 1;
    for (std::size_t d = 0; d < newBounds.size(); ++d) {
        const std::uint32_t count = newBounds[d].count;
        if (d + 1 < newBounds.size() && count != bounds[d].count)
            return false;
        if (count != 0 && total > kMaxArrayElements / count)
            throw ScriptError(kErrOutOfMemory);
        total *= count;
    }
    if (total < items.size())
        return false; // shrinking releases elements: the general path
    if (total > items.capacity()) {
        const std::size_t capacity = std::min(std::max(total, items.capacity() + items.capacity() / 2),
                                              std::max(total, kMaxArrayElements));
        const std::size_t footprint = ArrayFootprint(capacity, newBounds.size());
        const std::size_t more = footprint > charged ? footprint - charged : 0;
        ChargeScriptMemory(more);
        try {
            items.reserve(capacity);
        } catch (...) {
            RefundScriptMemory(more);
            throw;
        }
        charged += more;
    }
    items.resize(total);
    bounds = std::move(newBounds);
    if (bounds.size() == 1) {
        lower1 = bounds[0].lower;
        count1 = bounds[0].count;
    }
    return true;
}

ArrayRep::ArrayRep(const ArrayRep& other)
    : fixed(other.fixed), bounds(other.bounds), lower1(other.lower1), count1(other.count1) {
    const std::size_t bytes = ArrayFootprint(other.items.size(), other.bounds.size());
    ChargeScriptMemory(bytes);
    charged = bytes;
    try {
        items = other.items;
    } catch (...) {
        RefundScriptMemory(charged);
        throw;
    }
}

ArrayRep::~ArrayRep() {
    RefundScriptMemory(charged);
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
    if (--array->refs == 0 && array->locks == 0)
        EndArray(array);
}

namespace {

struct Dying {
    ArrayRep* array;
    ScriptObject* object;
};

// Above zero while an array's elements or an instance's fields are being
// destroyed: what they release then waits in the queue.
thread_local int dismantling = 0;
thread_local std::vector<Dying> dyingQueue;

class Dismantling {
public:
    Dismantling() { ++dismantling; }
    ~Dismantling() { --dismantling; }
    Dismantling(const Dismantling&) = delete;
    Dismantling& operator=(const Dismantling&) = delete;
};

void EndOne(const Dying& dying) {
    const std::size_t mark = dyingQueue.size();
    if (dying.array != nullptr) {
        Dismantling scope;
        delete dying.array;
    } else if (dying.object->LastRelease()) {
        Dismantling scope;
        dying.object->Destroy();
    }
    // What one holder released ends in the order it was held, before
    // anything queued earlier: the order a recursive release would follow.
    std::reverse(dyingQueue.begin() + static_cast<std::ptrdiff_t>(mark), dyingQueue.end());
}

// Class_Terminate runs with `dismantling` at zero, so what its code releases
// ends at once; such a nested call drains only what it queued itself.
void End(const Dying& dying) {
    if (dismantling > 0) {
        dyingQueue.push_back(dying);
        return;
    }
    const std::size_t floor = dyingQueue.size();
    EndOne(dying);
    while (dyingQueue.size() > floor) {
        const Dying next = dyingQueue.back();
        dyingQueue.pop_back();
        EndOne(next);
    }
}

} // namespace

void EndArray(ArrayRep* array) {
    End(Dying{array, nullptr});
}
void EndInstance(ScriptObject* object) {
    End(Dying{nullptr, object});
}

} // namespace zorv::vbs
