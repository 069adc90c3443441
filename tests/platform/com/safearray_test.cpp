#include "platform/com/safearray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"

namespace {

class CountedObject final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
};

std::u16string TextOf(BSTR b) {
    return {b ? b : u"", SysStringLen(b)};
}

// A BSTR for the length of a statement.
struct Text {
    explicit Text(const std::u16string& s) : bstr(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
    ~Text() { SysFreeString(bstr); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    BSTR bstr;
};

struct ArrayDeleter {
    void operator()(SAFEARRAY* psa) const { EXPECT_EQ(SafeArrayDestroy(psa), S_OK); }
};
using ArrayPtr = std::unique_ptr<SAFEARRAY, ArrayDeleter>;

ArrayPtr Create(VARTYPE vt, std::vector<SAFEARRAYBOUND> bounds) {
    return ArrayPtr(SafeArrayCreate(vt, static_cast<UINT>(bounds.size()), bounds.data()));
}

TEST(SafeArray, ElementTypesSizesAndFeatures) {
    struct Case {
        VARTYPE vt;
        UINT size;
        USHORT feature;
    } cases[] = {
        // clang-format off
        {VT_I1, 1, 0}, {VT_UI1, 1, 0}, {VT_I2, 2, 0}, {VT_UI2, 2, 0}, {VT_BOOL, 2, 0}, {VT_I4, 4, 0},
        {VT_UI4, 4, 0}, {VT_INT, 4, 0}, {VT_UINT, 4, 0}, {VT_R4, 4, 0}, {VT_ERROR, 4, 0}, {VT_I8, 8, 0},
        {VT_UI8, 8, 0}, {VT_R8, 8, 0}, {VT_CY, 8, 0}, {VT_DATE, 8, 0}, {VT_BSTR, sizeof(BSTR), FADF_BSTR},
        {VT_UNKNOWN, sizeof(void*), FADF_UNKNOWN}, {VT_DISPATCH, sizeof(void*), FADF_DISPATCH},
        {VT_VARIANT, sizeof(VARIANT), FADF_VARIANT},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vt);
        ArrayPtr psa(SafeArrayCreateVector(c.vt, 0, 4));
        ASSERT_NE(psa, nullptr);
        EXPECT_EQ(SafeArrayGetElemsize(psa.get()), c.size);
        EXPECT_EQ(SafeArrayGetDim(psa.get()), 1u);
        VARTYPE vt = VT_EMPTY;
        EXPECT_EQ(SafeArrayGetVartype(psa.get(), &vt), S_OK);
        EXPECT_EQ(vt, c.vt);
        EXPECT_EQ(psa->fFeatures, FADF_HAVEVARTYPE | c.feature);
        EXPECT_EQ(psa->cLocks, 0u);
        EXPECT_NE(psa->pvData, nullptr);
    }
}

TEST(SafeArray, RefusesWhatItCannotHold) {
    SAFEARRAYBOUND one{1, 0};
    for (const VARTYPE vt : {VARTYPE(VT_EMPTY), VARTYPE(VT_NULL), VARTYPE(VT_DECIMAL), VARTYPE(VT_VOID),
                             VARTYPE(VT_ARRAY | VT_I4), VARTYPE(VT_BYREF | VT_I4), VARTYPE(999)})
        EXPECT_EQ(SafeArrayCreate(vt, 1, &one), nullptr) << vt;
    EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &one), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_I4, 1, nullptr), nullptr);
    // Element counts or sizes beyond 32 bits, and upper bounds beyond a LONG.
    EXPECT_EQ(Create(VT_I4, {{0x10000, 0}, {0x10000, 0}, {0x10000, 0}}), nullptr);
    EXPECT_EQ(Create(VT_VARIANT, {{0x10000000, 0}, {0x10, 0}}), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_I4, 0, UINT32_MAX), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_I1, INT32_MAX, 2), nullptr);
    ArrayPtr last(SafeArrayCreateVector(VT_I1, INT32_MAX, 1));
    EXPECT_NE(last, nullptr);
    ArrayPtr empty = Create(VT_BSTR, {{3, 0}, {0, 5}});
    ASSERT_NE(empty, nullptr);
    LONG ub = 0;
    EXPECT_EQ(SafeArrayGetUBound(empty.get(), 2, &ub), S_OK);
    EXPECT_EQ(ub, 4);
}

TEST(SafeArray, NullArgumentsAreRefused) {
    LONG index = 0, value = 0;
    void* data = nullptr;
    VARTYPE vt = VT_EMPTY;
    SAFEARRAY* out = nullptr;
    SAFEARRAYBOUND bound{1, 0};
    const HRESULT results[] = {SafeArrayDestroy(nullptr),
                               SafeArrayGetVartype(nullptr, &vt),
                               SafeArrayGetUBound(nullptr, 1, &index),
                               SafeArrayGetLBound(nullptr, 1, &index),
                               SafeArrayLock(nullptr),
                               SafeArrayUnlock(nullptr),
                               SafeArrayAccessData(nullptr, &data),
                               SafeArrayUnaccessData(nullptr),
                               SafeArrayPtrOfIndex(nullptr, &index, &data),
                               SafeArrayGetElement(nullptr, &index, &value),
                               SafeArrayPutElement(nullptr, &index, &value),
                               SafeArrayCopy(nullptr, &out),
                               SafeArrayRedim(nullptr, &bound)};
    for (std::size_t n = 0; n < std::size(results); ++n)
        EXPECT_EQ(results[n], E_INVALIDARG) << "call " << n;
    EXPECT_EQ(SafeArrayGetDim(nullptr), 0u);
    EXPECT_EQ(SafeArrayGetElemsize(nullptr), 0u);

    ArrayPtr psa(SafeArrayCreateVector(VT_I4, 0, 1));
    EXPECT_EQ(SafeArrayGetElement(psa.get(), nullptr, &value), E_INVALIDARG);
    EXPECT_EQ(SafeArrayGetElement(psa.get(), &index, nullptr), E_INVALIDARG);
    EXPECT_EQ(SafeArrayPutElement(psa.get(), &index, nullptr), E_INVALIDARG);
    EXPECT_EQ(SafeArrayGetUBound(psa.get(), 1, nullptr), E_INVALIDARG);
    EXPECT_EQ(SafeArrayAccessData(psa.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(SafeArrayCopy(psa.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(SafeArrayRedim(psa.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(psa->cLocks, 0u);
}

// Three dimensions, bounds (1..2, -1..1, 10..13) as written left to right.
TEST(SafeArray, BoundsAndIndexingOrder) {
    ArrayPtr psa = Create(VT_I4, {{2, 1}, {3, -1}, {4, 10}});
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayGetDim(psa.get()), 3u);
    // Stored rightmost first.
    const SAFEARRAYBOUND* stored = psa->rgsabound;
    EXPECT_EQ(stored[0].cElements, 4u);
    EXPECT_EQ(stored[0].lLbound, 10);
    EXPECT_EQ(stored[2].cElements, 2u);
    EXPECT_EQ(stored[2].lLbound, 1);

    const struct {
        UINT dim;
        HRESULT hr;
        LONG lower, upper;
    } dims[] = {{1, S_OK, 1, 2},
                {2, S_OK, -1, 1},
                {3, S_OK, 10, 13},
                {0, DISP_E_BADINDEX, 0, 0},
                {4, DISP_E_BADINDEX, 0, 0}};
    for (const auto& d : dims) {
        LONG lower = 0, upper = 0;
        EXPECT_EQ(SafeArrayGetLBound(psa.get(), d.dim, &lower), d.hr) << d.dim;
        EXPECT_EQ(SafeArrayGetUBound(psa.get(), d.dim, &upper), d.hr) << d.dim;
        if (SUCCEEDED(d.hr)) {
            EXPECT_EQ(lower, d.lower);
            EXPECT_EQ(upper, d.upper);
        }
    }

    for (LONG k = 10; k <= 13; ++k)
        for (LONG j = -1; j <= 1; ++j)
            for (LONG i = 1; i <= 2; ++i) {
                LONG index[] = {i, j, k};
                LONG value = i * 100 + j * 10 + k;
                ASSERT_EQ(SafeArrayPutElement(psa.get(), index, &value), S_OK);
            }
    // The leftmost index varies fastest in memory.
    LONG* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(psa.get(), reinterpret_cast<void**>(&data)), S_OK);
    EXPECT_EQ(psa->cLocks, 1u);
    for (LONG k = 10; k <= 13; ++k)
        for (LONG j = -1; j <= 1; ++j)
            for (LONG i = 1; i <= 2; ++i) {
                const int offset = (i - 1) + 2 * ((j + 1) + 3 * (k - 10));
                EXPECT_EQ(data[offset], i * 100 + j * 10 + k);
                LONG index[] = {i, j, k};
                void* ptr = nullptr;
                ASSERT_EQ(SafeArrayPtrOfIndex(psa.get(), index, &ptr), S_OK);
                EXPECT_EQ(ptr, data + offset);
                LONG got = 0;
                ASSERT_EQ(SafeArrayGetElement(psa.get(), index, &got), S_OK);
                EXPECT_EQ(got, i * 100 + j * 10 + k);
            }
    ASSERT_EQ(SafeArrayUnaccessData(psa.get()), S_OK);

    const LONG outside[][3] = {{0, 0, 10}, {3, 0, 10}, {1, -2, 10},        {1, 2, 10},
                               {1, 0, 9},  {1, 0, 14}, {INT32_MIN, 0, 10}, {1, INT32_MAX, 10}};
    for (const auto& o : outside) {
        LONG index[] = {o[0], o[1], o[2]};
        LONG value = 7;
        void* ptr = nullptr;
        EXPECT_EQ(SafeArrayPutElement(psa.get(), index, &value), DISP_E_BADINDEX);
        EXPECT_EQ(SafeArrayGetElement(psa.get(), index, &value), DISP_E_BADINDEX);
        EXPECT_EQ(SafeArrayPtrOfIndex(psa.get(), index, &ptr), DISP_E_BADINDEX);
    }
    EXPECT_EQ(psa->cLocks, 0u);
}

TEST(SafeArray, LockRules) {
    SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, 2);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(SafeArrayUnlock(psa), E_UNEXPECTED);
    ASSERT_EQ(SafeArrayLock(psa), S_OK);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(psa, &data), S_OK);
    EXPECT_EQ(data, psa->pvData);
    EXPECT_EQ(psa->cLocks, 2u);
    SAFEARRAYBOUND bigger{4, 0};
    EXPECT_EQ(SafeArrayDestroy(psa), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayRedim(psa, &bigger), DISP_E_ARRAYISLOCKED);
    // Elements may still be written while locked.
    LONG index = 1;
    EXPECT_EQ(SafeArrayPutElement(psa, &index, Text(u"locked").bstr), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(psa), S_OK);
    EXPECT_EQ(SafeArrayUnlock(psa), S_OK);
    EXPECT_EQ(SafeArrayUnlock(psa), E_UNEXPECTED);
    EXPECT_EQ(psa->cLocks, 0u);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST(SafeArray, TextElementsAreCopiedInAndOut) {
    ArrayPtr psa(SafeArrayCreateVector(VT_BSTR, 5, 2));
    BSTR mine = SysAllocStringLen(u"a\0b", 3);
    LONG index = 5;
    ASSERT_EQ(SafeArrayPutElement(psa.get(), &index, mine), S_OK);
    BSTR* slots = static_cast<BSTR*>(psa->pvData);
    EXPECT_NE(slots[0], mine);
    EXPECT_EQ(TextOf(slots[0]), TextOf(mine));
    SysFreeString(mine);
    // Replacing frees the old text; a null text is allowed.
    ASSERT_EQ(SafeArrayPutElement(psa.get(), &index, Text(u"second").bstr), S_OK);
    BSTR out = nullptr;
    ASSERT_EQ(SafeArrayGetElement(psa.get(), &index, &out), S_OK);
    EXPECT_NE(out, slots[0]);
    EXPECT_EQ(TextOf(out), u"second");
    SysFreeString(out);
    ASSERT_EQ(SafeArrayPutElement(psa.get(), &index, nullptr), S_OK);
    EXPECT_EQ(slots[0], nullptr);
    out = SysAllocString(u"overwritten");
    BSTR previous = out;
    index = 6;
    ASSERT_EQ(SafeArrayGetElement(psa.get(), &index, &out), S_OK);
    EXPECT_EQ(out, nullptr);
    SysFreeString(previous);
}

TEST(SafeArray, ObjectElementsAreCounted) {
    CountedObject a, b;
    {
        ArrayPtr psa(SafeArrayCreateVector(VT_UNKNOWN, 0, 2));
        LONG index = 0;
        ASSERT_EQ(SafeArrayPutElement(psa.get(), &index, &a), S_OK);
        EXPECT_EQ(a.refs, 2u);
        ASSERT_EQ(SafeArrayPutElement(psa.get(), &index, &a), S_OK);
        EXPECT_EQ(a.refs, 2u);
        IUnknown* out = nullptr;
        ASSERT_EQ(SafeArrayGetElement(psa.get(), &index, &out), S_OK);
        EXPECT_EQ(out, &a);
        EXPECT_EQ(a.refs, 3u);
        out->Release();
        index = 1;
        ASSERT_EQ(SafeArrayPutElement(psa.get(), &index, &b), S_OK);
        SAFEARRAY* copy = nullptr;
        ASSERT_EQ(SafeArrayCopy(psa.get(), &copy), S_OK);
        EXPECT_EQ(a.refs, 3u);
        EXPECT_EQ(b.refs, 3u);
        EXPECT_EQ(SafeArrayDestroy(copy), S_OK);
        ASSERT_EQ(SafeArrayPutElement(psa.get(), &index, nullptr), S_OK);
        EXPECT_EQ(b.refs, 1u);

        // Variants in an array hold their objects the same way.
        ArrayPtr variants(SafeArrayCreateVector(VT_VARIANT, 0, 1));
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_UNKNOWN;
        v.punkVal = &b;
        index = 0;
        ASSERT_EQ(SafeArrayPutElement(variants.get(), &index, &v), S_OK);
        EXPECT_EQ(b.refs, 2u);
        VARIANT got;
        got.vt = 0xFFFF; // storage to fill, not a value to clear
        ASSERT_EQ(SafeArrayGetElement(variants.get(), &index, &got), S_OK);
        EXPECT_EQ(got.punkVal, &b);
        EXPECT_EQ(b.refs, 3u);
        VariantClear(&got);
    }
    EXPECT_EQ(a.refs, 1u);
    EXPECT_EQ(b.refs, 1u);
}

TEST(SafeArray, CopyIsDeepAndIndependent) {
    ArrayPtr psa = Create(VT_BSTR, {{2, 0}, {2, 1}});
    for (LONG j = 1; j <= 2; ++j)
        for (LONG i = 0; i <= 1; ++i) {
            LONG index[] = {i, j};
            const std::u16string text = u"t" + std::u16string(1, static_cast<char16_t>(u'0' + i * 2 + j));
            ASSERT_EQ(SafeArrayPutElement(psa.get(), index, Text(text).bstr), S_OK);
        }
    ASSERT_EQ(SafeArrayLock(psa.get()), S_OK);
    SAFEARRAY* raw = nullptr;
    ASSERT_EQ(SafeArrayCopy(psa.get(), &raw), S_OK);
    ASSERT_EQ(SafeArrayUnlock(psa.get()), S_OK);
    ArrayPtr copy(raw);
    EXPECT_EQ(copy->cLocks, 0u);
    EXPECT_EQ(SafeArrayGetDim(copy.get()), 2u);
    LONG lower = 0;
    EXPECT_EQ(SafeArrayGetLBound(copy.get(), 2, &lower), S_OK);
    EXPECT_EQ(lower, 1);
    const BSTR* original = static_cast<BSTR*>(psa->pvData);
    const BSTR* copied = static_cast<BSTR*>(copy->pvData);
    for (int n = 0; n < 4; ++n) {
        EXPECT_NE(original[n], copied[n]);
        EXPECT_EQ(TextOf(original[n]), TextOf(copied[n]));
    }
    LONG index[] = {0, 1};
    ASSERT_EQ(SafeArrayPutElement(psa.get(), index, Text(u"changed").bstr), S_OK);
    EXPECT_EQ(TextOf(copied[0]), u"t1");
}

TEST(SafeArray, RedimKeepsElementsAndChangesTheLastDimension) {
    // Two rows by three columns; the columns are the dimension that changes.
    ArrayPtr psa = Create(VT_BSTR, {{2, 0}, {3, 0}});
    for (LONG col = 0; col < 3; ++col)
        for (LONG row = 0; row < 2; ++row) {
            LONG index[] = {row, col};
            const std::u16string text = std::u16string(1, static_cast<char16_t>(u'a' + row)) +
                                        std::u16string(1, static_cast<char16_t>(u'0' + col));
            ASSERT_EQ(SafeArrayPutElement(psa.get(), index, Text(text).bstr), S_OK);
        }
    // Texts in memory order, row fastest; "" stands for a null slot.
    struct Step {
        ULONG columns;
        LONG lower;
        std::vector<std::u16string> texts;
    } steps[] = {
        {5, 0, {u"a0", u"b0", u"a1", u"b1", u"a2", u"b2", u"", u"", u"", u""}},
        {1, 0, {u"a0", u"b0"}},
        {0, 0, {}},
        {2, 7, {u"", u"", u"", u""}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.columns);
        SAFEARRAYBOUND bound{s.columns, s.lower};
        ASSERT_EQ(SafeArrayRedim(psa.get(), &bound), S_OK);
        LONG lower = 0, upper = 0;
        EXPECT_EQ(SafeArrayGetLBound(psa.get(), 2, &lower), S_OK);
        EXPECT_EQ(SafeArrayGetUBound(psa.get(), 2, &upper), S_OK);
        EXPECT_EQ(lower, s.lower);
        EXPECT_EQ(upper, static_cast<LONG>(s.lower + s.columns - 1));
        EXPECT_EQ(SafeArrayGetUBound(psa.get(), 1, &upper), S_OK);
        EXPECT_EQ(upper, 1);
        const BSTR* slots = static_cast<BSTR*>(psa->pvData);
        for (std::size_t n = 0; n < s.texts.size(); ++n) {
            EXPECT_EQ(slots[n] == nullptr, s.texts[n].empty()) << n;
            EXPECT_EQ(TextOf(slots[n]), s.texts[n]) << n;
        }
    }

    ArrayPtr numbers = Create(VT_I2, {{2, 0}, {2, 0}});
    SHORT* data = static_cast<SHORT*>(numbers->pvData);
    for (SHORT n = 0; n < 4; ++n)
        data[n] = static_cast<SHORT>(n + 1);
    SAFEARRAYBOUND grow{3, 0};
    ASSERT_EQ(SafeArrayRedim(numbers.get(), &grow), S_OK);
    data = static_cast<SHORT*>(numbers->pvData);
    const SHORT expected[] = {1, 2, 3, 4, 0, 0};
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(data[n], expected[n]);
    SAFEARRAYBOUND tooFar{2, INT32_MAX};
    EXPECT_EQ(SafeArrayRedim(numbers.get(), &tooFar), E_INVALIDARG);
    SAFEARRAYBOUND tooBig{0x80000000u, 0};
    EXPECT_EQ(SafeArrayRedim(numbers.get(), &tooBig), E_OUTOFMEMORY);
    EXPECT_EQ(numbers->rgsabound[0].cElements, 3u);
}

} // namespace
