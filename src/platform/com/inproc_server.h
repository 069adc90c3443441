#pragma once
// What a component library needs to serve its classes: the exported entry
// points and a class factory built from a creation function.
#include <functional>
#include <new>
#include <span>

#include "class_registration.h"
#include "class_table.h"
#include "com_object.h"

#ifdef _WIN32
// Exported by name through the component's module definition file.
#define ZORV_EXPORT extern "C"
#else
#define ZORV_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace zorv::com {

using CreateFunction = std::function<HRESULT(REFIID riid, void** ppv)>;

// A factory whose CreateInstance calls `create`; aggregation is refused.
ComPtr<IClassFactory> MakeClassFactory(CreateFunction create);

// Creates a T and answers the interface asked for.
template <class T, class... Args> HRESULT CreateObjectOf(REFIID riid, void** ppv, Args&&... args) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    try {
        ComPtr<T> object = ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
        return object->QueryInterface(riid, ppv);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

struct ServedClass {
    CLSID clsid;
    HRESULT (*create)(REFIID riid, void** ppv);
    // The standard ProgID, under which clients look for the class.
    const char16_t* progId;
};

// The body of a library's DllGetClassObject.
HRESULT ServeClassObject(std::span<const ServedClass> classes, REFCLSID rclsid, REFIID riid, void** ppv);

#ifdef _WIN32
// The bodies of DllRegisterServer and DllUnregisterServer (the current user)
// and DllInstall (either), never replacing another server's ProgID (see
// class_registration.h). `addressInLibrary` is any address inside the
// component's library.
HRESULT RegisterServedClasses(std::span<const ServedClass> classes, const void* addressInLibrary,
                              RegistrationScope scope = RegistrationScope::CurrentUser);
HRESULT UnregisterServedClasses(std::span<const ServedClass> classes,
                                RegistrationScope scope = RegistrationScope::CurrentUser);
// DllInstall's: `regsvr32 /n /i:machine` registers for the machine, `/i:user`
// (or no text) for the current user; `/u` with either removes it again.
HRESULT InstallServedClasses(std::span<const ServedClass> classes, const void* addressInLibrary, bool install,
                             const wchar_t* commandLine);
#endif

} // namespace zorv::com

#ifdef _WIN32
#define ZORV_REGISTRATION_ENTRY_POINTS(classes)                                                              \
    ZORV_EXPORT HRESULT STDMETHODCALLTYPE DllRegisterServer() {                                              \
        return zorv::com::RegisterServedClasses(classes, reinterpret_cast<const void*>(&DllRegisterServer)); \
    }                                                                                                        \
    ZORV_EXPORT HRESULT STDMETHODCALLTYPE DllUnregisterServer() {                                            \
        return zorv::com::UnregisterServedClasses(classes);                                                  \
    }                                                                                                        \
    ZORV_EXPORT HRESULT STDMETHODCALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {                    \
        return zorv::com::InstallServedClasses(classes, reinterpret_cast<const void*>(&DllInstall),          \
                                               install != FALSE, commandLine);                               \
    }
#else
#define ZORV_REGISTRATION_ENTRY_POINTS(classes)
#endif

// The entry points of a component library serving `classes`.
#define ZORV_COMPONENT_ENTRY_POINTS(classes)                                                                 \
    ZORV_EXPORT HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {      \
        return zorv::com::ServeClassObject(classes, rclsid, riid, ppv);                                      \
    }                                                                                                        \
    ZORV_EXPORT HRESULT STDMETHODCALLTYPE DllCanUnloadNow() {                                                \
        return zorv::com::CanUnloadServers();                                                                \
    }                                                                                                        \
    ZORV_REGISTRATION_ENTRY_POINTS(classes)
