#include "opos_test_support.h"

#include <gtest/gtest.h>

#include "platform/com/class_table.h"
#include "platform/com/ole_control.h"

namespace opos_test {

using namespace zorv::outside;

ComPtr<IDispatch> Create(const char16_t* progId) {
    CLSID clsid{};
    EXPECT_EQ(zorv::com::FindClass(progId, &clsid), S_OK);
    ComPtr<IDispatch> device;
    EXPECT_EQ(zorv::com::CreateInstance(clsid, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                        device.ReleaseAndGetVoidAddress()),
              S_OK);
    return device;
}

LONG Call(IDispatch* device, const char16_t* method, std::initializer_list<Arg> args) {
    return ToLong(CallMethod(device, method, args));
}

LONG Long(IDispatch* device, const char16_t* property) {
    return ToLong(GetProperty(device, property));
}
bool Bool(IDispatch* device, const char16_t* property) {
    return ToBool(GetProperty(device, property));
}
std::u16string Text(IDispatch* device, const char16_t* property) {
    return ToText(GetProperty(device, property));
}

LONG Put(IDispatch* device, const char16_t* property, const Arg& value) {
    PutProperty(device, property, value);
    return Long(device, u"ResultCode");
}

DirectIOResult DirectIO(IDispatch* device, LONG command, LONG data, std::u16string_view text) {
    zorv::com::Bstr string(text);
    const LONG code = Call(device, u"DirectIO", {command, Arg::Ref(data), Arg::Ref(string)});
    return {code, data, string.Str()};
}

void OpenReady(IDispatch* device, const char16_t* name, bool claim) {
    ASSERT_EQ(Call(device, u"Open", {name}), 0);
    if (claim) {
        ASSERT_EQ(Call(device, u"ClaimDevice", {LONG{1000}}), 0);
    }
    ASSERT_EQ(Put(device, u"DeviceEnabled", true), 0);
}

HRESULT Sink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    ReceivedEvent event{id, {}, {}, {}};
    // Arguments arrive last first.
    for (UINT i = params->cArgs; i-- > 0;) {
        VARIANT& arg = params->rgvarg[i];
        event.types.push_back(arg.vt);
        if (arg.vt == VT_I4)
            event.numbers.push_back(arg.lVal);
        else if (arg.vt == (VT_BYREF | VT_I4))
            event.numbers.push_back(*arg.plVal);
        else if (arg.vt == (VT_BYREF | VT_BSTR))
            event.text = zorv::com::BstrView(*arg.pbstrVal);
    }
    received.push_back(event);
    if (params->cArgs == 4 && params->rgvarg[0].vt == (VT_BYREF | VT_I4) && errorResponse != 0)
        *params->rgvarg[0].plVal = errorResponse;
    if (params->cArgs == 3 && params->rgvarg[0].vt == (VT_BYREF | VT_BSTR)) {
        *params->rgvarg[1].plVal = replyData;
        SysReAllocStringLen(params->rgvarg[0].pbstrVal, zorv::com::ToOle(replyText.data()),
                            static_cast<UINT>(replyText.size()));
    }
    if (reaction)
        reaction(event);
    return S_OK;
}

HRESULT Sink::QueryOtherInterface(REFIID riid, void** ppv) {
    if (!IsEqualIID(riid, events_))
        return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

ComPtr<Sink> AdviseSink(IDispatch* device) {
    ComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(device->QueryInterface(IID_IConnectionPointContainer, container.ReleaseAndGetVoidAddress()),
              S_OK);
    ComPtr<IEnumConnectionPoints> points;
    EXPECT_EQ(container->EnumConnectionPoints(points.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IConnectionPoint> first;
    EXPECT_EQ(points->Next(1, first.ReleaseAndGetAddressOf(), nullptr), S_OK);
    IID events{};
    EXPECT_EQ(first->GetConnectionInterface(&events), S_OK);
    auto sink = zorv::com::MakeObject<Sink>(events);
    DWORD cookie = 0;
    EXPECT_EQ(first->Advise(static_cast<IDispatch*>(sink.Get()), &cookie), S_OK);
    return sink;
}

} // namespace opos_test
