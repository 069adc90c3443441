#pragma once
// Reference counting and QueryInterface generated from the list of interfaces
// a class implements. Only Release deletes.
#include <tuple>
#include <type_traits>

#include "com_ptr.h"
#include "ole_control.h"
#include "server_lifetime.h"

namespace zorv::com {

// An interface whose base is not IUnknown names that base here, so that
// QueryInterface also answers for it (IPersistStreamInit answers IPersist).
template <class Interface> struct InterfaceBase { using type = IUnknown; };
template <> struct InterfaceBase<IPersistStreamInit> { using type = IPersist; };

// Answered by every object built on ComObject: code may look into one of
// those as a C++ object (dynamic_cast), never into another server's.
inline constexpr IID kIidOwnComObject = {
    0x9E1D2C30, 0x7A4B, 0x4F6E, {0x8C, 0x21, 0x5B, 0x3E, 0x0D, 0x6F, 0x71, 0xA4}};

template <class... Interfaces> class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidOwnComObject)) {
            *ppv = Identity();
        } else if (!(FindInterface<Interfaces>(riid, ppv) || ...)) {
            return QueryOtherInterface(riid, ppv);
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    IUnknown* Identity() { return static_cast<std::tuple_element_t<0, std::tuple<Interfaces...>>*>(this); }

protected:
    ComObject() { ObjectMade(); }
    virtual ~ComObject() { ObjectGone(); }

    // For interfaces that are not in the list (tear-offs, forwarding); must
    // AddRef what it returns.
    virtual HRESULT QueryOtherInterface(REFIID, void**) { return E_NOINTERFACE; }

private:
    template <class Interface> bool FindInterface(REFIID riid, void** ppv) {
        if (Matches<Interface>(riid)) {
            *ppv = static_cast<Interface*>(this);
            return true;
        }
        return false;
    }

    template <class Interface> static bool Matches(REFIID riid) {
        if (IsEqualIID(riid, IidOf<Interface>()))
            return true;
        using Base = typename InterfaceBase<Interface>::type;
        if constexpr (std::is_same_v<Base, IUnknown>)
            return false;
        else
            return Matches<Base>(riid);
    }

    // Objects live in the single-threaded apartment: no atomic counting needed.
    ULONG references_ = 1;
};

// Creates an object of class T with one reference, held by the result.
template <class T, class... Args> ComPtr<T> MakeObject(Args&&... args) {
    return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

// Whether `object` is one of ours (see kIidOwnComObject). The object may be
// another server's, written in C: no C++ type for the sanitizers to check.
#if defined(__GNUC__) || defined(__clang__)
__attribute__((no_sanitize("vptr")))
#endif
inline bool
IsOwnComObject(IUnknown* object) {
    IUnknown* own = nullptr;
    if (object == nullptr || FAILED(object->QueryInterface(kIidOwnComObject, reinterpret_cast<void**>(&own))))
        return false;
    own->Release();
    return true;
}

} // namespace zorv::com
