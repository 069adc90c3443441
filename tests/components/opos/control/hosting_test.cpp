// The hosted-control interfaces that a container asks for, in the order the
// program's host asks for them.
#include <gtest/gtest.h>

#include "opos_test_support.h"
#include "platform/com/class_table.h"
#include "platform/com/ole_control.h"

using namespace opos_test;

namespace {

class FakeSite final : public zorv::com::ComObject<IOleClientSite> {
public:
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
};

const char16_t* const kProgIds[] = {u"OPOS.Scanner",   u"OPOS.POSPrinter", u"OPOS.LineDisplay",
                                    u"OPOS.Keylock",   u"OPOS.MSR",        u"OPOS.POSKeyboard",
                                    u"OPOS.CashDrawer"};

template <class T> ComPtr<T> Ask(IUnknown* object, const IID& iid) {
    ComPtr<T> result;
    EXPECT_EQ(object->QueryInterface(iid, result.ReleaseAndGetVoidAddress()), S_OK);
    return result;
}

} // namespace

TEST(Hosting, EveryKindAnswersTheHostInterfaces) {
    std::vector<IID> eventInterfaces;
    for (const char16_t* progId : kProgIds) {
        CLSID clsid{};
        ASSERT_EQ(zorv::com::FindClass(progId, &clsid), S_OK);
        ComPtr<IOleObject> ole;
        ASSERT_EQ(zorv::com::CreateInstance(clsid, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                            ole.ReleaseAndGetVoidAddress()),
                  S_OK);
        DWORD status = 0;
        EXPECT_EQ(ole->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
        EXPECT_NE(status & OLEMISC_INVISIBLEATRUNTIME, 0u);
        SIZEL extent{};
        EXPECT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
        EXPECT_GT(extent.cx, 0);

        auto site = zorv::com::MakeObject<FakeSite>();
        EXPECT_EQ(ole->SetClientSite(site.Get()), S_OK);
        ComPtr<IOleClientSite> kept;
        EXPECT_EQ(ole->GetClientSite(kept.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(kept.Get(), static_cast<IOleClientSite*>(site.Get()));

        EXPECT_EQ(Ask<IPersistStreamInit>(ole.Get(), IID_IPersistStreamInit)->InitNew(), S_OK);
        CONTROLINFO info{};
        EXPECT_EQ(Ask<IOleControl>(ole.Get(), IID_IOleControl)->GetControlInfo(&info), S_OK);
        auto dispatch = Ask<IDispatch>(ole.Get(), IID_IDispatch);
        EXPECT_EQ(Long(dispatch.Get(), u"State"), 1);

        auto container = Ask<IConnectionPointContainer>(ole.Get(), IID_IConnectionPointContainer);
        ComPtr<IEnumConnectionPoints> points;
        ASSERT_EQ(container->EnumConnectionPoints(points.ReleaseAndGetAddressOf()), S_OK);
        ComPtr<IConnectionPoint> first;
        ASSERT_EQ(points->Next(1, first.ReleaseAndGetAddressOf(), nullptr), S_OK);
        IID events{};
        ASSERT_EQ(first->GetConnectionInterface(&events), S_OK);
        ComPtr<IConnectionPoint> found;
        EXPECT_EQ(container->FindConnectionPoint(events, found.ReleaseAndGetAddressOf()), S_OK);
        eventInterfaces.push_back(events);

        EXPECT_EQ(ole->Close(OLECLOSE_NOSAVE), S_OK);
        EXPECT_EQ(ole->SetClientSite(nullptr), S_OK);
    }
    for (std::size_t i = 0; i < eventInterfaces.size(); ++i)
        for (std::size_t j = i + 1; j < eventInterfaces.size(); ++j)
            EXPECT_FALSE(IsEqualIID(eventInterfaces[i], eventInterfaces[j])) << i << " and " << j;
}

TEST(Hosting, MembersAreFoundWithoutRegardToCase) {
    auto scanner = Create(u"OPOS.Scanner");
    EXPECT_EQ(Call(scanner.Get(), u"OPEN", {u"SimScanner"}), 0);
    EXPECT_EQ(Long(scanner.Get(), u"resultcode"), 0);
    EXPECT_EQ(Long(scanner.Get(), u"sTaTe"), 2);
}
