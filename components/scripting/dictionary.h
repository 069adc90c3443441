#pragma once
// "Scripting.Dictionary": keys and items in the order they were added, found
// through a hash of the key as KeyView compares keys.
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
    ~Dictionary() override;

    static std::span<const Member<Dictionary>> Members();
    std::u16string_view TypeName() const { return kTypeName; }

    // Item, Add and Exists, what a busy script calls, skip the member table.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

private:
    static constexpr std::u16string_view kTypeName = u"Dictionary"; // its length known at compile time

    // Raw variants, so that growing the table moves entries as bytes; the
    // dictionary clears them itself.
    struct Entry {
        VARIANT key;
        VARIANT item;
        KeyView compared; // its text points into `key`
        std::uint32_t hash;
        bool live;
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

    void AddEntry(const VARIANT& key, const VARIANT& item);
    bool Has(const VARIANT& key) const;
    void ReadItem(const VARIANT& key, VARIANT& result);
    void WriteItem(const VARIANT& key, const VARIANT& item);

    bool IgnoresCase() const { return compareMode_ != 0; }
    // The position of the entry for `key`, or -1.
    std::ptrdiff_t Find(const KeyView& key, std::uint32_t hash) const;
    std::size_t Insert(const KeyView& key, std::uint32_t hash, const VARIANT& keyValue, const VARIANT& item);
    void Compact();
    com::ValueList Live(bool keys) const;

    std::vector<Entry> entries_;
    KeyIndex index_;
    std::size_t live_ = 0;
    std::size_t removed_ = 0;
    LONG compareMode_ = 0;
};

} // namespace zorv::scripting
