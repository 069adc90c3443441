#include "inproc_server.h"

#ifdef _WIN32
#include "win/apartment_window.h"
#endif

namespace zorv::com {
namespace {

class ClassFactory final : public ComObject<IClassFactory> {
public:
    explicit ClassFactory(CreateFunction create) : create_(std::move(create)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (pUnkOuter != nullptr)
            return CLASS_E_NOAGGREGATION;
        return create_(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        LockServers(lock != FALSE);
        return S_OK;
    }

private:
    CreateFunction create_;
};

} // namespace

ComPtr<IClassFactory> MakeClassFactory(CreateFunction create) {
    return ComPtr<IClassFactory>::Adopt(new ClassFactory(std::move(create)));
}

HRESULT ServeClassObject(std::span<const ServedClass> classes, REFCLSID rclsid, REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    for (const ServedClass& served : classes)
        if (IsEqualCLSID(served.clsid, rclsid)) {
#ifdef _WIN32
            // A host that entered its apartment itself (a script host) gets
            // our posted calls and timers on its own message loop too.
            detail::JoinHostApartment();
#endif
            return MakeClassFactory(served.create)->QueryInterface(riid, ppv);
        }
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace zorv::com
