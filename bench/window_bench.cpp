// The window on the offscreen platform over the simulated devices, the
// printer current and open: one full refresh (18 common reads, 82 catalogue
// reads, both lists rebuilt), and one printer event from its injection to
// the end of the refresh it causes.
#include <benchmark/benchmark.h>

#include <exception>
#include <iostream>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>

#include "app/app_zorv.h"
#include "app/event_log_window.h"
#include "app/modal_runner.h"
#include "app/saisie_ldn.h"
#include "outside/late_bound.h"
#include "platform/com/apartment.h"
#include "platform/ui/recording_user_interface.h"

namespace {

struct PrinterWindow {
    PrinterWindow() {
        zorv::app::SetModalRunner([](QDialog& dialog) {
            dynamic_cast<zorv::app::TFrmSaisieLDN&>(dialog).EdtLDN->setText(QStringLiteral("SimPrinter"));
            return static_cast<int>(QDialog::Accepted);
        });
        window.SetLogicalNameDialog(&dialog);
        for (QAction* item : window.MnPeriph->actions())
            if (item->text() == QStringLiteral("Printer"))
                item->trigger();
        window.BtnOpenClick();
        zorv::com::DrainPostedCalls();
    }
    ~PrinterWindow() { zorv::app::SetModalRunner(nullptr); }

    zorv::ui::RecordingUserInterface boxes;
    zorv::app::TFrmAppZORV window;
    zorv::app::TFrmSaisieLDN dialog;
};

void PrinterFullRefresh(benchmark::State& state) {
    PrinterWindow printer;
    for (auto _ : state)
        printer.window.BtnRafraichirClick();
    if (!printer.boxes.Messages().empty())
        state.SkipWithError("a message box was shown");
}
BENCHMARK(PrinterFullRefresh)->Unit(benchmark::kMicrosecond);

void PrinterEventToRefresh(benchmark::State& state) {
    PrinterWindow printer;
    IDispatch* device = printer.window.CurrentControl()->DeviceObject().Get();
    for (auto _ : state) {
        LONG data = 1;
        zorv::com::Bstr text(u"bench");
        zorv::outside::CallMethod(device, u"DirectIO",
                                  {LONG{6}, zorv::outside::Arg::Ref(data), zorv::outside::Arg::Ref(text)});
        zorv::com::DrainPostedCalls();
    }
    state.counters["events/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(PrinterEventToRefresh)->Unit(benchmark::kMicrosecond);

// The same with Qt's event loop turning after each event, so that the event
// log window, when open (argument 1), follows the log as it does in use.
void PrinterEventWithEventLog(benchmark::State& state) {
    PrinterWindow printer;
    if (state.range(0) != 0)
        printer.window.MntJournal->trigger();
    IDispatch* device = printer.window.CurrentControl()->DeviceObject().Get();
    for (auto _ : state) {
        LONG data = 1;
        zorv::com::Bstr text(u"bench");
        zorv::outside::CallMethod(device, u"DirectIO",
                                  {LONG{6}, zorv::outside::Arg::Ref(data), zorv::outside::Arg::Ref(text)});
        zorv::com::DrainPostedCalls();
        QCoreApplication::processEvents();
    }
    if (state.range(0) != 0)
        printer.window.EventLogWindow()->Follow();
    state.counters["events/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(PrinterEventWithEventLog)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int Main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    CoInitialize(nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CoUninitialize();
    return 0;
}

} // namespace

// What a benchmark throws is reported, never left to abort the run.
int main(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "benchmark: " << error.what() << std::endl;
    } catch (...) {
        std::cerr << "benchmark: unexpected exception" << std::endl;
    }
    return 1;
}
