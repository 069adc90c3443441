#include "dictionary.h"

#include <type_traits>

#include "errors.h"

namespace zorv::scripting {
namespace {

enum MemberId : DISPID { kAdd = 1, kCount, kExists, kItems, kKey, kKeys, kRemove, kRemoveAll, kCompareMode };

bool IsPlainNumber(VARTYPE vt) {
    switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R8:
    case VT_DATE:
    case VT_BOOL:
    case VT_UI1:
        return true;
    default:
        return false;
    }
}

// `value` copied into raw storage: objects by reference, anything else by
// value. Numbers, what scripts mostly store, are copied as they are.
void CopyInto(VARIANT& slot, const VARIANT& value) {
    const VARIANT* source = &value;
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr)
        source = value.pvarVal;
    if (IsPlainNumber(source->vt)) {
        slot = *source;
        return;
    }
    VariantInit(&slot);
    if (FAILED(VariantCopyInd(&slot, &value)))
        Raise(kTypeMismatch);
}

// Clears what entries owned once they are out of the table: an item's
// Class_Terminate may call back into the dictionary.
template <class Entries> void ClearAll(Entries& entries) {
    for (auto& entry : entries) {
        VariantClear(&entry.key);
        VariantClear(&entry.item);
    }
}

} // namespace

Dictionary::~Dictionary() {
    std::vector<Entry> dropped = std::move(entries_);
    ClearAll(dropped);
}

std::span<const Member<Dictionary>> Dictionary::Members() {
    static const Member<Dictionary> members[] = {
        {u"Item", DISPID_VALUE, &Dictionary::Item},
        {u"Add", kAdd, &Dictionary::Add},
        {u"Count", kCount, &Dictionary::Count},
        {u"Exists", kExists, &Dictionary::Exists},
        {u"Items", kItems, &Dictionary::Items},
        {u"Key", kKey, &Dictionary::Key},
        {u"Keys", kKeys, &Dictionary::Keys},
        {u"Remove", kRemove, &Dictionary::Remove},
        {u"RemoveAll", kRemoveAll, &Dictionary::RemoveAll},
        {u"CompareMode", kCompareMode, &Dictionary::CompareMode},
        {u"_NewEnum", DISPID_NEWENUM, &Dictionary::NewEnum},
    };
    return members;
}

HRESULT Dictionary::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excepInfo, UINT* argErr) {
    const bool plain = params != nullptr && params->rgvarg != nullptr && params->cNamedArgs == 0 &&
                       IsEqualIID(riid, IID_NULL) && (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0;
    if (plain) {
        const VARIANT* args = params->rgvarg; // the last argument first
        if (id == DISPID_VALUE && params->cArgs == 1 && result != nullptr)
            return com::GuardedInvoke(TypeName(), excepInfo, argErr, [&] {
                VariantInit(result);
                ReadItem(args[0], *result);
            });
        if (id == kExists && params->cArgs == 1 && result != nullptr)
            return com::GuardedInvoke(TypeName(), excepInfo, argErr, [&] {
                VariantInit(result);
                result->vt = VT_BOOL;
                result->boolVal = Has(args[0]) ? VARIANT_TRUE : VARIANT_FALSE;
            });
        if (id == kAdd && params->cArgs == 2)
            return com::GuardedInvoke(TypeName(), excepInfo, argErr, [&] {
                if (result != nullptr)
                    VariantInit(result);
                AddEntry(args[1], args[0]);
            });
    }
    return MemberDispatch::Invoke(id, riid, lcid, flags, params, result, excepInfo, argErr);
}

std::ptrdiff_t Dictionary::Find(const KeyView& key, std::uint32_t hash) const {
    const bool ignoreCase = IgnoresCase();
    const std::size_t at = index_.Find(
        hash, [&](std::size_t position) { return SameKey(entries_[position].compared, key, ignoreCase); });
    return at == KeyIndex::kNone ? -1 : static_cast<std::ptrdiff_t>(at);
}

std::size_t Dictionary::Insert(const KeyView& key, std::uint32_t hash, const VARIANT& keyValue,
                               const VARIANT& item) {
    static_assert(std::is_trivially_copyable_v<Entry>);
    VARIANT storedKey;
    CopyInto(storedKey, keyValue);
    VARIANT storedItem;
    try {
        CopyInto(storedItem, item);
        const std::size_t position = entries_.size();
        entries_.push_back({storedKey, storedItem, key, hash, true});
        try {
            index_.Insert(hash, position);
        } catch (...) {
            entries_.pop_back();
            VariantClear(&storedItem);
            throw;
        }
    } catch (...) {
        VariantClear(&storedKey);
        throw;
    }
    Entry& entry = entries_.back();
    if (key.kind == KeyView::Kind::Text)
        entry.compared.pointer = entry.key.bstrVal; // no longer the caller's text
    ++live_;
    return entries_.size() - 1;
}

// Removed entries leave holes so that positions stay valid; they are
// squeezed out once they outnumber the live ones.
void Dictionary::Compact() {
    if (removed_ < 16 || removed_ < live_)
        return;
    std::size_t kept = 0;
    for (const Entry& entry : entries_)
        if (entry.live)
            entries_[kept++] = entry;
    entries_.resize(kept);
    index_.Clear();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        index_.Insert(entries_[i].hash, i);
    removed_ = 0;
}

com::ValueList Dictionary::Live(bool keys) const {
    com::Values values;
    values.reserve(live_);
    for (const Entry& entry : entries_)
        if (entry.live)
            values.emplace_back(keys ? entry.key : entry.item);
    return com::ValueList(std::move(values));
}

void Dictionary::AddEntry(const VARIANT& key, const VARIANT& item) {
    const ProbeKey probe(key);
    const std::uint32_t hash = HashOf(probe.View(), IgnoresCase());
    if (Find(probe.View(), hash) >= 0)
        Raise(kKeyExists);
    Insert(probe.View(), hash, key, item);
}

bool Dictionary::Has(const VARIANT& key) const {
    const ProbeKey probe(key);
    return Find(probe.View(), HashOf(probe.View(), IgnoresCase())) >= 0;
}

// Reading a key that is not there adds it with an Empty item, as writing does
// with the value written.
void Dictionary::ReadItem(const VARIANT& key, VARIANT& result) {
    const ProbeKey probe(key);
    const std::uint32_t hash = HashOf(probe.View(), IgnoresCase());
    std::ptrdiff_t at = Find(probe.View(), hash);
    if (at < 0) {
        VARIANT empty;
        VariantInit(&empty);
        at = static_cast<std::ptrdiff_t>(Insert(probe.View(), hash, key, empty));
    }
    if (FAILED(VariantCopy(&result, &entries_[at].item)))
        Raise(kOutOfMemory);
}

void Dictionary::WriteItem(const VARIANT& key, const VARIANT& item) {
    const ProbeKey probe(key);
    const std::uint32_t hash = HashOf(probe.View(), IgnoresCase());
    const std::ptrdiff_t at = Find(probe.View(), hash);
    if (at < 0) {
        Insert(probe.View(), hash, key, item);
        return;
    }
    VARIANT fresh;
    CopyInto(fresh, item);
    VARIANT old = entries_[at].item;
    entries_[at].item = fresh;
    VariantClear(&old);
}

void Dictionary::Add(Invocation& call) {
    call.args.ExpectCount(2, 2);
    AddEntry(call.args.Raw(0), call.args.Raw(1));
}

void Dictionary::Exists(Invocation& call) {
    call.args.ExpectCount(1, 1);
    call.result.vt = VT_BOOL;
    call.result.boolVal = Has(call.args.Raw(0)) ? VARIANT_TRUE : VARIANT_FALSE;
}

void Dictionary::Item(Invocation& call) {
    call.args.ExpectCount(1, 1);
    if (call.IsPut())
        WriteItem(call.args.Raw(0), *call.put);
    else
        ReadItem(call.args.Raw(0), call.result);
}

// Key(old) = new renames a key where it stands.
void Dictionary::Key(Invocation& call) {
    call.args.ExpectCount(1, 1);
    if (!call.IsPut())
        throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
    const ProbeKey old(call.args.Raw(0));
    const std::ptrdiff_t at = Find(old.View(), HashOf(old.View(), IgnoresCase()));
    if (at < 0)
        Raise(kElementNotFound);
    const ProbeKey renamed(*call.put);
    const std::uint32_t hash = HashOf(renamed.View(), IgnoresCase());
    const std::ptrdiff_t clash = Find(renamed.View(), hash);
    if (clash >= 0 && clash != at)
        Raise(kKeyExists);
    VARIANT fresh;
    CopyInto(fresh, *call.put);
    if (clash != at) {
        try {
            index_.Insert(hash, static_cast<std::size_t>(at)); // before anything changes: it may fail
        } catch (...) {
            VariantClear(&fresh);
            throw;
        }
    }
    Entry& entry = entries_[at];
    if (clash != at)
        index_.Erase(entry.hash, static_cast<std::size_t>(at));
    VARIANT oldKey = entry.key;
    entry.key = fresh;
    entry.compared = renamed.View();
    if (entry.compared.kind == KeyView::Kind::Text)
        entry.compared.pointer = entry.key.bstrVal;
    entry.hash = hash;
    VariantClear(&oldKey);
}

void Dictionary::Items(Invocation& call) {
    call.args.ExpectCount(0, 0);
    Live(false).ArrayResult(call.result);
}

void Dictionary::Keys(Invocation& call) {
    call.args.ExpectCount(0, 0);
    Live(true).ArrayResult(call.result);
}

void Dictionary::Remove(Invocation& call) {
    call.args.ExpectCount(1, 1);
    const ProbeKey probe(call.args.Raw(0));
    const std::ptrdiff_t at = Find(probe.View(), HashOf(probe.View(), IgnoresCase()));
    if (at < 0)
        Raise(kElementNotFound);
    Entry dropped[] = {entries_[at]};
    Entry& entry = entries_[at];
    index_.Erase(entry.hash, static_cast<std::size_t>(at));
    VariantInit(&entry.key);
    VariantInit(&entry.item);
    entry.live = false;
    --live_;
    ++removed_;
    Compact();
    ClearAll(dropped);
}

void Dictionary::RemoveAll(Invocation& call) {
    call.args.ExpectCount(0, 0);
    std::vector<Entry> dropped = std::move(entries_);
    entries_.clear();
    index_.Clear();
    live_ = 0;
    removed_ = 0;
    ClearAll(dropped);
}

void Dictionary::Count(Invocation& call) {
    call.args.ExpectCount(0, 0);
    if (call.IsPut())
        throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
    call.result = com::Variant(static_cast<LONG>(live_)).Detach();
}

// 0 binary, 1 text, 2 database (compared as text); only while empty.
void Dictionary::CompareMode(Invocation& call) {
    call.args.ExpectCount(0, 0);
    if (!call.IsPut()) {
        call.result = com::Variant(compareMode_).Detach();
        return;
    }
    LONG mode = 0;
    if (FAILED(com::Variant(*call.put).ToLong(mode)))
        Raise(kTypeMismatch);
    if (mode < 0 || live_ > 0)
        Raise(kInvalidCall);
    compareMode_ = mode;
}

void Dictionary::NewEnum(Invocation& call) {
    call.args.ExpectCount(0, 0);
    Live(true).EnumeratorResult(call.result);
}

} // namespace zorv::scripting
