#pragma once
// The engine's own variant: a type tag and an 8-byte payload. Texts and
// arrays are reference counted and shared until written (arrays have value
// semantics in VBScript); objects are IDispatch references. It becomes a
// VARIANT only at the object boundary (com_bridge.h).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct IDispatch;

namespace zorv::vbs {

// Heap-owning kinds come last so that one comparison tells them apart.
enum class VType : std::uint8_t {
    Empty,
    Null,
    Integer,
    Long,
    Single,
    Double,
    Currency,
    Date,
    Error,
    Boolean,
    Byte,
    Ref, // internal: a by-reference argument on its way to a procedure
    String,
    Object,
    Array,
};

struct StringRep {
    std::uint32_t refs;
    std::uint32_t length;
    std::uint32_t capacity;
    char16_t chars[1];

    static StringRep* Make(std::u16string_view text, std::size_t capacity);
};

class ScriptObject;
struct ArrayRep;

class Value {
public:
    Value() noexcept : head_(0), bits_(0) {}
    ~Value() {
        if (NeedsCare())
            ReleaseHeap();
    }
    Value(const Value& other) noexcept : head_(other.head_), bits_(other.bits_) {
        if (NeedsCare())
            AddRefHeap();
    }
    Value(Value&& other) noexcept : head_(other.head_), bits_(other.bits_) { other.head_ = 0; }
    // Plain values are overwritten in place; anything held is released only
    // after the new value is in, as releasing may run script code.
    Value& operator=(const Value& other) noexcept {
        if (!NeedsCare() && !other.NeedsCare()) {
            head_ = other.head_;
            bits_ = other.bits_;
            return *this;
        }
        Value copy(other);
        Swap(copy);
        return *this;
    }
    Value& operator=(Value&& other) noexcept {
        if (!NeedsCare() && this != &other) {
            head_ = other.head_;
            bits_ = other.bits_;
            other.head_ = 0;
            return *this;
        }
        Value moved(std::move(other));
        Swap(moved);
        return *this;
    }
    // Back to Empty. What was held is released after, from a local, as
    // releasing may run script code that uses the stack slot.
    void Clear() noexcept {
        if (NeedsCare()) {
            Value dying(std::move(*this));
        } else {
            head_ = 0;
        }
    }
    void Swap(Value& other) noexcept {
        std::swap(head_, other.head_);
        std::swap(bits_, other.bits_);
    }

    static Value Null() { return Make(VType::Null); }
    static Value Integer(std::int16_t v) { return MakeI(VType::Integer, v); }
    static Value Long(std::int32_t v) { return MakeI(VType::Long, v); }
    static Value Byte(std::uint8_t v) { return MakeI(VType::Byte, v); }
    static Value Bool(bool v) { return MakeI(VType::Boolean, v ? -1 : 0); }
    static Value ErrorCode(std::int32_t scode) { return MakeI(VType::Error, scode); }
    static Value Single(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return Value(static_cast<std::uint64_t>(VType::Single), bits);
    }
    static Value Double(double v) { return MakeD(VType::Double, v); }
    static Value Date(double v) { return MakeD(VType::Date, v); }
    static Value Currency(std::int64_t scaled) {
        Value r = Make(VType::Currency);
        r.cy_ = scaled;
        return r;
    }
    static Value String(std::u16string_view text);
    // A new text of `length` characters for the caller to write, checked
    // against the longest text and the memory bound before it is allocated.
    static Value StringToFill(std::size_t length, char16_t*& chars);
    // Takes a new reference; `script` marks an instance of a script class.
    static Value Object(IDispatch* object, bool script = false);
    static Value Nothing() { return Object(nullptr); }
    // Adopts the array's reference.
    static Value AdoptArray(ArrayRep* array) {
        Value r = Make(VType::Array);
        r.a_ = array;
        return r;
    }
    static Value RefTo(Value* target) {
        Value r = Make(VType::Ref);
        r.ref_ = target;
        return r;
    }
    // A reference to an array element (a ByRef argument `a(i)`): it locks the
    // array against ReDim and Erase and keeps its storage alive while it lives.
    static Value RefToElement(ArrayRep* array, std::uint32_t offset);
    // An argument left out (f(1,,3)); objects see DISP_E_PARAMNOTFOUND.
    static Value Missing();

    VType Type() const { return type_(); }
    bool Is(VType t) const { return type_() == t; }
    bool IsHeap() const { return type_() >= VType::String; }
    bool IsEmpty() const { return type_() == VType::Empty; }
    bool IsNull() const { return type_() == VType::Null; }
    bool IsObject() const { return type_() == VType::Object; }
    bool IsNothing() const { return type_() == VType::Object && o_ == nullptr; }
    bool IsScriptObject() const {
        return type_() == VType::Object && (flags_() & kScriptObject) != 0 && o_ != nullptr;
    }
    bool IsMissing() const;
    // Whether copies and releases count references (texts, arrays, objects,
    // element references): releasing such a value may run script code.
    bool Counted() const { return NeedsCare(); }
    // Back to Empty without releasing: only for a value that is not Counted.
    void ForgetPlain() noexcept { head_ = 0; }
    // Takes `v` in place of a value that is not Counted (nothing to release,
    // no self-assignment to guard against: the interpreter's fast paths).
    void ReplacePlain(Value&& v) noexcept {
        head_ = v.head_;
        bits_ = v.bits_;
        v.head_ = 0;
    }
    bool IsNumeric() const; // of a numeric subtype (not a numeric text)

    std::int32_t I() const { return i_; } // Integer, Long, Byte, Boolean, Error
    float F() const { return f_; }
    double D() const { return d_; } // Double, Date
    std::int64_t Cy() const { return cy_; }
    bool B() const { return i_ != 0; }
    IDispatch* Obj() const { return o_; }
    ScriptObject* Script() const;
    ArrayRep* Arr() const { return a_; }
    bool IsRef() const { return type_() == VType::Ref; }
    // The array an element reference points into, or null.
    const ArrayRep* PinnedArray() const { return IsRef() && (flags_() & kElementRef) ? a_ : nullptr; }
    Value* Target() const { return flags_() & kElementRef ? ElementTarget() : ref_; }
    std::u16string_view Str() const {
        return s_ ? std::u16string_view(s_->chars, s_->length) : std::u16string_view();
    }
    // Follows a Ref to the value it points at.
    const Value& Deref() const { return type_() == VType::Ref ? *Target() : *this; }
    Value& Deref() { return type_() == VType::Ref ? *Target() : *this; }

    // Byte strings (ChrB, LeftB, a BSTR of odd byte length) may hold an odd
    // number of bytes: the last one is kept after the characters and flagged,
    // so that functions on characters see whole characters only, as LenB and
    // the byte functions see every byte.
    static Value FromBytes(const std::uint8_t* bytes, std::size_t count);
    bool HasOddByte() const { return type_() == VType::String && (flags_() & kOddByte) != 0; }
    std::size_t ByteLength() const { return Str().size() * 2 + (HasOddByte() ? 1 : 0); }
    std::vector<std::uint8_t> Bytes() const;

    // Appends in place when this value is the text's only holder; the
    // engine's `s = s & x` leans on it for linear-time string building.
    void Append(std::u16string_view text);
    // Makes this array value the only holder of its elements before a write.
    ArrayRep& MutableArray();

    // Automation's VarType number (arrays: 0x2000 | 12).
    int VarType() const;

private:
    static constexpr std::uint8_t kScriptObject = 1;
    static constexpr std::uint8_t kElementRef = 2;
    static constexpr std::uint8_t kOddByte = 4;
    static constexpr std::uint8_t kOwns = 0x80; // holds a reference that copies and releases must count

    // Heap kinds, and Ref since an element reference holds its array.
    bool NeedsCare() const { return (head_ & (std::uint64_t{kOwns} << 8)) != 0; }
    Value* ElementTarget() const;

    Value(std::uint64_t head, std::uint64_t bits) noexcept : head_(head), bits_(bits) {}
    static Value Make(VType t) {
        const std::uint64_t owns = t >= VType::String ? std::uint64_t{kOwns} << 8 : 0;
        return Value(static_cast<std::uint64_t>(t) | owns, 0);
    }
    // The payload is written as one word, for the reason head_ is.
    static Value MakeI(VType t, std::int32_t v) {
        return Value(static_cast<std::uint64_t>(t), static_cast<std::uint32_t>(v));
    }
    static Value MakeD(VType t, double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return Value(static_cast<std::uint64_t>(t), bits);
    }
    void AddRefHeap() const;
    void ReleaseHeap();
    ArrayRep& UnshareArray();

    // Type, flags and an element reference's offset in one word, written
    // whole so that copying a value just made never stalls on partial stores.
    VType type_() const { return static_cast<VType>(static_cast<std::uint8_t>(head_)); }
    std::uint8_t flags_() const { return static_cast<std::uint8_t>(head_ >> 8); }
    std::uint32_t aux_() const { return static_cast<std::uint32_t>(head_ >> 32); }
    void SetHead(VType t, std::uint8_t flags, std::uint32_t aux = 0) {
        if (t >= VType::String || (flags & kElementRef))
            flags |= kOwns;
        head_ = static_cast<std::uint64_t>(t) | (std::uint64_t{flags} << 8) | (std::uint64_t{aux} << 32);
    }

    std::uint64_t head_;
    union {
        std::int32_t i_;
        float f_;
        double d_;
        std::int64_t cy_;
        StringRep* s_;
        IDispatch* o_;
        ArrayRep* a_;
        Value* ref_;
        std::uint64_t bits_;
    };
};

struct ArrayBound {
    std::int32_t lower;
    std::uint32_t count;
};

// Elements are stored leftmost index fastest, as SAFEARRAY stores them, so
// that ReDim Preserve of the last dimension keeps elements where they are.
struct ArrayRep {
    ArrayRep() = default;
    ArrayRep(const ArrayRep& other);
    ArrayRep& operator=(const ArrayRep&) = delete;
    ~ArrayRep();

    std::size_t charged = 0; // bytes counted against the memory guard
    std::uint32_t refs = 1;
    std::uint32_t locks = 0; // element references alive; storage lives while refs or locks remain
    bool fixed = false;      // Dim a(3): cannot be ReDimmed
    std::vector<ArrayBound> bounds;
    std::vector<Value> items;
    // A copy of a one-dimensional array's bound (count1 is 0 for any other
    // shape), so that a(i) needs neither `bounds` nor a loop.
    std::int32_t lower1 = 0;
    std::uint32_t count1 = 0;

    static ArrayRep* Make(std::vector<ArrayBound> bounds);
    // ReDim Preserve in place: when only the last dimension keeps or grows its
    // count, the elements stay where they are and the storage grows by half
    // again at least (charged to the memory guard), so that adding one element
    // at a time copies each a bounded number of times. False, with nothing
    // changed, for any other change of shape.
    bool GrowInPlace(std::vector<ArrayBound>& newBounds);
    // The element a(index) of a one-dimensional array, or null when the
    // array has another shape or the index is out of bounds.
    Value* Item1(std::int32_t index) {
        const auto i = static_cast<std::uint64_t>(std::int64_t{index} - lower1);
        return i < count1 ? items.data() + i : nullptr;
    }
    const Value* Item1(std::int32_t index) const { return const_cast<ArrayRep*>(this)->Item1(index); }
    // The element's offset, or -1 when an index is out of its bounds.
    std::ptrdiff_t Offset(const std::int32_t* indices, std::size_t count) const;
};

void ReleaseArray(ArrayRep* array);

// Ends an array or a class instance that lost its last holder. What that
// releases in turn (the next node of a linked list, the array inside an
// array) is queued and ended by the outermost call, so that a chain as long
// as the script cares to build never deepens the native stack.
void EndArray(ArrayRep* array);
void EndInstance(ScriptObject* object);

// The memory guard. Texts and arrays held by script values count against one
// process-wide bound (1 GiB unless the host sets another, e.g. through the
// script control's MemoryLimit); past
// it, or past 128 Mi characters in one text or 16 Mi elements in one array,
// the script gets error 7 instead of the machine running out.
void SetScriptMemoryLimit(std::size_t bytes);
std::size_t ScriptMemoryLimit();
std::size_t ScriptMemoryInUse();
void ChargeScriptMemory(std::size_t bytes); // throws error 7 past the bound
void RefundScriptMemory(std::size_t bytes);
// Memory charged to the guard for as long as its holder lives: what the
// compiler builds on its way (tokens, the syntax tree).
class MemoryHold {
public:
    MemoryHold() = default;
    ~MemoryHold() { RefundScriptMemory(bytes_); }
    MemoryHold(MemoryHold&& other) noexcept : bytes_(std::exchange(other.bytes_, 0)) {}
    MemoryHold& operator=(MemoryHold&& other) noexcept {
        std::swap(bytes_, other.bytes_);
        return *this;
    }
    void Charge(std::size_t bytes) {
        ChargeScriptMemory(bytes);
        bytes_ += bytes;
    }
    void Refund(std::size_t bytes) {
        bytes = std::min(bytes, bytes_);
        RefundScriptMemory(bytes);
        bytes_ -= bytes;
    }
    std::size_t Held() const { return bytes_; }

private:
    std::size_t bytes_ = 0;
};

// The running interpreter's step budget, which big allocations spend too
// (see Interpreter::Tick); returns the previous one.
int* SetWorkBudget(int* budget);
// Work done outside the interpreter's steps (characters compared, bytes
// filled) spends that budget, so the guard reads the clock sooner.
void SpendWork(std::size_t units);
// The heap a block of `bytes` takes with the allocator's header and rounding:
// what the memory guard charges for it.
std::size_t HeapFootprint(std::size_t bytes);

inline Value* Value::ElementTarget() const {
    return a_->items.data() + aux_();
}
inline ArrayRep& Value::MutableArray() {
    return a_->refs > 1 ? UnshareArray() : *a_;
}

} // namespace zorv::vbs
