// One late-bound property get by name (name lookup, then Invoke) on a
// table-built dispatch object with as many members as a POS printer has.
#include <benchmark/benchmark.h>

#include <string>

#include "outside/late_bound.h"
#include "platform/com/apartment.h"
#include "platform/com/table_dispatch.h"

using namespace zorv::com;

namespace {

class Printer final : public TableDispatch<Printer> {
public:
    static const DispatchTable<Printer>& DispatchMembers();

private:
    void Get(VARIANT& result) {
        result.vt = VT_I4;
        result.lVal = 42;
    }
};

const DispatchTable<Printer>& Printer::DispatchMembers() {
    // About a hundred members, named like the printer's capabilities.
    static const std::vector<std::u16string> names = [] {
        std::vector<std::u16string> list;
        for (const char16_t* station : {u"Jrn", u"Rec", u"Slp"})
            for (const char16_t* what : {u"Present", u"Empty", u"NearEnd", u"LineChars", u"LineHeight",
                                         u"LineSpacing", u"LineWidth", u"LinesToPaperCut", u"Bitmap", u"BarCode",
                                         u"Bold", u"Italic", u"Underline", u"Letter", u"Cartridge", u"Color",
                                         u"DhighDwide", u"2Color", u"Left90", u"Right90", u"Rotate180",
                                         u"Sideways", u"Papercut", u"Stamp", u"EmptySensor", u"NearEndSensor",
                                         u"MaxLines", u"CharsList", u"LineCharsList", u"LineSpacingList"})
                list.push_back(std::u16string(u"Cap") + station + what);
        list.push_back(u"State");
        return list;
    }();
    static const DispatchTable<Printer> table = [] {
        std::vector<DispatchMember<Printer>> members;
        DISPID id = 1;
        for (const auto& name : names)
            members.push_back({name, id++, &Printer::Get});
        return DispatchTable<Printer>(members);
    }();
    return table;
}

void LateBoundPropertyGet(benchmark::State& state) {
    CoInitialize(nullptr);
    auto printer = MakeObject<Printer>();
    for (auto _ : state) {
        Variant value = zorv::outside::GetProperty(printer.Get(), u"CapRecNearEndSensor");
        benchmark::DoNotOptimize(value.lVal);
    }
    printer.Reset();
    CoUninitialize();
}
BENCHMARK(LateBoundPropertyGet);

} // namespace
