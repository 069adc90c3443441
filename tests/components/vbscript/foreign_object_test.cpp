// Objects of other servers are often written in C: their method tables carry
// no C++ type information, so the engine must never look into them as C++
// objects (TypeName asked that of every object and crashed on them).
#include <gtest/gtest.h>

#include "components/vbscript/regexp.h"

using namespace zorv;

namespace {

// A C-style dispatch object: a table of functions with nothing before it
// where a C++ compiler would put the type's description.
struct CObject {
    const void* const* table;
};

HRESULT STDMETHODCALLTYPE CQueryInterface(CObject* self, REFIID riid, void** ppv) {
    *ppv = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ? self : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE COne(CObject*) {
    return 1;
}
HRESULT STDMETHODCALLTYPE CNotImplemented(CObject*) {
    return E_NOTIMPL;
}

const void* const kCTable[] = {nullptr,
                               nullptr, // no offset, no type: what C leaves
                               reinterpret_cast<const void*>(&CQueryInterface),
                               reinterpret_cast<const void*>(&COne),
                               reinterpret_cast<const void*>(&COne),
                               reinterpret_cast<const void*>(&CNotImplemented),
                               reinterpret_cast<const void*>(&CNotImplemented),
                               reinterpret_cast<const void*>(&CNotImplemented),
                               reinterpret_cast<const void*>(&CNotImplemented)};

TEST(ForeignObjects, ARegularExpressionsTypeNameIsNotSoughtInAnotherServersObject) {
    CObject object{&kCTable[2]};
    EXPECT_TRUE(vbs::RegExpTypeName(reinterpret_cast<IDispatch*>(&object)).empty());
}

} // namespace
