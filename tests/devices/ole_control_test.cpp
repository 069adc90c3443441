// The control host against a test control object that misbehaves on demand.
#include <gtest/gtest.h>

#include "devices/device_controls.h"
#include "devices/test_control.h"
#include "outside/error_report.h"
#include "outside/ole_error.h"
#include "platform/com/class_table.h"
#include "platform/com/text.h"
#include "platform/ui/recording_user_interface.h"

using namespace zorv::devices;
using namespace zorv::testing;
using zorv::com::ComPtr;

namespace {

class Host : public ::testing::Test {
protected:
    zorv::ui::RecordingUserInterface ui;
    TestControlRegistration scanner{u"OPOS.Scanner"};
    TComponent owner{nullptr};

    TestControlBehaviour& Behave() { return scanner.Log().behaviour; }
    std::vector<std::string>& Hosting() { return scanner.Log().hostingCalls; }
    TZORVScanner* Make() { return TOleControl::Create<TZORVScanner>(&owner); }
};

bool Contains(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

} // namespace

TEST_F(Host, ConstructionCreatesAndSizesTheObjectAndLeavesSetUpForFirstUse) {
    TZORVScanner* control = Make();
    EXPECT_EQ(Hosting(), (std::vector<std::string>{"GetMiscStatus", "GetExtent"}));
    EXPECT_EQ(control->Width(), 96);
    EXPECT_EQ(control->Height(), 48);
    EXPECT_EQ(control->ControlData()->InstanceCount, 1);
    EXPECT_EQ(control->ControlData()->Version, 401);
    EXPECT_FALSE(control->SetUpDone());

    const ComPtr<IDispatch> first = control->DeviceObject();
    const ComPtr<IDispatch> second = control->DeviceObject();
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(Hosting(), (std::vector<std::string>{"GetMiscStatus", "GetExtent", "GetClientSite", "SetClientSite",
                                                    "InitNew", "OnAmbientPropertyChange(-1)", "GetExtent"}))
        << "set-up runs once";
    EXPECT_EQ(scanner.Log().created, 1);
}

TEST_F(Host, AnObjectThatAsksForItsSiteFirstGetsItAtConstruction) {
    Behave().askSiteFirst = true;
    Make()->DeviceObject();
    EXPECT_EQ(Hosting()[1], "SetClientSite");
    EXPECT_EQ(std::count(Hosting().begin(), Hosting().end(), "SetClientSite"), 1) << "the site is kept, not given twice";
}

TEST_F(Host, AFailingSiteQuestionCountsAsNoSite) {
    Behave().getClientSiteResult = E_FAIL;
    Make()->DeviceObject();
    EXPECT_TRUE(Contains(Hosting(), "SetClientSite"));
}

TEST_F(Host, EventsConnectToTheFirstPointWhichRefusesTheHostsPropertySink) {
    TZORVScanner* control = Make();
    control->DeviceObject();
    EXPECT_NE(control->EventsConnection(), 0u);
    EXPECT_EQ(control->PropConnection(), 0u);
    EXPECT_TRUE(IsEqualIID(control->ControlData()->EventIid, kTestEventsIid));
    EXPECT_EQ(scanner.Last()->EventSinkCount(), 1u);
}

TEST_F(Host, APropertyNotifyPointFirstTakesBothConnections) {
    Behave().notifyPointFirst = true;
    TZORVScanner* control = Make();
    control->DeviceObject();
    EXPECT_NE(control->PropConnection(), 0u);
    EXPECT_NE(control->EventsConnection(), 0u);
    EXPECT_TRUE(IsEqualIID(control->ControlData()->EventIid, IID_IPropertyNotifySink));
    EXPECT_EQ(scanner.Last()->EventSinkCount(), 0u) << "nothing on the event point";
}

TEST_F(Host, WithoutContainerPointsOrConsentTheHostRunsWithoutEvents) {
    for (auto spoil : {+[](TestControlBehaviour& b) { b.noContainer = true; },
                       +[](TestControlBehaviour& b) { b.noPoints = true; },
                       +[](TestControlBehaviour& b) { b.refuseAdvise = true; }}) {
        Behave() = {};
        spoil(Behave());
        TZORVScanner* control = Make();
        EXPECT_TRUE(control->DeviceObject());
        EXPECT_EQ(control->EventsConnection(), 0u);
        EXPECT_EQ(control->PropConnection(), 0u);
        delete control;
    }
    EXPECT_EQ(scanner.Log().alive, 0);
}

TEST_F(Host, TeardownClosesWithoutSavingUnadvisesAndTakesTheSiteBack) {
    TZORVScanner* control = Make();
    control->DeviceObject();
    TestControl* object = scanner.Last();
    object->AddRef(); // keep it to look at after the host is gone
    delete control;
    EXPECT_EQ(object->EventSinkCount(), 0u);
    EXPECT_FALSE(scanner.Log().siteHeld);
    EXPECT_TRUE(Contains(Hosting(), "Close(1)"));
    EXPECT_TRUE(scanner.Log().calls.empty()) << "no OPOS Close at teardown";
    object->Release();
    EXPECT_EQ(scanner.Log().alive, 0);
}

TEST_F(Host, AnEventAfterAFailedDisconnectionFindsADetachedSinkNotFreedMemory) {
    Behave().refuseFindPoint = true;
    int delivered = 0;
    TZORVScanner* control = Make();
    control->OnDataEvent.Bind([&](TOleControl*, LONG) { ++delivered; });
    control->DeviceObject();
    TestControl* object = scanner.Last();
    object->AddRef();
    delete control;
    EXPECT_EQ(object->EventSinkCount(), 1u) << "the connection stays";
    EXPECT_EQ(object->Fire(1, {zorv::com::Variant(LONG{0}).Detach()}), S_OK);
    EXPECT_EQ(delivered, 0);
    object->Release();
}

TEST_F(Host, ConstructionFailuresReachTheCreatorAndLeaveNothingBehind) {
    using Spoil = void (*)(TestControlBehaviour&);
    for (Spoil spoil : {Spoil([](TestControlBehaviour& b) { b.miscStatusResult = E_FAIL; }),
                        Spoil([](TestControlBehaviour& b) { b.extentResult = E_OUTOFMEMORY; }),
                        Spoil([](TestControlBehaviour& b) { b.noPersist = true; })}) {
        Behave() = {};
        spoil(Behave());
        EXPECT_THROW(Make(), zorv::outside::EOleError);
        EXPECT_EQ(scanner.Log().alive, 0);
        EXPECT_TRUE(owner.Components().empty());
    }
}

TEST_F(Host, AFailedSetUpIsTriedAgainOnTheNextCall) {
    Behave().initNewResult = E_FAIL;
    TZORVScanner* control = Make();
    EXPECT_THROW(control->DeviceObject(), zorv::outside::EOleError);
    EXPECT_FALSE(control->SetUpDone());
    Behave().initNewResult = S_OK;
    Behave().noDispatch = false;
    EXPECT_TRUE(control->DeviceObject());
    EXPECT_EQ(std::count(Hosting().begin(), Hosting().end(), "InitNew"), 2);
}

TEST_F(Host, AnUnregisteredProgIdShowsTheWarningAndConstructionFails) {
    TestControlRegistration hidden(u"Zorv.Unused");
    zorv::com::SetProgIDHidden(u"OPOS.MSR", true);
    try {
        TOleControl::Create<TZORVMSR>(&owner);
        FAIL() << "construction should fail";
    } catch (const zorv::outside::EOleError& error) {
        EXPECT_EQ(error.Text(), "Chaîne de classe non valide");
    }
    zorv::com::SetProgIDHidden(u"OPOS.MSR", false);
    ASSERT_EQ(ui.Messages().size(), 1u);
    const zorv::ui::Message& box = ui.Messages()[0];
    EXPECT_EQ(box.text, u"OPOS.MSR : Chaîne de classe non valide");
    EXPECT_EQ(box.caption, u"ZORV");
    EXPECT_EQ(box.icon, zorv::ui::Icon::Warning);
    EXPECT_EQ(box.buttons, zorv::ui::Buttons::Ok);
    EXPECT_TRUE(owner.Components().empty());
}

TEST(Ownership, TheOwnerDestroysItsComponentsTheLastCreatedFirst) {
    std::vector<int> order;
    struct Recorder : TComponent {
        Recorder(TComponent* owner, std::vector<int>& order, int id) : TComponent(owner), order(order), id(id) {}
        ~Recorder() override { order.push_back(id); }
        std::vector<int>& order;
        int id;
    };
    {
        TComponent window(nullptr);
        new Recorder(&window, order, 1);
        auto* second = new Recorder(&window, order, 2);
        new Recorder(&window, order, 3);
        delete second; // a failed kind is dropped on its own
        EXPECT_EQ(window.Components().size(), 2u);
    }
    EXPECT_EQ(order, (std::vector<int>{2, 3, 1}));
}

TEST_F(Host, TheSiteAnswersAmbientPropertiesAndNothingElse) {
    Make()->DeviceObject();
    ComPtr<IDispatch> ambient;
    ASSERT_EQ(scanner.Last()->Site()->QueryInterface(IID_IDispatch, ambient.ReleaseAndGetVoidAddress()), S_OK);
    auto read = [&](DISPID id, WORD flags = DISPATCH_PROPERTYGET) {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        zorv::com::Variant value;
        const HRESULT hr = ambient->Invoke(id, IID_NULL, 0, flags, &none, value.Raw(), nullptr, nullptr);
        return std::make_pair(hr, value);
    };
    EXPECT_EQ(read(DISPID_AMBIENT_USERMODE).second.boolVal, VARIANT_TRUE);
    EXPECT_EQ(read(DISPID_AMBIENT_UIDEAD).second.boolVal, VARIANT_FALSE);
    EXPECT_EQ(read(DISPID_AMBIENT_LOCALEID).second.lVal, 0x040C);
    EXPECT_EQ(read(-9999).first, DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(read(DISPID_AMBIENT_USERMODE, DISPATCH_METHOD).first, DISP_E_MEMBERNOTFOUND);
    ComPtr<IUnknown> other;
    EXPECT_EQ(scanner.Last()->Site()->QueryInterface(IID_IConnectionPointContainer, other.ReleaseAndGetVoidAddress()),
              E_NOINTERFACE);
    IOleContainer* container = nullptr;
    EXPECT_EQ(scanner.Last()->Site()->GetContainer(&container), E_NOINTERFACE);
}
