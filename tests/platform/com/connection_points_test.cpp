#include <gtest/gtest.h>

#include "platform/com/com_object.h"
#include "platform/com/connection_points.h"

using namespace zorv::com;

namespace {

constexpr IID kEventsIid = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

class Source final : public ComObject<IConnectionPointContainer> {
public:
    Source() {
        events_ = &points_.Add(kEventsIid);
        points_.Add(IID_IPropertyNotifySink);
    }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override {
        return points_.EnumConnectionPoints(ppEnum);
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
        return points_.FindConnectionPoint(riid, ppCP);
    }

    ConnectionPoint& Events() { return *events_; }

private:
    ConnectionPoints points_{*this};
    ConnectionPoint* events_;
};

// A dispatch sink that accepts the event interface, records what it gets
// and writes into its by-reference arguments.
class Sink final : public ComObject<IDispatch> {
public:
    bool acceptEvents = true;
    std::vector<DISPID> received;
    std::vector<LONG> firstArguments;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        received.push_back(id);
        if (params->cArgs > 0) {
            const VARIANT& first = params->rgvarg[params->cArgs - 1];
            firstArguments.push_back(first.vt == VT_I4 ? first.lVal : -1);
        }
        for (UINT i = 0; i < params->cArgs; ++i)
            if (params->rgvarg[i].vt == (VT_BYREF | VT_I4))
                *params->rgvarg[i].plVal = 12;
        return S_OK;
    }

protected:
    HRESULT QueryOtherInterface(REFIID riid, void** ppv) override {
        if (!acceptEvents || !IsEqualIID(riid, kEventsIid))
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
};

ComPtr<IConnectionPoint> FirstPoint(IConnectionPointContainer* container) {
    ComPtr<IEnumConnectionPoints> points;
    EXPECT_EQ(container->EnumConnectionPoints(points.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IConnectionPoint> first;
    ULONG fetched = 0;
    EXPECT_EQ(points->Next(1, first.ReleaseAndGetAddressOf(), &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    return first;
}

} // namespace

TEST(ConnectionPoints, EnumeratesInOrderAndFindsByInterface) {
    auto source = MakeObject<Source>();
    const ComPtr<IConnectionPoint> first = FirstPoint(source.Get());
    IID iid;
    ASSERT_EQ(first->GetConnectionInterface(&iid), S_OK);
    EXPECT_TRUE(IsEqualIID(iid, kEventsIid));

    ComPtr<IConnectionPoint> found;
    EXPECT_EQ(source->FindConnectionPoint(IID_IPropertyNotifySink, found.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(source->FindConnectionPoint(IID_IDispatch, found.ReleaseAndGetAddressOf()), CONNECT_E_NOCONNECTION);
    EXPECT_FALSE(found);

    ComPtr<IEnumConnectionPoints> points;
    source->EnumConnectionPoints(points.ReleaseAndGetAddressOf());
    IConnectionPoint* two[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(points->Next(2, two, &fetched), S_OK);
    EXPECT_EQ(fetched, 2u);
    two[0]->Release();
    two[1]->Release();
    EXPECT_EQ(points->Next(1, two, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
}

TEST(ConnectionPoints, AdviseAsksTheSinkForThePointsInterface) {
    auto source = MakeObject<Source>();
    auto sink = MakeObject<Sink>();
    const ComPtr<IConnectionPoint> point = FirstPoint(source.Get());
    sink->acceptEvents = false;
    DWORD cookie = 77;
    EXPECT_EQ(point->Advise(sink.Get(), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);

    sink->acceptEvents = true;
    ASSERT_EQ(point->Advise(sink.Get(), &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    EXPECT_EQ(point->Unadvise(cookie + 1), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
}

TEST(ConnectionPoints, FiringPassesArgumentsLastFirstAndByReferenceChangesComeBack) {
    auto source = MakeObject<Source>();
    auto sink = MakeObject<Sink>();
    DWORD cookie = 0;
    ASSERT_EQ(FirstPoint(source.Get())->Advise(sink.Get(), &cookie), S_OK);

    LONG response = 11;
    VARIANT args[2];
    args[0].vt = VT_I4;
    args[0].lVal = 114;
    args[1].vt = VT_BYREF | VT_I4;
    args[1].plVal = &response;
    EXPECT_EQ(source->Events().FireDispatch(3, args, 2), S_OK);
    EXPECT_EQ(sink->received, std::vector<DISPID>{3});
    EXPECT_EQ(sink->firstArguments, std::vector<LONG>{114});
    EXPECT_EQ(response, 12);
}
