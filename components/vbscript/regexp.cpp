#include "regexp.h"

#include <optional>
#include <string>
#include <vector>

#include "com_bridge.h"
#include "conversion.h"
#include "platform/com/inproc_server.h"
#include "platform/com/table_dispatch.h"
#include "platform/com/value_list.h"
#include "regexp_engine.h"
#include "script_error.h"

namespace zorv::vbs {
namespace {

// Errors raised inside these objects cross Invoke as VBScript numbers, so
// the script sees kErrRegExpSyntax or kErrInvalidUseOfNull as if the engine itself had raised them.
[[noreturn]] void Raise(int number, std::u16string_view detail = {}) {
    const ScriptError error(number, detail);
    throw com::DispatchException(error.description, ScodeOf(number));
}

template <class Body> void Guarded(Body&& body) {
    try {
        body();
    } catch (const ScriptError& error) {
        throw com::DispatchException(error.description, ScodeOf(error.number));
    } catch (const regex::PatternError& error) {
        Raise(error.number);
    } catch (const regex::BudgetExceeded&) {
        // The same answer the classic engines give when a pattern runs away.
        Raise(kErrOutOfStack, u"RegExp");
    }
}

Value Arg(const com::DispatchArgs& args, UINT i) {
    return FromVariant(args.Value(i));
}

// The values of a list converted once, for Item and For Each alike.
com::ValueList ListOf(const std::vector<Value>& items) {
    com::Values values(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        ToVariant(items[i], values[i]);
    return com::ValueList(std::move(values));
}

// Item(i) of a list, as Matches(i) and SubMatches(i) read it.
void ItemOf(const com::ValueList& list, const com::DispatchArgs& args, VARIANT& result) {
    Guarded([&] {
        if (args.Count() != 1)
            throw ScriptError(kErrWrongArgCount, u"Item");
        const VARIANT* item = list.At(ToLong(Arg(args, 0)));
        if (item == nullptr)
            throw ScriptError(kErrInvalidCall);
        VariantCopy(&result, item);
    });
}

// Item, Count and enumeration over a list of values: Matches and SubMatches.
template <class Derived> class ValueList : public com::TableDispatch<Derived> {
public:
    explicit ValueList(com::ValueList items) : items_(std::move(items)) {}

    static const com::DispatchTable<Derived>& DispatchMembers() {
        static const com::DispatchTable<Derived> table{
            {u"Item", DISPID_VALUE, nullptr, nullptr, &Derived::Item},
            {u"Count", 1, &Derived::Count},
            {u"_NewEnum", DISPID_NEWENUM, nullptr, nullptr, &Derived::NewEnum},
        };
        return table;
    }

    void Item(const com::DispatchArgs& args, VARIANT& result) { ItemOf(items_, args, result); }
    void Count(VARIANT& result) { items_.CountResult(result); }
    void NewEnum(const com::DispatchArgs&, VARIANT& result) { items_.EnumeratorResult(result); }

private:
    com::ValueList items_;
};

class SubMatchesObject final : public ValueList<SubMatchesObject> {
public:
    using ValueList::ValueList;
};

class MatchesObject final : public ValueList<MatchesObject> {
public:
    using ValueList::ValueList;
};

class MatchObject final : public com::TableDispatch<MatchObject> {
public:
    MatchObject(std::u16string value, int firstIndex, com::ValueList subMatches)
        : value_(std::move(value)), firstIndex_(firstIndex), subMatches_(std::move(subMatches)) {}

    static const com::DispatchTable<MatchObject>& DispatchMembers() {
        static const com::DispatchTable<MatchObject> table{
            {u"Value", DISPID_VALUE, &MatchObject::GetValue},
            {u"FirstIndex", 1, &MatchObject::GetFirstIndex},
            {u"Length", 2, &MatchObject::GetLength},
            {u"SubMatches", 3, nullptr, nullptr, &MatchObject::SubMatches},
        };
        return table;
    }

private:
    void GetValue(VARIANT& result) { result = com::Variant(std::u16string_view(value_)).Detach(); }
    void GetFirstIndex(VARIANT& result) { result = com::Variant(LONG{firstIndex_}).Detach(); }
    void GetLength(VARIANT& result) { result = com::Variant(static_cast<LONG>(value_.size())).Detach(); }
    // m.SubMatches(0) reads an item at once, as the collection's default member would.
    void SubMatches(const com::DispatchArgs& args, VARIANT& result) {
        if (args.Count() > 1)
            Guarded([] { throw ScriptError(kErrWrongArgCount, u"SubMatches"); });
        if (args.Count() == 1)
            return ItemOf(subMatches_, args, result);
        auto list = com::MakeObject<SubMatchesObject>(subMatches_);
        result = com::Variant(static_cast<IDispatch*>(list.Get())).Detach();
    }

    std::u16string value_;
    int firstIndex_;
    com::ValueList subMatches_;
};

class RegExpObject final : public com::TableDispatch<RegExpObject> {
public:
    static const com::DispatchTable<RegExpObject>& DispatchMembers() {
        static const com::DispatchTable<RegExpObject> table{
            {u"Pattern", 1, &RegExpObject::GetPattern, &RegExpObject::PutPattern},
            {u"IgnoreCase", 2, &RegExpObject::GetIgnoreCase, &RegExpObject::PutIgnoreCase},
            {u"Global", 3, &RegExpObject::GetGlobal, &RegExpObject::PutGlobal},
            {u"Multiline", 4, &RegExpObject::GetMultiline, &RegExpObject::PutMultiline},
            {u"Test", 5, nullptr, nullptr, &RegExpObject::Test},
            {u"Execute", 6, nullptr, nullptr, &RegExpObject::Execute},
            {u"Replace", 7, nullptr, nullptr, &RegExpObject::Replace},
        };
        return table;
    }

private:
    void GetPattern(VARIANT& result) { result = com::Variant(std::u16string_view(pattern_)).Detach(); }
    void PutPattern(const VARIANT& value) {
        Guarded([&] { pattern_ = ToText(FromVariant(value)); });
        compiled_.reset();
    }
    void GetIgnoreCase(VARIANT& result) { result = com::Variant(ignoreCase_).Detach(); }
    void PutIgnoreCase(const VARIANT& value) { PutFlag(ignoreCase_, value); }
    void GetGlobal(VARIANT& result) { result = com::Variant(global_).Detach(); }
    void PutGlobal(const VARIANT& value) { PutFlag(global_, value); }
    void GetMultiline(VARIANT& result) { result = com::Variant(multiline_).Detach(); }
    void PutMultiline(const VARIANT& value) { PutFlag(multiline_, value); }

    void PutFlag(bool& flag, const VARIANT& value) {
        Guarded([&] { flag = ToBool(FromVariant(value)); });
        compiled_.reset();
    }

    const regex::Regex& Compiled() {
        if (!compiled_)
            compiled_.emplace(pattern_, ignoreCase_, multiline_);
        return *compiled_;
    }

    static std::u16string Subject(const com::DispatchArgs& args, UINT i, std::u16string_view member) {
        if (args.Count() <= i || args.IsMissing(i))
            throw ScriptError(kErrArgNotOptional, member);
        return ToText(Arg(args, i));
    }

    // Every match of the text: one unless Global; after an empty match the
    // search moves on by one character so that it cannot stall.
    template <class Visit> void EachMatch(const std::u16string& text, Visit&& visit) {
        const regex::Regex& re = Compiled();
        std::vector<int> slots;
        std::size_t from = 0;
        while (from <= text.size() && re.Search(text, from, slots)) {
            visit(slots);
            if (!global_)
                break;
            const std::size_t end = static_cast<std::size_t>(slots[1]);
            from = end == static_cast<std::size_t>(slots[0]) ? end + 1 : end;
        }
    }

    void Test(const com::DispatchArgs& args, VARIANT& result) {
        Guarded([&] {
            if (args.Count() > 1)
                throw ScriptError(kErrWrongArgCount, u"Test");
            const std::u16string text = Subject(args, 0, u"Test");
            std::vector<int> slots;
            result = com::Variant(Compiled().Search(text, 0, slots)).Detach();
        });
    }

    void Execute(const com::DispatchArgs& args, VARIANT& result) {
        Guarded([&] {
            if (args.Count() > 1)
                throw ScriptError(kErrWrongArgCount, u"Execute");
            const std::u16string text = Subject(args, 0, u"Execute");
            std::vector<Value> matches;
            EachMatch(text, [&](const std::vector<int>& slots) {
                std::vector<Value> subs;
                for (std::size_t g = 2; g + 1 < slots.size(); g += 2)
                    subs.push_back(slots[g] < 0 ? Value()
                                                : Value::String(std::u16string_view(text).substr(
                                                      static_cast<std::size_t>(slots[g]),
                                                      static_cast<std::size_t>(slots[g + 1] - slots[g]))));
                auto match =
                    com::MakeObject<MatchObject>(text.substr(static_cast<std::size_t>(slots[0]),
                                                             static_cast<std::size_t>(slots[1] - slots[0])),
                                                 slots[0], ListOf(subs));
                matches.push_back(Value::Object(match.Get()));
            });
            auto list = com::MakeObject<MatchesObject>(ListOf(matches));
            result = com::Variant(static_cast<IDispatch*>(list.Get())).Detach();
        });
    }

    // $1..$99, $& (the match), $` (before it), $' (after it), $$ (a dollar).
    static void Expand(std::u16string& out, std::u16string_view with, std::u16string_view text,
                       const std::vector<int>& slots) {
        const int groups = static_cast<int>(slots.size() / 2) - 1;
        auto part = [&](int g) {
            if (slots[2 * g] >= 0)
                out.append(text.substr(static_cast<std::size_t>(slots[2 * g]),
                                       static_cast<std::size_t>(slots[2 * g + 1] - slots[2 * g])));
        };
        for (std::size_t i = 0; i < with.size(); ++i) {
            const char16_t c = with[i];
            if (c != u'$' || i + 1 >= with.size()) {
                out += c;
                continue;
            }
            const char16_t n = with[i + 1];
            if (n == u'$') {
                out += u'$';
                ++i;
            } else if (n == u'&') {
                part(0);
                ++i;
            } else if (n == u'`') {
                out.append(text.substr(0, static_cast<std::size_t>(slots[0])));
                ++i;
            } else if (n == u'\'') {
                out.append(text.substr(static_cast<std::size_t>(slots[1])));
                ++i;
            } else if (n >= u'0' && n <= u'9') {
                int g = n - u'0';
                std::size_t used = 1;
                if (i + 2 < with.size() && with[i + 2] >= u'0' && with[i + 2] <= u'9' &&
                    g * 10 + (with[i + 2] - u'0') <= groups && g * 10 + (with[i + 2] - u'0') >= 1) {
                    g = g * 10 + (with[i + 2] - u'0');
                    used = 2;
                }
                if (g >= 1 && g <= groups) {
                    part(g);
                    i += used;
                } else {
                    out += c;
                }
            } else {
                out += c;
            }
        }
    }

    void Replace(const com::DispatchArgs& args, VARIANT& result) {
        Guarded([&] {
            if (args.Count() != 2)
                throw ScriptError(kErrWrongArgCount, u"Replace");
            const std::u16string text = Subject(args, 0, u"Replace");
            const std::u16string with = Subject(args, 1, u"Replace");
            std::u16string out;
            std::size_t copied = 0;
            EachMatch(text, [&](const std::vector<int>& slots) {
                out.append(text, copied, static_cast<std::size_t>(slots[0]) - copied);
                Expand(out, with, text, slots);
                copied = static_cast<std::size_t>(slots[1]);
            });
            out.append(text, copied, std::u16string::npos);
            result = com::Variant(std::u16string_view(out)).Detach();
        });
    }

    std::u16string pattern_;
    bool ignoreCase_ = false;
    bool global_ = false;
    bool multiline_ = false;
    std::optional<regex::Regex> compiled_;
};

} // namespace

Value NewRegExp() {
    auto object = com::MakeObject<RegExpObject>();
    return Value::Object(object.Get());
}

HRESULT CreateRegExp(REFIID riid, void** ppv) {
    return com::CreateObjectOf<RegExpObject>(riid, ppv);
}

std::u16string_view RegExpTypeName(IDispatch* object) {
    // Another server's object has no C++ type to look into.
    if (!com::IsOwnComObject(object))
        return {};
    if (dynamic_cast<RegExpObject*>(object))
        return u"IRegExp2";
    if (dynamic_cast<MatchesObject*>(object))
        return u"IMatchCollection2";
    if (dynamic_cast<MatchObject*>(object))
        return u"IMatch2";
    if (dynamic_cast<SubMatchesObject*>(object))
        return u"ISubMatches";
    return {};
}

} // namespace zorv::vbs
