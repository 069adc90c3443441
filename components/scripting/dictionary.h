#pragma once
// "Scripting.Dictionary": keys and items in the order they were added, found
// through a hash of the key as DictionaryKey compares keys.
#include <span>
#include <vector>

#include "dictionary_key.h"
#include "key_index.h"
#include "member_dispatch.h"

namespace zorv::scripting {

inline constexpr CLSID kClsidDictionary = {
    0x3C7F1A20, 0x5E4B, 0x4D9A, {0x8F, 0x61, 0x2B, 0x0C, 0x9D, 0x4E, 0x5A, 0x01}};

class Dictionary final : public MemberDispatch<Dictionary> {
public:
    static std::span<const Member<Dictionary>> Members();
    std::u16string_view TypeName() const { return u"Dictionary"; }

private:
    struct Entry {
        com::Variant key;
        com::Variant item;
        DictionaryKey compared; // the key as compared
        std::uint32_t hash = 0;
        bool live = true;
    };

    void Add(Invocation& call);
    void Exists(Invocation& call);
    void Item(Invocation& call);
    void Key(Invocation& call);
    void Items(Invocation& call);
    void Keys(Invocation& call);
    void Remove(Invocation& call);
    void RemoveAll(Invocation& call);
    void Count(Invocation& call);
    void CompareMode(Invocation& call);
    void NewEnum(Invocation& call);

    DictionaryKey KeyOf(const VARIANT& value) const { return MakeKey(value, compareMode_ != 0); }
    // The position of the entry for `key`, or -1.
    std::ptrdiff_t Find(const DictionaryKey& key) const;
    void Index(std::size_t position);
    std::size_t Insert(DictionaryKey key, const VARIANT& keyValue, const VARIANT& item);
    void Compact();
    std::vector<com::Variant> Live(bool keys) const;

    std::vector<Entry> entries_;
    KeyIndex index_;
    std::size_t live_ = 0;
    std::size_t removed_ = 0;
    LONG compareMode_ = 0;
};

} // namespace zorv::scripting
