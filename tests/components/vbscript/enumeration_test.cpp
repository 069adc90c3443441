// For Each over objects: the enumerator _NewEnum answers may be a bare
// IEnumVARIANT, with no IDispatch of its own.
#include <gtest/gtest.h>

#include "components/vbscript/engine.h"
#include "components/vbscript/error_texts.h"
#include "components/vbscript/script_error.h"
#include "platform/com/com_object.h"

using namespace zorv;
using namespace zorv::vbs;

namespace {

int enumeratorsAlive = 0;

class CountingEnumerator final : public com::ComObject<IEnumVARIANT> {
public:
    explicit CountingEnumerator(int count) : count_(count) { ++enumeratorsAlive; }
    ~CountingEnumerator() { --enumeratorsAlive; }
    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
        ULONG n = 0;
        for (; n < wanted && next_ < count_; ++n) {
            VariantInit(&out[n]);
            out[n].vt = VT_I4;
            out[n].lVal = ++next_ * 10;
        }
        if (fetched)
            *fetched = n;
        return n == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next_ += static_cast<int>(count);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

private:
    int count_;
    int next_ = 0;
};

// A collection whose _NewEnum answers VT_UNKNOWN: an enumerator, or (when
// `plain`) an object that enumerates nothing.
class Collection final : public com::ComObject<IDispatch> {
public:
    Collection(int count, bool plain) : count_(count), plain_(plain) {}
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != DISPID_NEWENUM || result == nullptr)
            return DISP_E_MEMBERNOTFOUND;
        result->vt = VT_UNKNOWN;
        if (plain_) {
            result->punkVal = static_cast<IDispatch*>(com::MakeObject<Collection>(0, true).Detach());
        } else {
            result->punkVal = com::MakeObject<CountingEnumerator>(count_).Detach();
        }
        return S_OK;
    }

private:
    int count_;
    bool plain_;
};

constexpr const char16_t* kSum = u"Function Sum(c)\n For Each x In c\n  Sum = Sum + x\n Next\nEnd Function\n"
                                 u"Function FirstOver(c, limit)\n For Each x In c\n"
                                 u"  If x > limit Then FirstOver = x : Exit For\n Next\nEnd Function";

TEST(Enumeration, ABareEnumeratorIsWalkedAndReleased) {
    auto engine = Engine::Create();
    engine->AddCode(kSum);
    {
        const Value bag = Value::Object(com::MakeObject<Collection>(4, false).Get());
        const Value values[] = {bag};
        EXPECT_EQ(engine->Run(u"Sum", values).I(), 10 + 20 + 30 + 40);
        EXPECT_EQ(enumeratorsAlive, 0);
        const Value early[] = {bag, Value::Integer(15)};
        EXPECT_EQ(engine->Run(u"FirstOver", early).I(),
                  20); // leaving early: the enumerator goes with the frame
        EXPECT_EQ(enumeratorsAlive, 0);
        const Value none[] = {Value::Object(com::MakeObject<Collection>(0, false).Get())};
        EXPECT_TRUE(engine->Run(u"Sum", none).IsEmpty());
    }
    EXPECT_EQ(enumeratorsAlive, 0);
}

TEST(Enumeration, AnAnswerThatIsNoEnumeratorIsNotACollection) {
    auto engine = Engine::Create();
    engine->AddCode(kSum);
    const Value values[] = {Value::Object(com::MakeObject<Collection>(0, true).Get())};
    try {
        engine->Run(u"Sum", values);
        ADD_FAILURE() << "no error";
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.number, kErrNotACollection);
    }
}

} // namespace
