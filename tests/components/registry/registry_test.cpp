// The object registry through the class table and late binding only, as the
// window and the scripts reach it.
#include <gtest/gtest.h>

#include "outside/late_bound.h"
#include "platform/com/class_table.h"
#include "platform/com/table_dispatch.h"

using namespace zorv::com;
using namespace zorv::outside;

namespace {

ComPtr<IDispatch> NewRegistry() {
    CLSID clsid;
    CheckResult(FindClass(u"Morvel.Registry", &clsid));
    ComPtr<IDispatch> registry;
    CheckResult(CreateInstance(clsid, CLSCTX_ALL, IID_IDispatch, registry.ReleaseAndGetVoidAddress()));
    return registry;
}

class Thing final : public TableDispatch<Thing> {
public:
    static const DispatchTable<Thing>& DispatchMembers() {
        static const DispatchTable<Thing> table{{u"Tag", 1, &Thing::Tag}};
        return table;
    }
    explicit Thing(int tag = 0) : tag_(tag) {}
    void Tag(VARIANT& result) { result = Variant(LONG{tag_}).Detach(); }

private:
    int tag_;
};

std::string FailureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const EOleError& error) {
        return error.Text();
    }
    return "(no error)";
}

} // namespace

TEST(Registry, AnObjectPublishedThroughOneRegistryIsTheObjectAnotherReturns) {
    const ComPtr<IDispatch> window = NewRegistry();
    auto device = MakeObject<Thing>(7);
    Bstr name(u"OPOS Scanner");
    Variant object(static_cast<IDispatch*>(device.Get()));
    CallMethod(window.Get(), u"AddObject", {Arg::Ref(name), Arg::Ref(object)});

    const ComPtr<IDispatch> script = NewRegistry();
    const Variant fetched = CallMethod(script.Get(), u"GetObject", {u"OPOS Scanner"});
    ASSERT_EQ(fetched.vt, VT_DISPATCH);
    EXPECT_EQ(fetched.pdispVal, static_cast<IDispatch*>(device.Get()));
    EXPECT_EQ(ToLong(GetProperty(fetched.pdispVal, u"Tag")), 7);
}

TEST(Registry, NamesAreComparedExactlyAndAnUnpublishedNameIsAClearError) {
    const ComPtr<IDispatch> registry = NewRegistry();
    auto device = MakeObject<Thing>();
    CallMethod(registry.Get(), u"AddObject", {u"OPOS Printer", static_cast<IDispatch*>(device.Get())});
    EXPECT_EQ(FailureOf([&] { CallMethod(registry.Get(), u"GetObject", {u"opos printer"}); }),
              "GetObject : aucun objet n'est publié sous le nom « opos printer »");
    EXPECT_EQ(FailureOf([&] { CallMethod(registry.Get(), u"GetObject", {u"OPOS Printer "}); }),
              "GetObject : aucun objet n'est publié sous le nom « OPOS Printer  »");
}

TEST(Registry, RefusesAnEmptyNameOrAValueThatIsNoObject) {
    const ComPtr<IDispatch> registry = NewRegistry();
    auto device = MakeObject<Thing>();
    EXPECT_EQ(FailureOf([&] {
                  CallMethod(registry.Get(), u"AddObject", {u"", static_cast<IDispatch*>(device.Get())});
              }),
              "AddObject : le nom de l'objet est vide");
    EXPECT_EQ(FailureOf([&] {
                  CallMethod(registry.Get(), u"AddObject", {u"OPOS MSR", LONG{3}});
              }),
              "AddObject : la valeur publiée sous « OPOS MSR » n'est pas un objet");
    EXPECT_EQ(FailureOf([&] {
                  CallMethod(registry.Get(), u"AddObject", {u"OPOS MSR", static_cast<IDispatch*>(nullptr)});
              }),
              "AddObject : la valeur publiée sous « OPOS MSR » n'est pas un objet");
    EXPECT_EQ(FailureOf([&] { CallMethod(registry.Get(), u"AddObject", {u"OPOS MSR"}); }),
              "Nombre de paramètres non valide");
}

TEST(Registry, PublishingANameAgainReplacesTheEntry) {
    const ComPtr<IDispatch> registry = NewRegistry();
    auto first = MakeObject<Thing>(1);
    auto second = MakeObject<Thing>(2);
    CallMethod(registry.Get(), u"AddObject", {u"OPOS Keylock", static_cast<IDispatch*>(first.Get())});
    CallMethod(registry.Get(), u"AddObject", {u"OPOS Keylock", static_cast<IDispatch*>(second.Get())});
    const Variant fetched = CallMethod(registry.Get(), u"getobject", {u"OPOS Keylock"});
    EXPECT_EQ(ToLong(GetProperty(fetched.pdispVal, u"Tag")), 2);
}

TEST(Registry, WhenTheLastRegistryGoesItsObjectsAreLetGo) {
    auto device = MakeObject<Thing>();
    {
        const ComPtr<IDispatch> registry = NewRegistry();
        CallMethod(registry.Get(), u"AddObject", {u"OPOS CashDrawer", static_cast<IDispatch*>(device.Get())});
        EXPECT_EQ(device->AddRef(), 3u);
        device->Release();
    }
    EXPECT_EQ(device->AddRef(), 2u) << "only our own reference is left";
    device->Release();
    const ComPtr<IDispatch> later = NewRegistry();
    EXPECT_NE(FailureOf([&] { CallMethod(later.Get(), u"GetObject", {u"OPOS CashDrawer"}); }), "(no error)");
}
