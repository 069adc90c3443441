#include "dictionary.h"

#include "collections.h"
#include "errors.h"

namespace zorv::scripting {
namespace {

// Stores `value` in `slot`: objects by reference, anything else by value.
void Store(com::Variant& slot, const VARIANT& value) {
    if (FAILED(VariantCopyInd(&slot, &value)))
        Raise(kTypeMismatch);
}

} // namespace

std::span<const Member<Dictionary>> Dictionary::Members() {
    static const Member<Dictionary> members[] = {
        {u"Item", DISPID_VALUE, &Dictionary::Item},
        {u"Add", 1, &Dictionary::Add},
        {u"Count", 2, &Dictionary::Count},
        {u"Exists", 3, &Dictionary::Exists},
        {u"Items", 4, &Dictionary::Items},
        {u"Key", 5, &Dictionary::Key},
        {u"Keys", 6, &Dictionary::Keys},
        {u"Remove", 7, &Dictionary::Remove},
        {u"RemoveAll", 8, &Dictionary::RemoveAll},
        {u"CompareMode", 9, &Dictionary::CompareMode},
        {u"_NewEnum", DISPID_NEWENUM, &Dictionary::NewEnum},
    };
    return members;
}

std::ptrdiff_t Dictionary::Find(const DictionaryKey& key) const {
    const std::size_t at =
        index_.Find(key, HashOf(key), [this](std::size_t position) -> const DictionaryKey& {
            return entries_[position].compared;
        });
    return at == KeyIndex::kNone ? -1 : static_cast<std::ptrdiff_t>(at);
}

void Dictionary::Index(std::size_t position) {
    Entry& entry = entries_[position];
    entry.hash = HashOf(entry.compared);
    index_.Insert(entry.hash, position);
}

std::size_t Dictionary::Insert(DictionaryKey key, const VARIANT& keyValue, const VARIANT& item) {
    Entry entry;
    Store(entry.key, keyValue);
    Store(entry.item, item);
    entry.compared = std::move(key);
    entries_.push_back(std::move(entry));
    Index(entries_.size() - 1);
    ++live_;
    return entries_.size() - 1;
}

// Removed entries leave holes so that positions stay valid; they are
// squeezed out once they outnumber the live ones.
void Dictionary::Compact() {
    if (removed_ < 16 || removed_ < live_)
        return;
    std::vector<Entry> kept;
    kept.reserve(live_);
    for (Entry& entry : entries_)
        if (entry.live)
            kept.push_back(std::move(entry));
    entries_ = std::move(kept);
    index_.Clear();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        index_.Insert(entries_[i].hash, i);
    removed_ = 0;
}

std::vector<com::Variant> Dictionary::Live(bool keys) const {
    std::vector<com::Variant> values;
    values.reserve(live_);
    for (const Entry& entry : entries_)
        if (entry.live)
            values.push_back(keys ? entry.key : entry.item);
    return values;
}

void Dictionary::Add(Invocation& call) {
    call.args.ExpectCount(2, 2);
    DictionaryKey key = KeyOf(call.args.Raw(0));
    if (Find(key) >= 0)
        Raise(kKeyExists);
    Insert(std::move(key), call.args.Raw(0), call.args.Raw(1));
}

void Dictionary::Exists(Invocation& call) {
    call.args.ExpectCount(1, 1);
    call.result = com::Variant(Find(KeyOf(call.args.Raw(0))) >= 0).Detach();
}

// Reading a key that is not there adds it with an Empty item, as writing does
// with the value written.
void Dictionary::Item(Invocation& call) {
    call.args.ExpectCount(1, 1);
    DictionaryKey key = KeyOf(call.args.Raw(0));
    std::ptrdiff_t at = Find(key);
    if (call.IsPut()) {
        if (at < 0)
            Insert(std::move(key), call.args.Raw(0), *call.put);
        else
            Store(entries_[at].item, *call.put);
        return;
    }
    if (at < 0)
        at = static_cast<std::ptrdiff_t>(Insert(std::move(key), call.args.Raw(0), com::Variant()));
    VariantCopy(&call.result, &entries_[at].item);
}

// Key(old) = new renames a key where it stands.
void Dictionary::Key(Invocation& call) {
    call.args.ExpectCount(1, 1);
    if (!call.IsPut())
        throw com::DispatchError{DISP_E_MEMBERNOTFOUND};
    const std::ptrdiff_t at = Find(KeyOf(call.args.Raw(0)));
    if (at < 0)
        Raise(kElementNotFound);
    DictionaryKey renamed = KeyOf(*call.put);
    const std::ptrdiff_t clash = Find(renamed);
    if (clash == at)
        return Store(entries_[at].key, *call.put);
    if (clash >= 0)
        Raise(kKeyExists);
    Entry& entry = entries_[at];
    index_.Erase(entry.hash, static_cast<std::size_t>(at));
    Store(entry.key, *call.put);
    entry.compared = std::move(renamed);
    Index(static_cast<std::size_t>(at));
}

void Dictionary::Items(Invocation& call) {
    call.args.ExpectCount(0, 0);
    ArrayResult(Live(false), call.result);
}

void Dictionary::Keys(Invocation& call) {
    call.args.ExpectCount(0, 0);
    ArrayResult(Live(true), call.result);
}

void Dictionary::Remove(Invocation& call) {
    call.args.ExpectCount(1, 1);
    const std::ptrdiff_t at = Find(KeyOf(call.args.Raw(0)));
    if (at < 0)
        Raise(kElementNotFound);
    Entry& entry = entries_[at];
    index_.Erase(entry.hash, static_cast<std::size_t>(at));
    // Moved out before release: an item's Class_Terminate may call back in.
    Entry dropped = std::move(entry);
    entry.live = false;
    --live_;
    ++removed_;
    Compact();
}

void Dictionary::RemoveAll(Invocation& call) {
    call.args.ExpectCount(0, 0);
    std::vector<Entry> dropped = std::move(entries_);
    entries_.clear();
    index_.Clear();
    live_ = 0;
    removed_ = 0;
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
    EnumeratorResult(std::make_shared<const Values>(Live(true)), call.result);
}

} // namespace zorv::scripting
