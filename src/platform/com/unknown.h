#pragma once
// The root interface, the class factory, and the link from an interface type
// to its identifier that QueryInterface helpers and smart pointers use.
#include "guid.h"
#include "hresult.h"

namespace zorv::com {
template <class Interface> struct InterfaceId;

template <class Interface> constexpr const IID& IidOf() {
    return InterfaceId<Interface>::value;
}
} // namespace zorv::com

#define ZORV_INTERFACE_ID(Interface, iid)                                                                    \
    template <> struct zorv::com::InterfaceId<Interface> { static constexpr const IID& value = iid; }

#ifndef _WIN32
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;

protected:
    ~IClassFactory() = default;
};
#endif // _WIN32

ZORV_INTERFACE_ID(IUnknown, IID_IUnknown);
ZORV_INTERFACE_ID(IClassFactory, IID_IClassFactory);
