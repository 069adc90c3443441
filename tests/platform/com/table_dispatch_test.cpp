#include <gtest/gtest.h>

#include "platform/com/connection.h"
#include "platform/com/member_id.h"
#include "platform/com/table_dispatch.h"

using namespace zorv::com;

namespace {

int liveObjects = 0;

class Device final : public TableDispatch<Device> {
public:
    Device() { ++liveObjects; }
    ~Device() override { --liveObjects; }

    static const DispatchTable<Device>& DispatchMembers() {
        static const DispatchTable<Device> table{
            {u"Enabled", 7, &Device::GetEnabled, &Device::PutEnabled},
            {u"Name", 3, &Device::GetName},
            {u"Open", 12, nullptr, nullptr, &Device::Open},
            {u"Broken", 20, &Device::Broken},
        };
        return table;
    }

private:
    void GetEnabled(VARIANT& result) {
        result.vt = VT_BOOL;
        result.boolVal = enabled_ ? VARIANT_TRUE : VARIANT_FALSE;
    }
    void PutEnabled(const VARIANT& value) {
        Variant converted;
        if (FAILED(VariantChangeType(&converted, &value, 0, VT_BOOL)))
            throw DispatchError{DISP_E_TYPEMISMATCH, 0};
        enabled_ = converted.boolVal != VARIANT_FALSE;
    }
    void GetName(VARIANT& result) { result = Variant(u"Sim").Detach(); }
    void Open(const DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 1);
        const std::u16string name = args.String(0);
        args.SetByRef(0, Variant(name + u"!"));
        result.vt = VT_I4;
        result.lVal = name.empty() ? 109 : 0;
    }
    void Broken(VARIANT&) { throw DispatchException(u"Le périphérique ne répond pas.", E_FAIL); }

    bool enabled_ = false;
};

DISPID IdOf(IDispatch* object, std::u16string name) {
    DISPID id = 0;
    EXPECT_EQ(MemberIdOf(object, name, &id), S_OK);
    return id;
}

HRESULT Call(IDispatch* object, DISPID id, WORD flags, std::vector<VARIANT> lastFirst, VARIANT* result,
             EXCEPINFO* info = nullptr, UINT* argErr = nullptr) {
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = flags & DISPATCH_PROPERTYPUT;
    DISPPARAMS params{lastFirst.data(), isPut ? &put : nullptr, static_cast<UINT>(lastFirst.size()),
                      isPut ? 1u : 0u};
    const HRESULT hr = object->Invoke(id, IID_NULL, 0, flags, &params, result, info, argErr);
    for (VARIANT& arg : lastFirst)
        VariantClear(&arg);
    return hr;
}

} // namespace

TEST(TableDispatch, FindsMembersWithoutRegardToCase) {
    auto device = MakeObject<Device>();
    EXPECT_EQ(IdOf(device.Get(), u"enabled"), 7);
    EXPECT_EQ(IdOf(device.Get(), u"OPEN"), 12);
    DISPID id = 0;
    EXPECT_EQ(MemberIdOf(device.Get(), u"Enable", &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST(TableDispatch, PropertyPutThenGetAndAMethodWithAByReferenceArgument) {
    auto device = MakeObject<Device>();
    Variant result;
    EXPECT_EQ(Call(device.Get(), 7, DISPATCH_PROPERTYPUT, {Variant(true).Detach()}, nullptr), S_OK);
    EXPECT_EQ(Call(device.Get(), 7, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);

    Bstr name(u"SimScanner");
    VARIANT byRef;
    byRef.vt = VT_BYREF | VT_BSTR;
    byRef.pbstrVal = name.AddressOf();
    EXPECT_EQ(Call(device.Get(), 12, DISPATCH_METHOD, {byRef}, &result), S_OK);
    EXPECT_EQ(result.lVal, 0);
    EXPECT_EQ(name.View(), u"SimScanner!");
}

TEST(TableDispatch, WrongCallsGiveThePreciseCode) {
    auto device = MakeObject<Device>();
    Variant result;
    UINT argErr = 99;
    EXPECT_EQ(Call(device.Get(), 3, DISPATCH_PROPERTYPUT, {Variant(LONG{1}).Detach()}, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(device.Get(), 999, DISPATCH_PROPERTYGET, {}, &result), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(device.Get(), 12, DISPATCH_METHOD, {}, &result), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(device.Get(), 3, DISPATCH_PROPERTYGET, {Variant(LONG{1}).Detach()}, &result),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(
        Call(device.Get(), 7, DISPATCH_PROPERTYPUT, {Variant(u"maybe").Detach()}, nullptr, nullptr, &argErr),
        DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    DISPPARAMS noNamed{nullptr, nullptr, 0, 0};
    EXPECT_EQ(device->Invoke(7, IID_IDispatch, 0, DISPATCH_PROPERTYGET, &noNamed, &result, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(device->Invoke(7, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, &result, nullptr, nullptr),
              E_INVALIDARG);
}

TEST(TableDispatch, AnExceptionFillsExcepInfo) {
    auto device = MakeObject<Device>();
    Variant result;
    EXCEPINFO info{};
    ASSERT_EQ(Call(device.Get(), 20, DISPATCH_PROPERTYGET, {}, &result, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(BstrView(info.bstrDescription), u"Le périphérique ne répond pas.");
    EXPECT_EQ(info.scode, E_FAIL);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
}

TEST(TableDispatch, ReferencesAreCountedAndTheLastReleaseDeletes) {
    {
        auto device = MakeObject<Device>();
        EXPECT_EQ(liveObjects, 1);
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(device.As(&unknown), S_OK);
        ComPtr<IDispatch> again;
        ASSERT_EQ(unknown.As(&again), S_OK);
        EXPECT_EQ(again.Get(), device.Get());
        ComPtr<IConnectionPointContainer> none;
        EXPECT_EQ(device.As(&none), E_NOINTERFACE);
        EXPECT_FALSE(none);
        EXPECT_EQ(device->AddRef(), 4u);
        EXPECT_EQ(device->Release(), 3u);
    }
    EXPECT_EQ(liveObjects, 0);
}
