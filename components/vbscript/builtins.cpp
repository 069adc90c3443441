#include "builtins.h"

#include "builtins_library.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <unordered_map>

#include "com_bridge.h"
#include "conversion.h"
#include "currency.h"
#include "dynamic_code.h"
#include "engine.h"
#include "interpreter.h"
#include "operators.h"
#include "platform/com/case_mapping.h"
#include "platform/com/class_table.h"
#include "platform/com/com_ptr.h"
#include "platform/com/date_number_rules.h"
#include "platform/com/described_type.h"
#include "platform/com/text.h"
#include "platform/ui/user_interface.h"
#include "regexp.h"
#include "script_object.h"

namespace zorv::vbs {

bool library::Given(Args args, std::size_t i) {
    return i < args.size() && !args[i].IsMissing();
}

namespace {

using Args = std::span<Value>;

bool Given(Args args, std::size_t i) {
    return i < args.size() && !args[i].IsMissing();
}

[[noreturn]] void InvalidCall() {
    throw ScriptError(kErrInvalidCall);
}

std::int32_t LongArg(Args args, std::size_t i, std::int32_t fallback) {
    return Given(args, i) ? ToLong(args[i]) : fallback;
}

CompareMode ModeArg(Args args, std::size_t i) {
    if (!Given(args, i))
        return CompareMode::Binary;
    const std::int32_t mode = ToLong(args[i]);
    if (mode < 0 || mode > 1)
        InvalidCall();
    return mode == 1 ? CompareMode::Text : CompareMode::Binary;
}

Value Text(std::u16string_view text) {
    return Value::String(text);
}

// An argument's text without a copy when it is a text already. Any other
// value converts into a temporary that is charged to the memory guard too.
class TextArg {
public:
    explicit TextArg(const Value& v) {
        if (v.Is(VType::String)) {
            view_ = v.Str();
            return;
        }
        owned_ = ToText(v);
        view_ = owned_;
        charged_ = HeapFootprint(owned_.capacity() * sizeof(char16_t));
        ChargeScriptMemory(charged_);
    }
    ~TextArg() { RefundScriptMemory(charged_); }
    TextArg(const TextArg&) = delete;
    TextArg& operator=(const TextArg&) = delete;

    std::u16string_view View() const { return view_; }

private:
    std::u16string owned_;
    std::u16string_view view_;
    std::size_t charged_ = 0;
};

// Long texts are worked through in slices; each slice spends the runaway
// guard's budget, so one call on a huge text still meets the clock. A slice
// costs about one period of the guard (see Interpreter::Tick).
constexpr std::size_t kSlice = std::size_t{1} << 16;
constexpr std::size_t kCharsPerStep = 16;

void SpendChars(Interpreter& vm, std::size_t chars) {
    vm.SpendWork(chars / kCharsPerStep);
}

// Runs `work(begin, end)` over [0, count) slice by slice.
template <class Work> void BySlices(Interpreter& vm, std::size_t count, Work&& work) {
    for (std::size_t begin = 0; begin < count; begin += kSlice) {
        const std::size_t end = std::min(count, begin + kSlice);
        work(begin, end);
        SpendChars(vm, end - begin);
    }
}

// The text with each character mapped.
Value MapChars(Interpreter& vm, std::u16string_view text, char16_t (*map)(char16_t)) {
    char16_t* out = nullptr;
    Value result = Value::StringToFill(text.size(), out);
    BySlices(vm, text.size(), [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            out[i] = map(text[i]);
    });
    return result;
}

Value Repeated(Interpreter& vm, std::size_t count, char16_t c) {
    char16_t* out = nullptr;
    Value result = Value::StringToFill(count, out);
    BySlices(vm, count, [&](std::size_t begin, std::size_t end) { std::fill(out + begin, out + end, c); });
    return result;
}

// ---- Windows-1252, the code page Chr and Asc work in ----

constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FromAnsi(int code) {
    return code >= 128 && code < 160 ? kHigh1252[code - 128] : static_cast<char16_t>(code);
}

int ToAnsi(char16_t c) {
    if (c < 128 || (c >= 160 && c < 256))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] == c)
            return 128 + i;
    return '?';
}

// ---- conversions ----

Value CStrF(Interpreter&, Args a) {
    return Value::String(ToText(a[0]));
}
Value CIntF(Interpreter&, Args a) {
    return Value::Integer(ToInteger(a[0]));
}
Value CLngF(Interpreter&, Args a) {
    return Value::Long(ToLong(a[0]));
}
// RGB(red, green, blue): a component above 255 counts as 255.
Value RgbF(Interpreter&, Args a) {
    std::int32_t color = 0;
    for (int i = 2; i >= 0; --i) {
        const std::int32_t component = ToLong(a[static_cast<std::size_t>(i)]);
        if (component < 0)
            throw ScriptError(kErrInvalidCall);
        color = color * 256 + std::min(component, 255);
    }
    return Value::Long(color);
}

Value CByteF(Interpreter&, Args a) {
    return Value::Byte(ToByte(a[0]));
}
Value CDblF(Interpreter&, Args a) {
    return Value::Double(ToDouble(a[0]));
}
Value CBoolF(Interpreter&, Args a) {
    return Value::Bool(ToBool(a[0]));
}
Value CSngF(Interpreter&, Args a) {
    const double d = ToDouble(a[0]);
    if (std::fabs(d) > 3.402823466e38)
        throw ScriptError(kErrOverflow);
    return Value::Single(static_cast<float>(d));
}
Value CCurF(Interpreter&, Args a) {
    return Value::Currency(ToCurrency(a[0]));
}

// ---- strings ----

Value LenF(Interpreter&, Args a) {
    if (a[0].IsNull())
        return Value::Null();
    if (a[0].Is(VType::String))
        return Value::Long(static_cast<std::int32_t>(a[0].Str().size()));
    return Value::Long(static_cast<std::int32_t>(ToText(a[0]).size()));
}

Value LeftF(Interpreter&, Args a) {
    const std::int32_t n = ToLong(a[1]);
    if (n < 0)
        InvalidCall();
    if (a[0].IsNull())
        return Value::Null();
    const TextArg s(a[0]);
    return Text(s.View().substr(0, static_cast<std::size_t>(n)));
}

Value RightF(Interpreter&, Args a) {
    const std::int32_t n = ToLong(a[1]);
    if (n < 0)
        InvalidCall();
    if (a[0].IsNull())
        return Value::Null();
    const TextArg text(a[0]);
    const std::u16string_view s = text.View();
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(n), s.size());
    return Text(s.substr(s.size() - count));
}

Value MidF(Interpreter&, Args a) {
    const std::int32_t start = ToLong(a[1]);
    const std::int32_t length = LongArg(a, 2, INT32_MAX);
    if (start < 1 || length < 0)
        InvalidCall();
    if (a[0].IsNull())
        return Value::Null();
    const TextArg text(a[0]);
    const std::u16string_view s = text.View();
    if (static_cast<std::size_t>(start) > s.size())
        return Text(u"");
    return Text(s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

// A match starting in [from, to), or npos.
std::size_t FindBetween(std::u16string_view hay, std::u16string_view needle, std::size_t from, std::size_t to,
                        CompareMode mode) {
    if (mode == CompareMode::Binary)
        return hay.substr(0, std::min(hay.size(), to + needle.size() - 1)).find(needle, from);
    for (std::size_t i = from; i < to; ++i)
        if (CompareText(hay.substr(i, needle.size()), needle, CompareMode::Text) == 0)
            return i;
    return std::u16string_view::npos;
}

// What one start position may cost, in characters compared: a long needle
// can match far into the text at every position. A comparison that ignores
// case costs a call per position on top.
std::size_t CharsPerPosition(std::u16string_view needle, CompareMode mode) {
    return std::max<std::size_t>(needle.size(), 1) + (mode == CompareMode::Binary ? 0 : kCharsPerStep);
}

// Start positions per slice, so that a slice compares about kSlice characters.
std::size_t SlicePositions(std::u16string_view needle, CompareMode mode) {
    return std::max<std::size_t>(kSlice / CharsPerPosition(needle, mode), 256);
}

std::size_t Find(Interpreter& vm, std::u16string_view hay, std::u16string_view needle, std::size_t from,
                 CompareMode mode) {
    if (needle.size() > hay.size())
        return std::u16string_view::npos;
    const std::size_t last = hay.size() - needle.size() + 1; // one past the last start
    const std::size_t slice = SlicePositions(needle, mode);
    for (; from < last; from += slice) {
        const std::size_t to = std::min(last, from + slice);
        const std::size_t at = FindBetween(hay, needle, from, to, mode);
        const std::size_t scanned = (at == std::u16string_view::npos ? to : at) - from;
        SpendChars(vm, scanned * CharsPerPosition(needle, mode) + kCharsPerStep);
        if (at != std::u16string_view::npos)
            return at;
    }
    return std::u16string_view::npos;
}

std::size_t FindLast(Interpreter& vm, std::u16string_view hay, std::u16string_view needle,
                     std::size_t endBefore, CompareMode mode) {
    if (needle.size() > endBefore)
        return std::u16string_view::npos;
    const std::size_t slice = SlicePositions(needle, mode);
    std::size_t scanned = 0;
    for (std::size_t i = endBefore - needle.size() + 1; i-- > 0;) {
        if (CompareText(hay.substr(i, needle.size()), needle, mode) == 0)
            return i;
        if (++scanned == slice) {
            SpendChars(vm, scanned * CharsPerPosition(needle, mode));
            scanned = 0;
        }
    }
    return std::u16string_view::npos;
}

// InStr([start, ]string1, string2[, compare])
// The arguments of InStr and InStrB: ([start, ]string1, string2[, compare]).
struct SearchArgs {
    std::int32_t start = 1;
    std::size_t first = 0; // where string1 is
    CompareMode mode = CompareMode::Binary;
};

SearchArgs SearchArgsOf(Args a) {
    SearchArgs args;
    if (a.size() >= 3) {
        if (a[0].IsNull())
            throw ScriptError(kErrInvalidUseOfNull);
        args.start = ToLong(a[0]);
        args.first = 1;
    }
    if (args.start < 1)
        InvalidCall();
    args.mode = ModeArg(a, args.first + 2);
    return args;
}

Value InStrF(Interpreter& vm, Args a) {
    const auto [start, first, mode] = SearchArgsOf(a);
    if (a[first].IsNull() || a[first + 1].IsNull())
        return Value::Null();
    const TextArg hayArg(a[first]);
    const TextArg needleArg(a[first + 1]);
    const std::u16string_view hay = hayArg.View();
    const std::u16string_view needle = needleArg.View();
    if (static_cast<std::size_t>(start) > hay.size())
        return Value::Long(needle.empty() && hay.empty() && start == 1 ? 1 : 0);
    if (needle.empty())
        return Value::Long(start);
    const std::size_t at = Find(vm, hay, needle, static_cast<std::size_t>(start - 1), mode);
    return Value::Long(at == std::u16string::npos ? 0 : static_cast<std::int32_t>(at + 1));
}

// InStrRev(string1, string2[, start[, compare]])
Value InStrRevF(Interpreter& vm, Args a) {
    const std::int32_t start = LongArg(a, 2, -1);
    if (start == 0 || start < -1)
        InvalidCall();
    const CompareMode mode = ModeArg(a, 3);
    if (a[0].IsNull() || a[1].IsNull())
        return Value::Null();
    const TextArg hayArg(a[0]);
    const TextArg needleArg(a[1]);
    const std::u16string_view hay = hayArg.View();
    const std::u16string_view needle = needleArg.View();
    const std::size_t end = start == -1 ? hay.size() : static_cast<std::size_t>(start);
    if (end > hay.size())
        return Value::Long(0);
    if (needle.empty())
        return Value::Long(static_cast<std::int32_t>(end));
    const std::size_t at = FindLast(vm, hay, needle, end, mode);
    return Value::Long(at == std::u16string::npos ? 0 : static_cast<std::int32_t>(at + 1));
}

Value UCaseF(Interpreter& vm, Args a) {
    if (a[0].IsNull())
        return Value::Null();
    const TextArg s(a[0]);
    return MapChars(vm, s.View(), com::UpperChar);
}

Value LCaseF(Interpreter& vm, Args a) {
    if (a[0].IsNull())
        return Value::Null();
    const TextArg s(a[0]);
    return MapChars(vm, s.View(), com::LowerChar);
}

Value TrimSides(Args a, bool left, bool right) {
    if (a[0].IsNull())
        return Value::Null();
    const TextArg text(a[0]);
    const std::u16string_view s = text.View();
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (left && begin < end && s[begin] == u' ')
        ++begin;
    while (right && end > begin && s[end - 1] == u' ')
        --end;
    return Text(s.substr(begin, end - begin));
}
Value TrimF(Interpreter&, Args a) {
    return TrimSides(a, true, true);
}
Value LTrimF(Interpreter&, Args a) {
    return TrimSides(a, true, false);
}
Value RTrimF(Interpreter&, Args a) {
    return TrimSides(a, false, true);
}

// Calls `match(at)` for each of the first `count` (all when negative)
// matches of `find` that do not overlap, from `from` on.
template <class Match>
void ForEachMatch(Interpreter& vm, std::u16string_view s, std::u16string_view find, std::size_t from,
                  std::int32_t count, CompareMode mode, Match&& match) {
    std::int32_t done = 0;
    while (!find.empty() && (count < 0 || done < count)) {
        const std::size_t hit = Find(vm, s, find, from, mode);
        if (hit == std::u16string::npos)
            return;
        match(hit);
        from = hit + find.size();
        ++done;
    }
}

// Replace(expression, find, replacewith[, start[, count[, compare]]])
Value ReplaceF(Interpreter& vm, Args a) {
    const std::int32_t start = LongArg(a, 3, 1);
    const std::int32_t count = LongArg(a, 4, -1);
    if (start < 1 || count < -1)
        InvalidCall();
    const CompareMode mode = ModeArg(a, 5);
    if (a[0].IsNull() || a[1].IsNull() || a[2].IsNull())
        return Value::Null();
    const TextArg text(a[0]);
    const TextArg findArg(a[1]);
    const TextArg withArg(a[2]);
    const std::u16string_view s = text.View();
    const std::u16string_view find = findArg.View();
    const std::u16string_view with = withArg.View();
    if (static_cast<std::size_t>(start) > s.size())
        return Text(u"");
    // Matches are counted first, so that the result is allocated (and
    // charged) once at its final length.
    const std::size_t from = static_cast<std::size_t>(start - 1);
    std::size_t hits = 0;
    ForEachMatch(vm, s, find, from, count, mode, [&](std::size_t) { ++hits; });
    const std::size_t length = s.size() - from + hits * with.size() - hits * find.size();
    char16_t* out = nullptr;
    Value result = Value::StringToFill(length, out);
    std::size_t at = from;
    ForEachMatch(vm, s, find, from, count, mode, [&](std::size_t hit) {
        out = std::copy(s.begin() + at, s.begin() + hit, out);
        out = std::copy(with.begin(), with.end(), out);
        at = hit + find.size();
    });
    std::copy(s.begin() + at, s.end(), out);
    return result;
}

Value MakeArray(std::vector<Value> items) {
    ArrayRep* array = ArrayRep::Make({{0, static_cast<std::uint32_t>(items.size())}});
    std::move(items.begin(), items.end(), array->items.begin());
    return Value::AdoptArray(array);
}

// Split(expression[, delimiter[, count[, compare]]])
// Calls `piece(begin, end)` for each piece Split makes of `s`; answers how many.
template <class Piece>
std::size_t SplitPieces(Interpreter& vm, std::u16string_view s, std::u16string_view delimiter,
                        std::int32_t count, CompareMode mode, Piece&& piece) {
    std::size_t made = 0;
    std::size_t at = 0;
    while (!delimiter.empty() && (count < 0 || made + 1 < static_cast<std::size_t>(count))) {
        const std::size_t hit = Find(vm, s, delimiter, at, mode);
        if (hit == std::u16string::npos)
            break;
        piece(made++, at, hit);
        at = hit + delimiter.size();
    }
    piece(made++, at, s.size());
    return made;
}

Value SplitF(Interpreter& vm, Args a) {
    const std::int32_t count = LongArg(a, 2, -1);
    if (count < -1)
        InvalidCall();
    const CompareMode mode = ModeArg(a, 3);
    if (a[0].IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    const TextArg text(a[0]);
    const Value delimiterValue = Given(a, 1) ? a[1] : Text(u" ");
    const TextArg delimiterArg(delimiterValue);
    const std::u16string_view s = text.View();
    const std::u16string_view delimiter = delimiterArg.View();
    if (s.empty() || count == 0)
        return MakeArray({});
    // Counted first, so that the array is charged whole before any piece is
    // made and nothing is held twice.
    const std::size_t pieces =
        SplitPieces(vm, s, delimiter, count, mode, [](std::size_t, std::size_t, std::size_t) {});
    if (pieces > UINT32_MAX)
        throw ScriptError(kErrOutOfMemory);
    Value result = Value::AdoptArray(ArrayRep::Make({{0, static_cast<std::uint32_t>(pieces)}}));
    std::vector<Value>& items = result.Arr()->items;
    SplitPieces(vm, s, delimiter, count, mode, [&](std::size_t i, std::size_t begin, std::size_t end) {
        items[i] = Text(s.substr(begin, end - begin));
    });
    return result;
}

// Join(list[, delimiter])
Value JoinF(Interpreter& vm, Args a) {
    if (!a[0].Is(VType::Array))
        throw ScriptError(kErrTypeMismatch);
    if (a[0].Arr()->bounds.size() > 1)
        throw ScriptError(kErrSubscript);
    const Value delimiterValue = Given(a, 1) ? a[1] : Text(u" ");
    const TextArg delimiterArg(delimiterValue);
    const std::u16string_view delimiter = delimiterArg.View();
    Value out = Text(u"");
    bool first = true;
    for (const Value& item : a[0].Arr()->items) {
        if (!first)
            out.Append(delimiter);
        first = false;
        if (!item.IsNull()) {
            const TextArg text(item);
            out.Append(text.View());
            SpendChars(vm, text.View().size() + kCharsPerStep);
        }
    }
    return out;
}

Value SpaceF(Interpreter& vm, Args a) {
    const std::int32_t n = ToLong(a[0]);
    if (n < 0)
        InvalidCall();
    return Repeated(vm, static_cast<std::size_t>(n), u' ');
}

Value StringF(Interpreter& vm, Args a) {
    const std::int32_t n = ToLong(a[0]);
    if (n < 0)
        InvalidCall();
    if (a[1].IsNull())
        return Value::Null();
    char16_t c;
    if (a[1].Is(VType::String)) {
        if (a[1].Str().empty())
            InvalidCall();
        c = a[1].Str()[0];
    } else {
        c = FromAnsi(ToLong(a[1]) & 0xFF);
    }
    return Repeated(vm, static_cast<std::size_t>(n), c);
}

Value ChrF(Interpreter&, Args a) {
    const std::int32_t code = ToLong(a[0]);
    if (code < 0 || code > 255)
        InvalidCall();
    const char16_t c = FromAnsi(code);
    return Text(std::u16string_view(&c, 1));
}

Value ChrWF(Interpreter&, Args a) {
    const std::int32_t code = ToLong(a[0]);
    if (code < -32768 || code > 65535)
        InvalidCall();
    const char16_t c = static_cast<char16_t>(code & 0xFFFF);
    return Text(std::u16string_view(&c, 1));
}

Value AscF(Interpreter&, Args a) {
    if (a[0].IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    const std::u16string s = ToText(a[0]);
    if (s.empty())
        InvalidCall();
    return Value::Integer(static_cast<std::int16_t>(ToAnsi(s[0])));
}

Value AscWF(Interpreter&, Args a) {
    if (a[0].IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    const std::u16string s = ToText(a[0]);
    if (s.empty())
        InvalidCall();
    return Value::Integer(static_cast<std::int16_t>(s[0]));
}

Value Radix(Args a, int radix) {
    if (a[0].IsNull())
        return Value::Null();
    const Value n = ToNumeric(a[0]);
    std::uint32_t bits;
    if (n.Is(VType::Integer) || n.Is(VType::Byte))
        bits = static_cast<std::uint16_t>(n.I());
    else
        bits = static_cast<std::uint32_t>(ToLong(n));
    std::u16string out;
    do {
        const unsigned digit = bits % radix;
        out.insert(out.begin(), static_cast<char16_t>(digit < 10 ? u'0' + digit : u'A' + digit - 10));
        bits /= radix;
    } while (bits != 0);
    return Text(out);
}
Value HexF(Interpreter&, Args a) {
    return Radix(a, 16);
}
Value OctF(Interpreter&, Args a) {
    return Radix(a, 8);
}

// ---- inspection ----

Value IsEmptyF(Interpreter&, Args a) {
    return Value::Bool(a[0].IsEmpty());
}
Value IsNullF(Interpreter&, Args a) {
    return Value::Bool(a[0].IsNull());
}
Value IsObjectF(Interpreter&, Args a) {
    return Value::Bool(a[0].IsObject());
}
Value IsArrayF(Interpreter&, Args a) {
    return Value::Bool(a[0].Is(VType::Array));
}
Value IsNumericF(Interpreter&, Args a) {
    const Value& v = a[0];
    if (v.Is(VType::String))
        return Value::Bool(ParseNumber(v.Str()).has_value());
    return Value::Bool(v.IsEmpty() || (v.IsNumeric() && !v.Is(VType::Date)));
}

Value TypeNameF(Interpreter&, Args a) {
    const Value& v = a[0];
    switch (v.Type()) {
    case VType::Empty:
        return Text(u"Empty");
    case VType::Null:
        return Text(u"Null");
    case VType::Integer:
        return Text(u"Integer");
    case VType::Long:
        return Text(u"Long");
    case VType::Single:
        return Text(u"Single");
    case VType::Double:
        return Text(u"Double");
    case VType::Currency:
        return Text(u"Currency");
    case VType::Date:
        return Text(u"Date");
    case VType::String:
        return Text(u"String");
    case VType::Boolean:
        return Text(u"Boolean");
    case VType::Byte:
        return Text(u"Byte");
    case VType::Error:
        return Text(u"Error");
    case VType::Array:
        return Text(u"Variant()");
    case VType::Object:
        if (v.IsNothing())
            return Text(u"Nothing");
        if (ScriptObject* script = v.Script())
            return Text(script->Class().name);
        if (const std::u16string_view name = RegExpTypeName(v.Obj()); !name.empty())
            return Text(name);
        if (const std::u16string name = com::TypeNameOf(v.Obj()); !name.empty())
            return Text(name);
        return Text(u"Object");
    case VType::Ref:
        break;
    }
    return Text(u"Unknown");
}

Value VarTypeF(Interpreter&, Args a) {
    return Value::Integer(static_cast<std::int16_t>(a[0].VarType()));
}

const ArrayRep& ArrayArg(const Value& v) {
    if (!v.Is(VType::Array))
        throw ScriptError(kErrTypeMismatch);
    return *v.Arr();
}

const ArrayBound& Dimension(Args a) {
    const ArrayRep& array = ArrayArg(a[0]);
    const std::int32_t dim = LongArg(a, 1, 1);
    if (dim < 1 || static_cast<std::size_t>(dim) > array.bounds.size())
        throw ScriptError(kErrSubscript);
    return array.bounds[static_cast<std::size_t>(dim - 1)];
}
Value UBoundF(Interpreter&, Args a) {
    const ArrayBound& b = Dimension(a);
    return Value::Long(static_cast<std::int32_t>(std::int64_t{b.lower} + b.count - 1));
}
Value LBoundF(Interpreter&, Args a) {
    return Value::Long(Dimension(a).lower);
}

Value ArrayF(Interpreter&, Args a) {
    std::vector<Value> items(a.begin(), a.end());
    return MakeArray(std::move(items));
}

// ---- dates ----

std::tm LocalNow(double* fraction = nullptr) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    if (fraction) {
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        *fraction = static_cast<double>(ms) / 1000.0;
    }
    return local;
}

double TodayOf(const std::tm& t) {
    return MakeDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday).value_or(0);
}

Value NowF(Interpreter&, Args) {
    const std::tm t = LocalNow();
    return Value::Date(TodayOf(t) + MakeTime(t.tm_hour, t.tm_min, t.tm_sec));
}
Value DateF(Interpreter&, Args) {
    return Value::Date(TodayOf(LocalNow()));
}
Value TimeF(Interpreter&, Args) {
    const std::tm t = LocalNow();
    return Value::Date(MakeTime(t.tm_hour, t.tm_min, t.tm_sec));
}
Value TimerF(Interpreter&, Args) {
    double fraction = 0;
    const std::tm t = LocalNow(&fraction);
    return Value::Single(static_cast<float>(t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec + fraction));
}

// ---- numbers ----

// The generator of the original: x = (x * 1140671485 + 12820163) mod 2^24.
Value RndF(Interpreter& vm, Args a) {
    Engine& engine = vm.GetEngine();
    if (Given(a, 0)) {
        const double n = ToDouble(a[0]);
        if (n == 0)
            return Value::Single(static_cast<float>(engine.lastRandom));
        if (n < 0) {
            const float f = static_cast<float>(n);
            std::uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            engine.randomSeed = (bits + (bits >> 24)) & 0xFFFFFF;
        }
    }
    engine.randomSeed = (engine.randomSeed * 1140671485u + 12820163u) & 0xFFFFFF;
    engine.lastRandom = static_cast<double>(engine.randomSeed) / 16777216.0;
    return Value::Single(static_cast<float>(engine.lastRandom));
}

Value RandomizeF(Interpreter& vm, Args a) {
    Engine& engine = vm.GetEngine();
    double seed;
    if (Given(a, 0)) {
        seed = ToDouble(a[0]);
    } else {
        double fraction = 0;
        const std::tm t = LocalNow(&fraction);
        seed = t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec + fraction;
    }
    std::uint64_t bits;
    std::memcpy(&bits, &seed, sizeof bits);
    const std::uint32_t mixed = static_cast<std::uint32_t>(bits >> 32) ^ static_cast<std::uint32_t>(bits);
    engine.randomSeed = (engine.randomSeed & 0xFF) | (((mixed >> 16) ^ mixed) & 0xFFFF) << 8;
    return {};
}

double FloorOf(double d) {
    return std::floor(d);
}
double TruncateOf(double d) {
    return std::trunc(d);
}

Value RoundTo(const Value& v, double (*op)(double)) {
    if (v.IsNull())
        return v;
    const Value n = ToNumeric(v);
    switch (n.Type()) {
    case VType::Byte:
    case VType::Integer:
    case VType::Long:
        return n;
    case VType::Single:
        return Value::Single(static_cast<float>(op(n.F())));
    case VType::Currency:
        return Value::Currency(op == FloorOf ? CurrencyFloor(n.Cy()) : CurrencyTruncate(n.Cy()));
    case VType::Date:
        return Value::Date(op(n.D()));
    default:
        return Value::Double(op(ToDouble(n)));
    }
}
Value IntF(Interpreter&, Args a) {
    return RoundTo(a[0], FloorOf);
}
Value FixF(Interpreter&, Args a) {
    return RoundTo(a[0], TruncateOf);
}

Value AbsF(Interpreter&, Args a) {
    if (a[0].IsNull())
        return a[0];
    const Value n = ToNumeric(a[0]);
    bool isNull = false;
    return Compare(n, Value::Integer(0), CompareMode::Binary, isNull) < 0 ? Negate(n) : n;
}

Value SgnF(Interpreter&, Args a) {
    if (a[0].IsNull())
        return a[0];
    const double d = ToDouble(a[0]);
    return Value::Integer(static_cast<std::int16_t>(d > 0 ? 1 : d < 0 ? -1 : 0));
}

Value RoundF(Interpreter&, Args a) {
    if (a[0].IsNull())
        return a[0];
    const std::int32_t digits = LongArg(a, 1, 0);
    if (digits < 0)
        InvalidCall();
    const Value n = ToNumeric(a[0]);
    if (n.Is(VType::Integer) || n.Is(VType::Long) || n.Is(VType::Byte))
        return n;
    if (n.Is(VType::Currency)) {
        if (digits >= 4)
            return n;
        std::int64_t step = 1;
        for (int i = digits; i < 4; ++i)
            step *= 10;
        return Value::Currency(CurrencyRound(n.Cy(), step));
    }
    const double d = ToDouble(n);
    double rounded;
    if (digits == 0) {
        rounded = RoundHalfEven(d);
    } else {
        const double scale = std::pow(10.0, std::min(digits, 22));
        // Through a decimal text, so that 2.675 is seen as written.
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15g", d * scale);
        rounded = RoundHalfEven(std::strtod(buffer, nullptr)) / scale;
    }
    if (n.Is(VType::Single))
        return Value::Single(static_cast<float>(rounded));
    return Value::Double(rounded);
}

// ---- strings, second part ----

// StrComp(string1, string2[, compare])
Value StrCompF(Interpreter&, Args a) {
    const CompareMode mode = ModeArg(a, 2);
    if (a[0].IsNull() || a[1].IsNull())
        return Value::Null();
    const TextArg left(a[0]);
    const TextArg right(a[1]);
    const int c = CompareText(left.View(), right.View(), mode);
    return Value::Integer(static_cast<std::int16_t>(c < 0 ? -1 : c > 0 ? 1 : 0));
}

Value StrReverseF(Interpreter&, Args a) {
    if (a[0].IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    const TextArg text(a[0]);
    const std::u16string_view s = text.View();
    char16_t* out = nullptr;
    Value result = Value::StringToFill(s.size(), out);
    std::reverse_copy(s.begin(), s.end(), out);
    return result;
}

// Filter(strings, value[, include[, compare]])
Value FilterF(Interpreter& vm, Args a) {
    if (a[0].IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    if (!a[0].Is(VType::Array))
        throw ScriptError(kErrTypeMismatch);
    if (a[0].Arr()->bounds.size() != 1)
        throw ScriptError(kErrSubscript);
    if (a[1].IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    const TextArg valueArg(a[1]);
    const std::u16string_view value = valueArg.View();
    const bool include = Given(a, 2) ? ToBool(a[2]) : true;
    const CompareMode mode = ModeArg(a, 3);
    std::vector<Value> kept;
    for (const Value& item : a[0].Arr()->items) {
        if (item.IsNull())
            throw ScriptError(kErrTypeMismatch);
        Value text = item.Is(VType::String) ? item : Text(ToText(item));
        const bool found = Find(vm, text.Str(), value, 0, mode) != std::u16string::npos;
        SpendChars(vm, kCharsPerStep);
        if (found == include)
            kept.push_back(std::move(text));
    }
    return MakeArray(std::move(kept));
}

// Texts as bytes: each character is two bytes, low byte first, as in a
// BSTR; byte strings may end with a lone byte (see Value::FromBytes).
// A text's bytes, a temporary charged to the memory guard before it is made.
class BytesOf {
public:
    BytesOf(Interpreter& vm, const Value& v)
        : text_(v.Is(VType::String) ? v : Value::String(ToText(v))),
          charged_(HeapFootprint(text_.ByteLength())) {
        ChargeScriptMemory(charged_);
        SpendChars(vm, text_.ByteLength());
        bytes_ = text_.Bytes();
    }
    ~BytesOf() { RefundScriptMemory(charged_); }
    BytesOf(const BytesOf&) = delete;
    BytesOf& operator=(const BytesOf&) = delete;

    const std::vector<std::uint8_t>& operator*() const { return bytes_; }

private:
    Value text_;
    std::size_t charged_;
    std::vector<std::uint8_t> bytes_;
};

Value SomeBytes(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count) {
    return Value::FromBytes(bytes.data() + from, count);
}

Value LenBF(Interpreter&, Args a) {
    if (a[0].IsNull())
        return Value::Null();
    const std::size_t length = a[0].Is(VType::String) ? a[0].ByteLength() : ToText(a[0]).size() * 2;
    return Value::Long(static_cast<std::int32_t>(length));
}

Value LeftBF(Interpreter& vm, Args a) {
    const std::int32_t n = ToLong(a[1]);
    if (n < 0)
        InvalidCall();
    if (a[0].IsNull())
        return Value::Null();
    const BytesOf held(vm, a[0]);
    const std::vector<std::uint8_t>& bytes = *held;
    return SomeBytes(bytes, 0, std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(n)));
}

Value RightBF(Interpreter& vm, Args a) {
    const std::int32_t n = ToLong(a[1]);
    if (n < 0)
        InvalidCall();
    if (a[0].IsNull())
        return Value::Null();
    const BytesOf held(vm, a[0]);
    const std::vector<std::uint8_t>& bytes = *held;
    const std::size_t count = std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(n));
    return SomeBytes(bytes, bytes.size() - count, count);
}

Value MidBF(Interpreter& vm, Args a) {
    const std::int32_t start = ToLong(a[1]);
    const std::int32_t length = LongArg(a, 2, INT32_MAX);
    if (start < 1 || length < 0)
        InvalidCall();
    if (a[0].IsNull())
        return Value::Null();
    const BytesOf held(vm, a[0]);
    const std::vector<std::uint8_t>& bytes = *held;
    if (static_cast<std::size_t>(start) > bytes.size())
        return Text(u"");
    const std::size_t from = static_cast<std::size_t>(start - 1);
    return SomeBytes(bytes, from,
                     std::min<std::size_t>(bytes.size() - from, static_cast<std::size_t>(length)));
}

// InStrB([start, ]string1, string2[, compare]): byte positions, bytes compared as they are.
Value InStrBF(Interpreter& vm, Args a) {
    // Bytes are compared as they are, whatever the compare argument says.
    [[maybe_unused]] const auto [start, first, mode] = SearchArgsOf(a);
    if (a[first].IsNull() || a[first + 1].IsNull())
        return Value::Null();
    const BytesOf hayBytes(vm, a[first]);
    const BytesOf needleBytes(vm, a[first + 1]);
    const std::vector<std::uint8_t>& hay = *hayBytes;
    const std::vector<std::uint8_t>& needle = *needleBytes;
    if (static_cast<std::size_t>(start) > hay.size())
        return Value::Long(needle.empty() && hay.empty() && start == 1 ? 1 : 0);
    if (needle.empty())
        return Value::Long(start);
    if (needle.size() > hay.size())
        return Value::Long(0);
    const std::size_t last = hay.size() - needle.size() + 1; // one past the last start
    const std::size_t slice = std::max<std::size_t>(kSlice / needle.size(), 256);
    for (std::size_t from = static_cast<std::size_t>(start - 1); from < last; from += slice) {
        const auto end =
            hay.begin() + static_cast<std::ptrdiff_t>(std::min(last, from + slice) + needle.size() - 1);
        const auto at =
            std::search(hay.begin() + static_cast<std::ptrdiff_t>(from), end, needle.begin(), needle.end());
        if (at != end)
            return Value::Long(static_cast<std::int32_t>(at - hay.begin() + 1));
        SpendChars(vm, slice * needle.size());
    }
    return Value::Long(0);
}

Value AscBF(Interpreter& vm, Args a) {
    if (a[0].IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    const BytesOf held(vm, a[0]);
    const std::vector<std::uint8_t>& bytes = *held;
    if (bytes.empty())
        InvalidCall();
    return Value::Integer(static_cast<std::int16_t>(bytes[0]));
}

Value ChrBF(Interpreter&, Args a) {
    const std::int32_t code = ToLong(a[0]);
    if (code < 0 || code > 255)
        InvalidCall();
    const std::uint8_t byte = static_cast<std::uint8_t>(code);
    return Value::FromBytes(&byte, 1);
}

// Escape: letters, digits and @*_+-./ stay; other characters become %XX or %uXXXX.
Value EscapeF(Interpreter&, Args a) {
    if (a[0].IsNull())
        return Value::Null();
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::u16string out;
    for (char16_t c : ToText(a[0])) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                           std::u16string_view(u"@*_+-./").find(c) != std::u16string_view::npos;
        if (plain) {
            out += c;
        } else if (c < 256) {
            out += u'%';
            out += static_cast<char16_t>(kHex[c >> 4]);
            out += static_cast<char16_t>(kHex[c & 15]);
        } else {
            out += u"%u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += static_cast<char16_t>(kHex[(c >> shift) & 15]);
        }
    }
    return Text(out);
}

// Unescape: %XX and %uXXXX back to characters; anything else stays as written.
Value UnescapeF(Interpreter&, Args a) {
    if (a[0].IsNull())
        return Value::Null();
    const std::u16string s = ToText(a[0]);
    std::u16string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto hexRun = [&](std::size_t from, int count, int& value) {
            value = 0;
            if (from + static_cast<std::size_t>(count) > s.size())
                return false;
            for (int k = 0; k < count; ++k) {
                const int d = com::HexDigitValue(s[from + static_cast<std::size_t>(k)]);
                if (d < 0)
                    return false;
                value = value * 16 + d;
            }
            return true;
        };
        int value = 0;
        if (s[i] == u'%' && i + 1 < s.size() && s[i + 1] == u'u' && hexRun(i + 2, 4, value)) {
            out += static_cast<char16_t>(value);
            i += 5;
        } else if (s[i] == u'%' && hexRun(i + 1, 2, value)) {
            out += static_cast<char16_t>(value);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return Text(out);
}

// ---- math ----

double MathArg(const Value& v) {
    if (v.IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    return ToDouble(v);
}

Value MathResult(double d) {
    if (!std::isfinite(d))
        throw ScriptError(kErrOverflow);
    return Value::Double(d);
}

Value AtnF(Interpreter&, Args a) {
    return MathResult(std::atan(MathArg(a[0])));
}
Value CosF(Interpreter&, Args a) {
    return MathResult(std::cos(MathArg(a[0])));
}
Value SinF(Interpreter&, Args a) {
    return MathResult(std::sin(MathArg(a[0])));
}
Value TanF(Interpreter&, Args a) {
    return MathResult(std::tan(MathArg(a[0])));
}
Value ExpF(Interpreter&, Args a) {
    return MathResult(std::exp(MathArg(a[0])));
}
Value LogF(Interpreter&, Args a) {
    const double d = MathArg(a[0]);
    if (d <= 0)
        InvalidCall();
    return MathResult(std::log(d));
}
Value SqrF(Interpreter&, Args a) {
    const double d = MathArg(a[0]);
    if (d < 0)
        InvalidCall();
    return MathResult(std::sqrt(d));
}

// ---- the engine ----

Value ScriptEngineF(Interpreter&, Args) {
    return Text(u"VBScript");
}
Value ScriptEngineMajorVersionF(Interpreter&, Args) {
    return Value::Long(5);
}
Value ScriptEngineMinorVersionF(Interpreter&, Args) {
    return Value::Long(8);
}
Value ScriptEngineBuildVersionF(Interpreter&, Args) {
    return Value::Long(16384);
}

// GetObject([pathname][, class]): no file monikers and no running instances
// to attach to, so it ends in the errors VBScript gives for those.
Value GetObjectF(Interpreter&, Args a) {
    if (Given(a, 1)) {
        const std::u16string progId = ToText(a[1]);
        throw ScriptError(kErrCannotCreateObject, progId);
    }
    if (!Given(a, 0))
        InvalidCall();
    throw ScriptError(kErrFileOrClassNotFound);
}

// ---- user interface ----

ui::Buttons ButtonsOf(std::int32_t flags) {
    switch (flags & 0xF) {
    case 1:
        return ui::Buttons::OkCancel;
    case 2:
        return ui::Buttons::AbortRetryIgnore;
    case 3:
        return ui::Buttons::YesNoCancel;
    case 4:
        return ui::Buttons::YesNo;
    case 5:
        return ui::Buttons::RetryCancel;
    default:
        return ui::Buttons::Ok;
    }
}

ui::Icon IconOf(std::int32_t flags) {
    switch (flags & 0x70) {
    case 16:
        return ui::Icon::Error;
    case 32:
        return ui::Icon::Question;
    case 48:
        return ui::Icon::Warning;
    case 64:
        return ui::Icon::Information;
    default:
        return ui::Icon::None;
    }
}

int AnswerCode(ui::Answer answer) {
    switch (answer) {
    case ui::Answer::Ok:
        return 1;
    case ui::Answer::Cancel:
        return 2;
    case ui::Answer::Abort:
        return 3;
    case ui::Answer::Retry:
        return 4;
    case ui::Answer::Ignore:
        return 5;
    case ui::Answer::Yes:
        return 6;
    case ui::Answer::No:
        return 7;
    }
    return 1;
}

void RequireUI(Interpreter& vm) {
    if (!vm.GetEngine().allowUI)
        throw ScriptError(kErrPermissionDenied);
}

// MsgBox(prompt[, buttons[, title]])
Value MsgBoxF(Interpreter& vm, Args a) {
    RequireUI(vm);
    const std::int32_t flags = LongArg(a, 1, 0);
    ui::Message message;
    message.text = a[0].IsNull() ? u"Null" : ToText(a[0]);
    message.caption = Given(a, 2) ? ToText(a[2]) : u"VBScript";
    message.buttons = ButtonsOf(flags);
    message.icon = IconOf(flags);
    message.defaultButton = (flags >> 8) & 3;
    return Value::Integer(
        static_cast<std::int16_t>(AnswerCode(ui::CurrentUserInterface().ShowMessage(message))));
}

// InputBox(prompt[, title[, default]])
Value InputBoxF(Interpreter& vm, Args a) {
    RequireUI(vm);
    ui::TextRequest request;
    request.prompt = ToText(a[0]);
    request.caption = Given(a, 1) ? ToText(a[1]) : u"VBScript";
    request.defaultText = Given(a, 2) ? ToText(a[2]) : u"";
    const auto answer = ui::CurrentUserInterface().AskText(request);
    return Text(answer ? *answer : u"");
}

Value ErrF(Interpreter& vm, Args) {
    return Value::Object(vm.GetEngine().ErrDispatch());
}

// CreateObject(progid[, server]): through the class table, as the program creates components.
Value CreateObjectF(Interpreter&, Args a) {
    const std::u16string progId = ToText(a[0]);
    CLSID clsid;
    com::ComPtr<IDispatch> object;
    if (FAILED(com::FindClass(progId, &clsid)) ||
        FAILED(com::CreateInstance(clsid, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                   object.ReleaseAndGetVoidAddress())) ||
        !object)
        throw ScriptError(kErrCannotCreateObject, progId);
    const bool script = ScriptObject::FromDispatch(object.Get()) != nullptr;
    return Value::Object(object.Get(), script);
}

namespace lib = library;

// Found by name through the index built from this table below; grouped as
// VBScript's documentation groups them.
const Builtin kBuiltins[] = {
    // strings
    {u"Asc", 1, 1, AscF},
    {u"AscB", 1, 1, AscBF},
    {u"AscW", 1, 1, AscWF},
    {u"Chr", 1, 1, ChrF},
    {u"ChrB", 1, 1, ChrBF},
    {u"ChrW", 1, 1, ChrWF},
    {u"Escape", 1, 1, EscapeF},
    {u"Filter", 2, 4, FilterF},
    {u"InStr", 2, 4, InStrF},
    {u"InStrB", 2, 4, InStrBF},
    {u"InStrRev", 2, 4, InStrRevF},
    {u"Join", 1, 2, JoinF},
    {u"LCase", 1, 1, LCaseF},
    {u"Left", 2, 2, LeftF},
    {u"LeftB", 2, 2, LeftBF},
    {u"Len", 1, 1, LenF},
    {u"LenB", 1, 1, LenBF},
    {u"LTrim", 1, 1, LTrimF},
    {u"Mid", 2, 3, MidF},
    {u"MidB", 2, 3, MidBF},
    {u"Replace", 3, 6, ReplaceF},
    {u"Right", 2, 2, RightF},
    {u"RightB", 2, 2, RightBF},
    {u"RTrim", 1, 1, RTrimF},
    {u"Space", 1, 1, SpaceF},
    {u"Split", 1, 4, SplitF},
    {u"StrComp", 2, 3, StrCompF},
    {u"String", 2, 2, StringF},
    {u"StrReverse", 1, 1, StrReverseF},
    {u"Trim", 1, 1, TrimF},
    {u"UCase", 1, 1, UCaseF},
    {u"Unescape", 1, 1, UnescapeF},
    // conversions
    {u"CBool", 1, 1, CBoolF},
    {u"CByte", 1, 1, CByteF},
    {u"RGB", 3, 3, RgbF},
    {u"CCur", 1, 1, CCurF},
    {u"CDate", 1, 1, lib::CDate},
    {u"CDbl", 1, 1, CDblF},
    {u"CInt", 1, 1, CIntF},
    {u"CLng", 1, 1, CLngF},
    {u"CSng", 1, 1, CSngF},
    {u"CStr", 1, 1, CStrF},
    {u"Hex", 1, 1, HexF},
    {u"Oct", 1, 1, OctF},
    // math
    {u"Abs", 1, 1, AbsF},
    {u"Atn", 1, 1, AtnF},
    {u"Cos", 1, 1, CosF},
    {u"Exp", 1, 1, ExpF},
    {u"Fix", 1, 1, FixF},
    {u"Int", 1, 1, IntF},
    {u"Log", 1, 1, LogF},
    {u"Randomize", 0, 1, RandomizeF},
    {u"Rnd", 0, 1, RndF},
    {u"Round", 1, 2, RoundF},
    {u"Sgn", 1, 1, SgnF},
    {u"Sin", 1, 1, SinF},
    {u"Sqr", 1, 1, SqrF},
    {u"Tan", 1, 1, TanF},
    // dates and times
    {u"Date", 0, 0, DateF},
    {u"DateAdd", 3, 3, lib::DateAdd},
    {u"DateDiff", 3, 5, lib::DateDiff},
    {u"DatePart", 2, 4, lib::DatePart},
    {u"DateSerial", 3, 3, lib::DateSerial},
    {u"DateValue", 1, 1, lib::DateValue},
    {u"Day", 1, 1, lib::Day},
    {u"Hour", 1, 1, lib::Hour},
    {u"IsDate", 1, 1, lib::IsDate},
    {u"Minute", 1, 1, lib::Minute},
    {u"Month", 1, 1, lib::Month},
    {u"MonthName", 1, 2, lib::MonthName},
    {u"Now", 0, 0, NowF},
    {u"Second", 1, 1, lib::Second},
    {u"Time", 0, 0, TimeF},
    {u"Timer", 0, 0, TimerF},
    {u"TimeSerial", 3, 3, lib::TimeSerial},
    {u"TimeValue", 1, 1, lib::TimeValue},
    {u"Weekday", 1, 2, lib::Weekday},
    {u"WeekdayName", 1, 3, lib::WeekdayName},
    {u"Year", 1, 1, lib::Year},
    // formatting and locale
    {u"FormatCurrency", 1, 5, lib::FormatCurrency},
    {u"FormatDateTime", 1, 2, lib::FormatDateTime},
    {u"FormatNumber", 1, 5, lib::FormatNumber},
    {u"FormatPercent", 1, 5, lib::FormatPercent},
    {u"GetLocale", 0, 0, lib::GetLocale},
    {u"SetLocale", 0, 1, lib::SetLocale},
    // inspection and arrays
    {u"Array", 0, 64, ArrayF},
    {u"IsArray", 1, 1, IsArrayF},
    {u"IsEmpty", 1, 1, IsEmptyF},
    {u"IsNull", 1, 1, IsNullF},
    {u"IsNumeric", 1, 1, IsNumericF},
    {u"IsObject", 1, 1, IsObjectF},
    {u"LBound", 1, 2, LBoundF},
    {u"TypeName", 1, 1, TypeNameF},
    {u"UBound", 1, 2, UBoundF},
    {u"VarType", 1, 1, VarTypeF},
    // the engine, objects and the user
    {u"CreateObject", 1, 2, CreateObjectF},
    {u"Err", 0, 0, ErrF},
    {u"GetObject", 0, 2, GetObjectF},
    {u"InputBox", 1, 7, InputBoxF},
    {u"MsgBox", 1, 5, MsgBoxF},
    {u"ScriptEngine", 0, 0, ScriptEngineF},
    {u"ScriptEngineBuildVersion", 0, 0, ScriptEngineBuildVersionF},
    {u"ScriptEngineMajorVersion", 0, 0, ScriptEngineMajorVersionF},
    {u"ScriptEngineMinorVersion", 0, 0, ScriptEngineMinorVersionF},
    // dynamic code (dynamic_code.cpp)
    {u"Eval", 1, 1, EvalFunction},
    {u"Execute", 1, 1, ExecuteFunction},
    {u"ExecuteGlobal", 1, 1, ExecuteGlobalFunction},
    {u"GetRef", 1, 1, GetRefFunction},
};

struct NamedConstant {
    std::u16string_view name;
    Value value;
};

const std::unordered_map<std::u16string, Value>& Constants() {
    static const std::unordered_map<std::u16string, Value> table = [] {
        const NamedConstant list[] = {
            {u"vbCr", Value::String(u"\r")},
            {u"vbLf", Value::String(u"\n")},
            {u"vbCrLf", Value::String(u"\r\n")},
            {u"vbNewLine", Value::String(u"\r\n")},
            {u"vbTab", Value::String(u"\t")},
            {u"vbFormFeed", Value::String(u"\f")},
            {u"vbVerticalTab", Value::String(u"\v")},
            {u"vbNullString", Value::String(u"")},
            {u"vbNullChar", Value::String(std::u16string_view(u"\0", 1))},
            {u"vbTrue", Value::Integer(-1)},
            {u"vbFalse", Value::Integer(0)},
            {u"vbUseDefault", Value::Integer(-2)},
            {u"vbBinaryCompare", Value::Integer(0)},
            {u"vbTextCompare", Value::Integer(1)},
            {u"vbDatabaseCompare", Value::Integer(2)},
            {u"vbObjectError", Value::Long(-2147221504)},
            {u"vbOKOnly", Value::Integer(0)},
            {u"vbOKCancel", Value::Integer(1)},
            {u"vbAbortRetryIgnore", Value::Integer(2)},
            {u"vbYesNoCancel", Value::Integer(3)},
            {u"vbYesNo", Value::Integer(4)},
            {u"vbRetryCancel", Value::Integer(5)},
            {u"vbCritical", Value::Integer(16)},
            {u"vbQuestion", Value::Integer(32)},
            {u"vbExclamation", Value::Integer(48)},
            {u"vbInformation", Value::Integer(64)},
            {u"vbDefaultButton1", Value::Integer(0)},
            {u"vbDefaultButton2", Value::Integer(256)},
            {u"vbDefaultButton3", Value::Integer(512)},
            {u"vbDefaultButton4", Value::Integer(768)},
            {u"vbApplicationModal", Value::Integer(0)},
            {u"vbSystemModal", Value::Integer(4096)},
            {u"vbOK", Value::Integer(1)},
            {u"vbCancel", Value::Integer(2)},
            {u"vbAbort", Value::Integer(3)},
            {u"vbRetry", Value::Integer(4)},
            {u"vbIgnore", Value::Integer(5)},
            {u"vbYes", Value::Integer(6)},
            {u"vbNo", Value::Integer(7)},
            {u"vbEmpty", Value::Integer(0)},
            {u"vbNull", Value::Integer(1)},
            {u"vbInteger", Value::Integer(2)},
            {u"vbLong", Value::Integer(3)},
            {u"vbSingle", Value::Integer(4)},
            {u"vbDouble", Value::Integer(5)},
            {u"vbCurrency", Value::Integer(6)},
            {u"vbDate", Value::Integer(7)},
            {u"vbString", Value::Integer(8)},
            {u"vbObject", Value::Integer(9)},
            {u"vbError", Value::Integer(10)},
            {u"vbBoolean", Value::Integer(11)},
            {u"vbVariant", Value::Integer(12)},
            {u"vbDataObject", Value::Integer(13)},
            {u"vbDecimal", Value::Integer(14)},
            {u"vbByte", Value::Integer(17)},
            {u"vbArray", Value::Integer(8192)},
            {u"vbSunday", Value::Integer(1)},
            {u"vbMonday", Value::Integer(2)},
            {u"vbTuesday", Value::Integer(3)},
            {u"vbWednesday", Value::Integer(4)},
            {u"vbThursday", Value::Integer(5)},
            {u"vbFriday", Value::Integer(6)},
            {u"vbSaturday", Value::Integer(7)},
            {u"vbUseSystemDayOfWeek", Value::Integer(0)},
            {u"vbFirstJan1", Value::Integer(1)},
            {u"vbFirstFourDays", Value::Integer(2)},
            {u"vbFirstFullWeek", Value::Integer(3)},
            {u"vbUseSystem", Value::Integer(0)},
            {u"vbMsgBoxHelpButton", Value::Long(16384)},
            {u"vbMsgBoxSetForeground", Value::Long(65536)},
            {u"vbMsgBoxRight", Value::Long(524288)},
            {u"vbMsgBoxRtlReading", Value::Long(1048576)},
            {u"vbGeneralDate", Value::Integer(0)},
            {u"vbLongDate", Value::Integer(1)},
            {u"vbShortDate", Value::Integer(2)},
            {u"vbLongTime", Value::Integer(3)},
            {u"vbShortTime", Value::Integer(4)},
            {u"vbBlack", Value::Long(0)},
            {u"vbRed", Value::Long(0xFF)},
            {u"vbGreen", Value::Long(0xFF00)},
            {u"vbYellow", Value::Long(0xFFFF)},
            {u"vbBlue", Value::Long(0xFF0000)},
            {u"vbMagenta", Value::Long(0xFF00FF)},
            {u"vbCyan", Value::Long(0xFFFF00)},
            {u"vbWhite", Value::Long(0xFFFFFF)},
        };
        std::unordered_map<std::u16string, Value> map;
        for (const NamedConstant& c : list)
            map[Folded(c.name)] = c.value;
        return map;
    }();
    return table;
}

const std::unordered_map<std::u16string, int>& BuiltinIndex() {
    static const std::unordered_map<std::u16string, int> index = [] {
        std::unordered_map<std::u16string, int> map;
        for (std::size_t i = 0; i < std::size(kBuiltins); ++i)
            map[Folded(kBuiltins[i].name)] = static_cast<int>(i);
        return map;
    }();
    return index;
}

} // namespace

int FindBuiltin(std::u16string_view name) {
    const auto found = BuiltinIndex().find(Folded(name));
    return found == BuiltinIndex().end() ? -1 : found->second;
}

const Builtin& BuiltinAt(int index) {
    return kBuiltins[index];
}

Value NewBuiltinClass(std::u16string_view name) {
    if (com::EqualsIgnoringCase(name, u"RegExp"))
        return NewRegExp();
    return {};
}

const Value* FindBuiltinConstant(std::u16string_view name) {
    const auto found = Constants().find(Folded(name));
    return found == Constants().end() ? nullptr : &found->second;
}

} // namespace zorv::vbs
