#pragma once
// Owning BSTR.
#include <string>
#include <string_view>
#include <utility>

#include "bstr.h"
#include "text.h"

namespace zorv::com {

class Bstr {
public:
    Bstr() = default;
    Bstr(std::u16string_view text)
        : bstr_(SysAllocStringLen(ToOle(text.data()), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr& other) : Bstr(other.View()) {}
    Bstr(Bstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
    ~Bstr() { SysFreeString(bstr_); }
    Bstr& operator=(Bstr other) noexcept {
        std::swap(bstr_, other.bstr_);
        return *this;
    }

    static Bstr Adopt(BSTR bstr) {
        Bstr result;
        result.bstr_ = bstr;
        return result;
    }
    BSTR Detach() { return std::exchange(bstr_, nullptr); }
    BSTR Get() const { return bstr_; }
    // For in-out parameters: the callee may free and replace the text.
    BSTR* AddressOf() { return &bstr_; }
    // For out-parameters: frees what is held first.
    BSTR* ReleaseAndGetAddressOf() {
        SysFreeString(std::exchange(bstr_, nullptr));
        return &bstr_;
    }

    std::size_t Length() const { return SysStringLen(bstr_); }
    std::u16string_view View() const {
        return bstr_ ? std::u16string_view(FromOle(bstr_), Length()) : std::u16string_view();
    }
    std::u16string Str() const { return std::u16string(View()); }

private:
    BSTR bstr_ = nullptr;
};

inline std::u16string_view BstrView(BSTR bstr) {
    return bstr ? std::u16string_view(FromOle(bstr), SysStringLen(bstr)) : std::u16string_view();
}

} // namespace zorv::com
