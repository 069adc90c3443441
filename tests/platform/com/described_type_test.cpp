// Type information built from a description and read back the way a script
// host reads it: the default source interface's events by identifier and
// name, and a dispatch object's type name.
#include <gtest/gtest.h>

#include "platform/com/described_type.h"
#include "platform/com/table_dispatch.h"

using namespace zorv::com;

namespace {

constexpr IID kEvents = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
constexpr CLSID kClass = {0x55555555, 0x6666, 0x7777, {8, 8, 8, 8, 8, 8, 8, 8}};

class Described final : public TableDispatch<Described, IProvideClassInfo> {
public:
    static const DispatchTable<Described>& DispatchMembers() {
        static const DispatchTable<Described> table{{u"Nothing", 1, &Described::Get}};
        return table;
    }
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
        *info = MakeClassTypeInfo(
                    u"Widget", kClass,
                    MakeDispatchTypeInfo(u"WidgetEvents", kEvents,
                                         {{1, u"Ready", {}}, {7, u"Failed", {u"Code", u"pAnswer"}}}))
                    .Detach();
        return S_OK;
    }

private:
    void Get(VARIANT&) {}
};

TEST(DescribedType, EventsOfTheDefaultSourceComeBackByIdentifierNameAndParameters) {
    auto object = MakeObject<Described>();
    const auto events = DescribeEvents(static_cast<IDispatch*>(object.Get()));
    ASSERT_TRUE(events.has_value());
    EXPECT_TRUE(IsEqualIID(events->iid, kEvents));
    ASSERT_EQ(events->events.size(), 2u);
    EXPECT_EQ(events->events[0].id, 1);
    EXPECT_EQ(events->events[0].name, u"Ready");
    EXPECT_TRUE(events->events[0].parameters.empty());
    EXPECT_EQ(events->events[1].id, 7);
    EXPECT_EQ(events->events[1].name, u"Failed");
    EXPECT_EQ(events->events[1].parameters, (std::vector<std::u16string>{u"Code", u"pAnswer"}));
}

TEST(DescribedType, AClassWithoutASourceOrAnObjectWithoutClassInfoDescribesNoEvents) {
    class Plain final : public TableDispatch<Plain> {
    public:
        static const DispatchTable<Plain>& DispatchMembers() {
            static const DispatchTable<Plain> table{{u"X", 1, &Plain::Get}};
            return table;
        }

    private:
        void Get(VARIANT&) {}
    };
    auto plain = MakeObject<Plain>();
    EXPECT_FALSE(DescribeEvents(static_cast<IDispatch*>(plain.Get())).has_value());
    EXPECT_EQ(TypeNameOf(plain.Get()), u"") << "GetTypeInfoCount answers 0";
    EXPECT_FALSE(DescribeEvents(nullptr).has_value());
}

TEST(DescribedType, TheTypeNameAndTheUnknownMembersAnswerAsTheInterfaceSays) {
    ComPtr<ITypeInfo> info =
        MakeDispatchTypeInfo(u"Dictionary", IID_IDispatch, {{3, u"Add", {u"Key", u"Item"}}});
    Bstr name;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, name.ReleaseAndGetAddressOf(), nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(name.View(), u"Dictionary");
    BSTR names[1] = {nullptr};
    UINT count = 9;
    EXPECT_EQ(info->GetNames(99, names, 1, &count), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(count, 0u);
    FUNCDESC* desc = reinterpret_cast<FUNCDESC*>(1);
    EXPECT_EQ(info->GetFuncDesc(1, &desc), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(desc, nullptr);
    ASSERT_EQ(info->GetFuncDesc(0, &desc), S_OK);
    EXPECT_EQ(desc->memid, 3);
    EXPECT_EQ(desc->cParams, 2);
    info->ReleaseFuncDesc(desc);
    HREFTYPE type = 0;
    EXPECT_EQ(info->GetRefTypeOfImplType(0, &type), TYPE_E_ELEMENTNOTFOUND)
        << "a dispatch interface implements nothing";
}

} // namespace
