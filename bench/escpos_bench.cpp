// Encoding a 40-line receipt (styles, prices with the euro sign, a bar
// code, a cut) from OPOS print data to ESC/POS bytes. The link to the
// printer, not this, should be what limits receipts per second.
#include <benchmark/benchmark.h>

#include <string>

#include "protocols/escpos/escape_translation.h"

using namespace zorv::opos::escpos;

namespace {

std::u16string Receipt() {
    const std::u16string esc = u"\x1B|";
    std::u16string data = esc + u"cA" + esc + u"4C" + esc + u"bCÉPICERIE DU PORT\n" + esc + u"N";
    data += esc + u"cA12 quai des Indes, 56100 Lorient\n";
    for (int line = 0; line < 34; ++line)
        data += u"Article n\u00B0" + std::u16string(2, static_cast<char16_t>(u'0' + line % 10)) +
                u" fa\u00E7on caf\u00E9      " + std::u16string(1, static_cast<char16_t>(u'1' + line % 9)) +
                u",99 \u20AC\n";
    data += esc + u"bCTOTAL" + esc + u"!bC          123,45 \u20AC\n";
    data += esc + u"2CMerci de votre visite\n" + esc + u"1C";
    data += esc + u"Rs104h60a-2t-13d4006381333931e";
    data += u"TVA 20 % incluse\n" + esc + u"fP";
    return data;
}

void BM_EncodeReceipt(benchmark::State& state) {
    const std::u16string data = Receipt();
    TranslationSettings settings;
    settings.codePage = CodePage::Pc858;
    size_t bytes = 0;
    for (auto _ : state) {
        const Translation t = TranslatePrintData(data, settings);
        bytes = t.bytes.size();
        benchmark::DoNotOptimize(t.bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["lines/s"] = benchmark::Counter(40.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeReceipt);

} // namespace
