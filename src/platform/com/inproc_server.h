#pragma once
// What a component library needs to serve its classes: the exported entry
// points and a class factory built from a creation function.
#include <functional>
#include <new>
#include <span>

#include "class_table.h"
#include "com_object.h"

#define ZORV_EXPORT extern "C" __attribute__((visibility("default")))

namespace zorv::com {

using CreateFunction = std::function<HRESULT(REFIID riid, void** ppv)>;

// A factory whose CreateInstance calls `create`; aggregation is refused.
ComPtr<IClassFactory> MakeClassFactory(CreateFunction create);

// Creates a T and answers the interface asked for.
template <class T, class... Args>
HRESULT CreateObjectOf(REFIID riid, void** ppv, Args&&... args) {
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
};

// The body of a library's DllGetClassObject.
HRESULT ServeClassObject(std::span<const ServedClass> classes, REFCLSID rclsid, REFIID riid, void** ppv);

} // namespace zorv::com
