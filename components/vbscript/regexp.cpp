#include "regexp.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "com_bridge.h"
#include "conversion.h"
#include "platform/com/inproc_server.h"
#include "platform/com/table_dispatch.h"
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

void SetResult(VARIANT& result, const Value& value) {
    ToVariant(value, result);
}

// Enumerates a fixed list of values, for For Each over the collections.
class ValueEnumerator final : public com::ComObject<IDispatch, IEnumVARIANT> {
public:
    explicit ValueEnumerator(std::shared_ptr<const std::vector<Value>> items) : items_(std::move(items)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, VARIANT* out, ULONG* fetched) override {
        if (fetched)
            *fetched = 0;
        if (out == nullptr && celt > 0)
            return E_POINTER;
        ULONG n = 0;
        for (; n < celt && next_ < items_->size(); ++n) {
            VariantInit(&out[n]);
            ToVariant((*items_)[next_++], out[n]);
        }
        if (fetched)
            *fetched = n;
        return n == celt ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override {
        const std::size_t left = items_->size() - next_;
        next_ += celt < left ? celt : left;
        return celt <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy == nullptr)
            return E_POINTER;
        auto clone = com::MakeObject<ValueEnumerator>(items_);
        clone->next_ = next_;
        *copy = clone.Detach();
        return S_OK;
    }

private:
    std::shared_ptr<const std::vector<Value>> items_;
    std::size_t next_ = 0;
};

// Item, Count and enumeration over a list of values: Matches and SubMatches.
template <class Derived> class ValueList : public com::TableDispatch<Derived> {
public:
    explicit ValueList(std::vector<Value> items)
        : items_(std::make_shared<const std::vector<Value>>(std::move(items))) {}

    static const com::DispatchTable<Derived>& DispatchMembers() {
        static const com::DispatchTable<Derived> table{
            {u"Item", DISPID_VALUE, nullptr, nullptr, &Derived::Item},
            {u"Count", 1, &Derived::Count},
            {u"_NewEnum", DISPID_NEWENUM, nullptr, nullptr, &Derived::NewEnum},
        };
        return table;
    }
    const std::vector<Value>& Items() const { return *items_; }

    void Item(const com::DispatchArgs& args, VARIANT& result) {
        Guarded([&] {
            if (args.Count() != 1)
                throw ScriptError(kErrWrongArgCount, u"Item");
            const std::int32_t i = ToLong(Arg(args, 0));
            if (i < 0 || static_cast<std::size_t>(i) >= items_->size())
                throw ScriptError(kErrInvalidCall);
            SetResult(result, (*items_)[static_cast<std::size_t>(i)]);
        });
    }
    void Count(VARIANT& result) { result = com::Variant(static_cast<LONG>(items_->size())).Detach(); }
    void NewEnum(const com::DispatchArgs&, VARIANT& result) {
        auto e = com::MakeObject<ValueEnumerator>(items_);
        result = com::Variant(static_cast<IDispatch*>(e.Get())).Detach();
    }

private:
    std::shared_ptr<const std::vector<Value>> items_;
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
    MatchObject(std::u16string value, int firstIndex, std::vector<Value> subMatches)
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
        Guarded([&] {
            if (args.Count() > 1)
                throw ScriptError(kErrWrongArgCount, u"SubMatches");
            if (args.Count() == 1) {
                const std::int32_t i = ToLong(Arg(args, 0));
                if (i < 0 || static_cast<std::size_t>(i) >= subMatches_.size())
                    throw ScriptError(kErrInvalidCall);
                SetResult(result, subMatches_[static_cast<std::size_t>(i)]);
                return;
            }
            auto list = com::MakeObject<SubMatchesObject>(subMatches_);
            result = com::Variant(static_cast<IDispatch*>(list.Get())).Detach();
        });
    }

    std::u16string value_;
    int firstIndex_;
    std::vector<Value> subMatches_;
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
                                                 slots[0], std::move(subs));
                matches.push_back(Value::Object(match.Get()));
            });
            auto list = com::MakeObject<MatchesObject>(std::move(matches));
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

HRESULT CreateRegExp(REFIID riid, void** ppv) { return com::CreateObjectOf<RegExpObject>(riid, ppv); }

std::u16string_view RegExpTypeName(IDispatch* object) {
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
