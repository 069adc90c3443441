#include <gtest/gtest.h>

#include "platform/com/bstr_value.h"
#include "platform/com/com_ptr.h"
#include "platform/com/safearray.h"
#include "platform/com/value_list.h"

using namespace zorv::com;

namespace {

ValueList Texts() {
    Values values;
    values.emplace_back(u"un");
    values.emplace_back(LONG{2});
    values.emplace_back(u"trois");
    return ValueList(std::move(values));
}

ComPtr<IEnumVARIANT> EnumeratorOf(const ValueList& list) {
    Variant answer;
    list.EnumeratorResult(answer);
    EXPECT_EQ(answer.vt, VT_DISPATCH) << "script engines take _NewEnum's answer as an object";
    ComPtr<IEnumVARIANT> enumerator;
    EXPECT_EQ(answer.pdispVal->QueryInterface(IID_IEnumVARIANT, enumerator.ReleaseAndGetVoidAddress()), S_OK);
    return enumerator;
}

} // namespace

TEST(ValueList, ItemsByPositionCountAndArray) {
    const ValueList list = Texts();
    EXPECT_EQ(list.Count(), 3u);
    ASSERT_NE(list.At(2), nullptr);
    EXPECT_EQ(BstrView(list.At(2)->bstrVal), u"trois");
    EXPECT_EQ(list.At(-1), nullptr);
    EXPECT_EQ(list.At(3), nullptr);
    Variant count;
    list.CountResult(count);
    EXPECT_EQ(count.vt, VT_I4);
    EXPECT_EQ(count.lVal, 3);
    Variant array;
    list.ArrayResult(array);
    ASSERT_EQ(array.vt, VT_ARRAY | VT_VARIANT);
    LONG upper = 0;
    SafeArrayGetUBound(array.parray, 1, &upper);
    EXPECT_EQ(upper, 2);
}

TEST(ValueList, EnumeratorFetchesSkipsResetsAndClonesItsPlace) {
    ComPtr<IEnumVARIANT> enumerator = EnumeratorOf(Texts());
    VARIANT got[2];
    ULONG fetched = 99;
    EXPECT_EQ(enumerator->Next(1, got, &fetched), S_OK);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(BstrView(got[0].bstrVal), u"un");
    VariantClear(&got[0]);
    ComPtr<IEnumVARIANT> clone;
    ASSERT_EQ(enumerator->Clone(clone.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(enumerator->Next(2, got, &fetched), S_OK);
    EXPECT_EQ(got[0].lVal, 2);
    VariantClear(&got[1]);
    EXPECT_EQ(enumerator->Next(2, got, &fetched), S_FALSE) << "fewer left than asked for";
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(clone->Skip(5), S_FALSE);
    EXPECT_EQ(clone->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(clone->Reset(), S_OK);
    EXPECT_EQ(clone->Next(1, got, nullptr), S_OK);
    EXPECT_EQ(BstrView(got[0].bstrVal), u"un");
    VariantClear(&got[0]);
    EXPECT_EQ(clone->Next(1, nullptr, nullptr), E_POINTER);
}
