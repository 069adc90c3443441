#include <gtest/gtest.h>

#include "devices/test_control.h"
#include "outside/late_bound.h"
#include "platform/com/class_table.h"
#include "platform/ui/recording_user_interface.h"
#include "script/publication.h"

using namespace zorv::com;
using namespace zorv::testing;

namespace {

ComPtr<IDispatch> Create(std::u16string_view progId) {
    CLSID clsid;
    zorv::outside::CheckResult(CLSIDFromProgID(std::u16string(progId).c_str(), &clsid));
    ComPtr<IDispatch> object;
    zorv::outside::CheckResult(
        CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, object.ReleaseAndGetVoidAddress()));
    return object;
}

} // namespace

TEST(Publication, PublishesByReferenceSoThatAScriptsRegistryFindsTheSameObject) {
    zorv::ui::RecordingUserInterface ui;
    TestControlRegistration device(u"Zorv.TestDevice");
    const ComPtr<IDispatch> registry = Create(zorv::script::kRegistryProgId);
    const ComPtr<IDispatch> object = Create(u"Zorv.TestDevice");
    zorv::script::PublishDeviceObject(registry.Get(), u"OPOS Keylock", object.Get());
    EXPECT_TRUE(ui.Messages().empty());
    const Variant fetched =
        zorv::outside::CallMethod(Create(zorv::script::kRegistryProgId).Get(), u"GetObject", {u"OPOS Keylock"});
    EXPECT_EQ(fetched.pdispVal, object.Get());
}

TEST(Publication, ARefusalIsShownWithTheRegistryNameAndGoesNoFurther) {
    zorv::ui::RecordingUserInterface ui;
    TestControlRegistration refusing(u"Zorv.RefusingRegistry");
    refusing.Log().behaviour.failingMembers[u"AddObject"] = u"Accès refusé.";
    TestControlRegistration device(u"Zorv.TestDevice");
    const ComPtr<IDispatch> registry = Create(u"Zorv.RefusingRegistry");
    const ComPtr<IDispatch> object = Create(u"Zorv.TestDevice");
    zorv::script::PublishDeviceObject(registry.Get(), u"OPOS Keylock", object.Get());

    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, u"OPOS Keylock : Accès refusé");
    EXPECT_EQ(ui.Messages()[0].caption, u"ZORV");
    EXPECT_EQ(ui.Messages()[0].icon, zorv::ui::Icon::Error);
    const RecordedCall& call = refusing.Log().calls.at(0);
    EXPECT_EQ(call.member, u"AddObject");
    EXPECT_TRUE(call.firstArgByRef);
    EXPECT_EQ(call.args.at(1).vt, VT_DISPATCH);

    zorv::script::PublishDeviceObject(nullptr, u"OPOS MSR", object.Get());
    EXPECT_EQ(ui.Messages().back().text, u"OPOS MSR : Pointeur non valide");
}
