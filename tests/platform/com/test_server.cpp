// A small in-process server for the class-table tests: one counter class
// served through DllGetClassObject, found through a registration file.
#include "platform/com/inproc_server.h"
#include "platform/com/table_dispatch.h"

namespace {

using namespace zorv::com;

constexpr CLSID kCounterClsid = {
    0x6B1E0C52, 0x3A6F, 0x4E55, {0x9C, 0x51, 0x1D, 0x2B, 0x9F, 0x0A, 0x7E, 0x01}};

class Counter final : public TableDispatch<Counter> {
public:
    static const DispatchTable<Counter>& DispatchMembers() {
        static const DispatchTable<Counter> table{
            {u"Value", 1, &Counter::GetValue, &Counter::PutValue},
            {u"Add", 2, nullptr, nullptr, &Counter::Add},
        };
        return table;
    }

private:
    void GetValue(VARIANT& result) {
        result.vt = VT_I4;
        result.lVal = value_;
    }
    void PutValue(const VARIANT& value) {
        Variant converted;
        if (FAILED(VariantChangeType(&converted, &value, 0, VT_I4)))
            throw DispatchError{DISP_E_TYPEMISMATCH, 0};
        value_ = converted.lVal;
    }
    void Add(const DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(1, 1);
        value_ += args.Long(0);
        GetValue(result);
    }

    LONG value_ = 0;
};

HRESULT CreateCounter(REFIID riid, void** ppv) {
    return CreateObjectOf<Counter>(riid, ppv);
}

constexpr ServedClass kClasses[] = {{kCounterClsid, &CreateCounter, u"Zorv.TestCounter"}};

} // namespace

ZORV_COMPONENT_ENTRY_POINTS(kClasses)
