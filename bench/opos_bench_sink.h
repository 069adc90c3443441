#pragma once
// What the OPOS input benchmarks share: a device object created by ProgID
// through the class table, and a sink advised on its first connection point
// that counts the DataEvents it is given.
#include "platform/com/com_object.h"
#include "platform/com/connection.h"

namespace zorv::bench {

class CountingSink final : public com::ComObject<IDispatch> {
public:
    explicit CountingSink(const IID& events) : events_(events) {}

    LONG received = 0;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    // DataEvent is the first event of the input kinds measured here.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

protected:
    HRESULT QueryOtherInterface(REFIID riid, void** ppv) override;

private:
    IID events_;
};

// None when the ProgID is not registered or the object cannot be made.
com::ComPtr<IDispatch> CreateDevice(const char16_t* progId);
// A new sink on the device's first connection point; false when it cannot be advised.
bool Advise(IDispatch* device, com::ComPtr<CountingSink>& sink);

} // namespace zorv::bench
