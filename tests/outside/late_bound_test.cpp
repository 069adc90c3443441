#include <gtest/gtest.h>

#include "outside/late_bound.h"
#include "platform/com/table_dispatch.h"

using namespace zorv::com;
using namespace zorv::outside;

namespace {

// A component that fails on demand, the way outside components fail.
class Component final : public TableDispatch<Component> {
public:
    static const DispatchTable<Component>& DispatchMembers() {
        static const DispatchTable<Component> table{
            {u"Raise", 1, nullptr, nullptr, &Component::Raise},
            {u"FailWith", 2, nullptr, nullptr, &Component::FailWith},
            {u"DirectIO", 3, nullptr, nullptr, &Component::DirectIO},
            {u"Echo", 4, nullptr, nullptr, &Component::Echo},
            {u"Level", 5, &Component::GetLevel, &Component::PutLevel},
        };
        return table;
    }

private:
    void Raise(const DispatchArgs& args, VARIANT&) {
        throw DispatchException(args.String(0), args.Count() > 1 ? args.Long(1) : 0);
    }
    void FailWith(const DispatchArgs& args, VARIANT&) { throw DispatchError{static_cast<HRESULT>(args.Long(0))}; }
    // As OPOS DirectIO: writes its data and string back to the caller's variables.
    void DirectIO(const DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(3, 3);
        args.SetByRef(1, Variant(LONG{args.Long(1) * 2}));
        args.SetByRef(2, Variant(args.String(2) + u" lu"));
        result = Variant(LONG{0}).Detach();
    }
    void Echo(const DispatchArgs& args, VARIANT& result) { result = args.Value(0).Detach(); }
    void GetLevel(VARIANT& result) { result = Variant(level_).Detach(); }
    void PutLevel(const VARIANT& value) {
        Variant v;
        if (FAILED(VariantChangeType(&v, &value, 0, VT_I4)))
            throw DispatchError{DISP_E_TYPEMISMATCH, 0};
        level_ = v.lVal;
    }

    LONG level_ = 0;
};

std::string TextOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const EOleError& error) {
        return error.Text();
    }
    return "(no error)";
}

} // namespace

TEST(LateBound, FailureTextsFollowTheErrorRule) {
    auto object = MakeObject<Component>();
    IDispatch* d = object.Get();
    struct Case {
        std::function<void()> call;
        std::string text;
    };
    const Case cases[] = {
        {[&] { CallMethod(d, u"Raise", {u"Périphérique absent. \r\n"}); }, "Périphérique absent"},
        {[&] { CallMethod(d, u"Raise", {u"Fin...  "}); }, "Fin"},
        {[&] { CallMethod(d, u"Raise", {u"Pourquoi ?"}); }, "Pourquoi ?"},
        {[&] { CallMethod(d, u"Raise", {u" . \t"}); }, "Une exception s'est produite"},
        {[&] { CallMethod(d, u"Raise", {u"", LONG(CO_E_CLASSSTRING)}); }, "Chaîne de classe non valide"},
        {[&] { CallMethod(d, u"FailWith", {LONG(DISP_E_TYPEMISMATCH)}); }, "Type incompatible"},
        {[&] { CallMethod(d, u"FailWith", {LONG(0x80001234)}); }, "Erreur OLE 80001234"},
        {[&] { GetProperty(d, u"NoSuchMember"); }, "Nom inconnu"},
        {[&] { PutProperty(d, u"Level", u"beaucoup"); }, "Type incompatible"},
        {[&] { GetProperty(nullptr, u"State"); }, "Pointeur non valide"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextOf(c.call), c.text);
}

TEST(LateBound, ByReferenceArgumentsLetTheCalleeChangeTheCallersVariables) {
    auto object = MakeObject<Component>();
    LONG data = 21;
    Bstr text(u"badge");
    CallMethod(object.Get(), u"DirectIO", {LONG{7}, Arg::Ref(data), Arg::Ref(text)});
    EXPECT_EQ(data, 42);
    EXPECT_EQ(text.View(), u"badge lu");

    Variant variable(u"12");
    CallMethod(object.Get(), u"DirectIO", {LONG{7}, Arg::Ref(variable), Arg::Ref(variable)});
    EXPECT_EQ(variable.vt, VT_BSTR) << "the last write wins";
}

TEST(LateBound, ValuesComeBackAndConvert) {
    auto object = MakeObject<Component>();
    PutProperty(object.Get(), u"level", LONG{3});
    EXPECT_EQ(ToLong(GetProperty(object.Get(), u"LEVEL")), 3);
    EXPECT_EQ(ToText(CallMethod(object.Get(), u"Echo", {true})), u"True");
    EXPECT_TRUE(ToBool(CallMethod(object.Get(), u"Echo", {LONG{-1}})));
    EXPECT_EQ(TextOf([&] { ToLong(CallMethod(object.Get(), u"Echo", {u"douze"})); }), "Type incompatible");
}
