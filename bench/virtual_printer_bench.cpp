// Against zorv-virtual-printer over loopback: one real-time status round
// trip, and receipt lines per second (encoded, sent, decoded and written to
// the transcript; the receipts are not cut, so no picture is drawn).
#include <benchmark/benchmark.h>

#include <exception>
#include <iostream>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "protocols/escpos/escape_translation.h"
#include "outside/late_bound.h"
#include "platform/com/apartment.h"
#include "platform/com/bstr_value.h"
#include "platform/com/class_table.h"
#include "transport/link.h"

namespace escpos = zorv::opos::escpos;
namespace transport = zorv::opos::transport;

namespace {

struct Printer {
    QTemporaryDir out;
    QProcess process;
    std::unique_ptr<transport::Link> link;

    Printer() {
        process.start(ZORV_VIRTUAL_PRINTER, {"--port", "0", "--out", out.path(), "--quiet"});
        if (!process.waitForStarted(5000) || !process.waitForReadyRead(5000))
            return;
        const auto match = QRegularExpression("print port 127.0.0.1:(\\d+)").match(process.readLine());
        transport::Connection connection;
        connection.host = "127.0.0.1";
        connection.port = static_cast<uint16_t>(match.captured(1).toUInt());
        transport::LinkStatus status;
        link = transport::Link::Open(connection, 2000, status);
    }
    ~Printer() {
        link.reset();
        process.terminate();
        process.waitForFinished(5000);
    }

    bool RoundTrip() {
        if (!link->Send(escpos::RealTimeStatus(escpos::StatusQuery::Printer), 1000).status.ok())
            return false;
        std::string answer;
        return link->Receive(answer, 1, 1000).status.ok();
    }
};

std::u16string Lines(int count) {
    std::u16string data;
    for (int i = 0; i < count; ++i)
        data += u"\x1B|bCArticle\x1B|!bC  caf\u00E9 cr\u00E8me  x2       7,00 \u20AC\n";
    return data;
}

void BM_StatusRoundTrip(benchmark::State& state) {
    Printer printer;
    if (!printer.link) {
        state.SkipWithError("the virtual printer did not start");
        return;
    }
    for (auto _ : state)
        if (!printer.RoundTrip()) {
            state.SkipWithError("no status answer");
            break;
        }
}
BENCHMARK(BM_StatusRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Each iteration sends a 40-line receipt and waits for the status answer
// that follows it, so the printer has handled every line.
void BM_ReceiptLinesToVirtualPrinter(benchmark::State& state) {
    Printer printer;
    if (!printer.link) {
        state.SkipWithError("the virtual printer did not start");
        return;
    }
    escpos::TranslationSettings settings;
    settings.codePage = escpos::CodePage::Pc858;
    const std::u16string receipt = Lines(40);
    for (auto _ : state) {
        const escpos::Translation job = escpos::TranslatePrintData(receipt, settings);
        if (!printer.link->Send(job.bytes, 2000).status.ok() || !printer.RoundTrip()) {
            state.SkipWithError("the printer stopped taking data");
            break;
        }
    }
    state.counters["lines/s"] = benchmark::Counter(40.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReceiptLinesToVirtualPrinter)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same through the OPOS printer object, as a script drives it: the
// receipt goes through PrintNormal, the status round trip through DirectIO
// 101 (one real-time query and its answer, posted from the reader thread).
class OposPrinter {
public:
    explicit OposPrinter(Printer& printer) {
        if (!printer.link)
            return;
        const uint16_t port = printer.link->connection().port;
        printer.link.reset(); // the printer takes one client at a time
        CoInitialize(nullptr);
        CLSID clsid{};
        if (FAILED(CLSIDFromProgID(u"OPOS.POSPrinter", &clsid)) ||
            FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                    object.ReleaseAndGetVoidAddress())))
            return;
        const std::u16string name = u"tcp:127.0.0.1:" + QString::number(port).toStdU16String();
        ready = Call(u"Open", {name.c_str()}) == 0 && Call(u"ClaimDevice", {LONG{3000}}) == 0;
        if (ready)
            zorv::outside::PutProperty(object.Get(), u"DeviceEnabled", true);
        ready = ready && zorv::outside::GetProperty(object.Get(), u"DeviceEnabled").boolVal != 0;
    }
    ~OposPrinter() {
        if (object)
            Call(u"Close", {});
        object.Reset();
        zorv::com::DrainPostedCalls();
        CoUninitialize();
    }
    LONG Call(const char16_t* method, std::initializer_list<zorv::outside::Arg> args) {
        return zorv::outside::CallMethod(object.Get(), method, args).lVal;
    }
    bool Status() {
        LONG data = 1;
        zorv::com::Bstr text(u"");
        return Call(u"DirectIO", {LONG{101}, zorv::outside::Arg::Ref(data), zorv::outside::Arg::Ref(text)}) ==
               0;
    }

    zorv::com::ComPtr<IDispatch> object;
    bool ready = false;
};

void BM_OposStatusRoundTrip(benchmark::State& state) {
    Printer printer;
    OposPrinter opos(printer);
    if (!opos.ready) {
        state.SkipWithError("the OPOS printer did not open on the virtual printer");
        return;
    }
    for (auto _ : state)
        if (!opos.Status()) {
            state.SkipWithError("no status answer");
            break;
        }
}
BENCHMARK(BM_OposStatusRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_OposReceiptLines(benchmark::State& state) {
    Printer printer;
    OposPrinter opos(printer);
    if (!opos.ready) {
        state.SkipWithError("the OPOS printer did not open on the virtual printer");
        return;
    }
    const std::u16string receipt = Lines(40);
    for (auto _ : state)
        if (opos.Call(u"PrintNormal", {LONG{2}, receipt.c_str()}) != 0 || !opos.Status()) {
            state.SkipWithError("the printer stopped taking data");
            break;
        }
    state.counters["lines/s"] = benchmark::Counter(40.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OposReceiptLines)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

// What a benchmark throws is reported, never left to abort the run.
int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "benchmark: " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "benchmark: unexpected exception" << std::endl;
    }
    return 1;
}
