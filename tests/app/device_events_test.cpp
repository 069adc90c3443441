// Device events in the window: the re-arm of the kind that raised the event,
// the refresh of the current kind, failures, events arriving while a box or
// the dialog is open, and an event nested inside a refresh.
#include <QDialog>
#include <QPushButton>

#include "app/app_fixture.h"
#include "app/modal_runner.h"
#include "app/window_probe.h"

using namespace zorv::testing;
using zorv::com::Variant;
using zorv::views::CommonField;

namespace {

struct KindEvents {
    const char16_t* progId;
    QString displayName;
    bool rearms;
    std::vector<EventShape> shapes; // by dispatch identifier, from 1
};

const std::vector<KindEvents>& AllKindEvents() {
    using enum EventShape;
    static const std::vector<KindEvents> kinds = {
        {u"OPOS.Scanner", QStringLiteral("Scanner"), true, {Data, ScannerDirectIO, Error, StatusUpdate}},
        {u"OPOS.POSPrinter",
         QStringLiteral("Printer"),
         false,
         {DirectIO, Error, OutputComplete, StatusUpdate}},
        {u"OPOS.LineDisplay", QStringLiteral("LineDisplay"), true, {DirectIO, StatusUpdate}},
        {u"OPOS.Keylock", QStringLiteral("Keylock"), true, {StatusUpdate, DirectIO, Data}},
        {u"OPOS.MSR", QStringLiteral("MSR"), true, {Data, DirectIO, Error}},
        {u"OPOS.POSKeyboard", QStringLiteral("POSKeyboard"), true, {Data, DirectIO, Error, StatusUpdate}},
        {u"OPOS.CashDrawer", QStringLiteral("CashDrawer"), false, {DirectIO, StatusUpdate}},
    };
    return kinds;
}

} // namespace

class DeviceEvents : public AppFixture {
protected:
    // Fires the event of slot `dispid` with arguments of its shape.
    void FireEvent(const char16_t* progId, DISPID dispid, EventShape shape) {
        EventArgs args(shape);
        ASSERT_EQ(Device(progId).Last()->Fire(dispid, args.Make()), S_OK);
        EXPECT_EQ(args.Data(), 12) << "by-reference values go back as they came";
        EXPECT_EQ(args.Text(), u"sent");
    }
    void FireScannerData() { FireEvent(u"OPOS.Scanner", 1, EventShape::Data); }
    int Refreshes(const char16_t* progId) { return CountCalls(progId, u"State"); }
};

TEST_F(DeviceEvents, EveryEventRearmsItsOwnKindWhereItShouldAndRefreshesTheCurrentKind) {
    Install(kAllProgIds);
    auto& window = Start();
    for (const KindEvents& kind : AllKindEvents()) {
        // The current kind is another one, so re-arm and refresh are told apart.
        const bool scanner = kind.displayName == QStringLiteral("Scanner");
        const char16_t* current = scanner ? u"OPOS.POSPrinter" : u"OPOS.Scanner";
        Choose(window, scanner ? QStringLiteral("Printer") : QStringLiteral("Scanner"));
        for (std::size_t slot = 0; slot < kind.shapes.size(); ++slot) {
            SCOPED_TRACE(kind.displayName.toStdString() + " slot " + std::to_string(slot + 1));
            auto& own = Device(kind.progId).Log();
            auto& shown = Device(current).Log();
            own.calls.clear();
            shown.calls.clear();
            // The refresh must come after the re-arm.
            std::optional<std::size_t> rearmsAtRefresh;
            shown.behaviour.duringCall = [&](TestControl&, const RecordedCall& call) {
                if (call.member == u"State")
                    rearmsAtRefresh = Puts(own, u"DataEventEnabled").size();
            };
            FireEvent(kind.progId, static_cast<DISPID>(slot + 1), kind.shapes[slot]);
            shown.behaviour.duringCall = nullptr;

            const auto puts = Puts(own, u"DataEventEnabled");
            ASSERT_EQ(puts.size(), kind.rearms ? 1u : 0u);
            if (kind.rearms) {
                EXPECT_TRUE(IsTrue(puts[0]));
            }
            EXPECT_EQ(CountMember(shown, u"State"), 1) << "one refresh of the current kind";
            EXPECT_EQ(CountMember(own, u"State"), 0) << "the kind that raised it is not refreshed";
            EXPECT_EQ(rearmsAtRefresh, puts.size());
        }
    }
    EXPECT_TRUE(Reports().empty());
}

TEST_F(DeviceEvents, TheScannersDataEventShowsItsDataWhenCurrentAndRefreshesThePrinterOtherwise) {
    Install(kAllProgIds);
    auto& scannerLog = Device(u"OPOS.Scanner").Log();
    scannerLog.properties[u"DataEventEnabled"] = Variant(false);
    auto& window = Start();
    ASSERT_EQ(Shown(window, CommonField::DataEventEnabled), QStringLiteral("False"));

    scannerLog.properties[u"ScanData"] = Variant(u"]E0012345678905");
    scannerLog.properties[u"ScanDataLabel"] = Variant(u"012345678905");
    scannerLog.properties[u"ScanDataType"] = Variant(LONG{101});
    FireScannerData();
    EXPECT_EQ(Shown(window, CommonField::DataEventEnabled), QStringLiteral("True"));
    EXPECT_EQ(ValueRows(window), (std::vector<std::pair<QString, QString>>{
                                     {QStringLiteral("ScanData :"), QStringLiteral("]E0012345678905")},
                                     {QStringLiteral("ScanDataLabel :"), QStringLiteral("012345678905")},
                                     {QStringLiteral("ScanDataType :"), QStringLiteral("101")}}));

    Choose(window, QStringLiteral("Printer"));
    scannerLog.properties[u"DataEventEnabled"] = Variant(false);
    scannerLog.calls.clear();
    const int printerRefreshes = Refreshes(u"OPOS.POSPrinter");
    FireScannerData();
    EXPECT_EQ(Puts(scannerLog, u"DataEventEnabled").size(), 1u);
    EXPECT_EQ(Refreshes(u"OPOS.Scanner"), 0);
    EXPECT_EQ(Refreshes(u"OPOS.POSPrinter"), printerRefreshes + 1);
    EXPECT_EQ(CheckRows(window).size(), 56u) << "the printer's pages";
    EXPECT_EQ(window.CurrentDevice(), u"Printer");
}

TEST_F(DeviceEvents, AFailingRearmIsReportedOnceSkipsTheRefreshAndTheNextEventIsHandled) {
    Install(kAllProgIds);
    auto& window = Start();
    auto& scanner = Device(u"OPOS.Scanner").Log();
    int refusals = 1;
    scanner.behaviour.failWhen = [&](const RecordedCall& call) -> std::optional<std::u16string> {
        if (call.member == u"DataEventEnabled" && (call.flags & DISPATCH_PROPERTYPUT) && refusals-- > 0)
            return u"Périphérique non réclamé";
        return std::nullopt;
    };
    const int before = Refreshes(u"OPOS.Scanner");
    FireScannerData();
    EXPECT_EQ(Reports(), std::vector<std::u16string>{u"Périphérique non réclamé"});
    EXPECT_EQ(Refreshes(u"OPOS.Scanner"), before);

    FireScannerData();
    EXPECT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Refreshes(u"OPOS.Scanner"), before + 1);
    EXPECT_EQ(Puts(scanner, u"DataEventEnabled").size(), 2u);
    EXPECT_EQ(window.CurrentDevice(), u"Scanner");
}

TEST_F(DeviceEvents, EventsAreHandledWhileTheDialogOrAMessageBoxIsOpen) {
    Install(kAllProgIds);
    auto& window = Start();
    int refreshesInside = -1;
    zorv::app::SetModalRunner([&](QDialog&) {
        FireScannerData();
        refreshesInside = Refreshes(u"OPOS.Scanner");
        return static_cast<int>(QDialog::Rejected);
    });
    const int before = Refreshes(u"OPOS.Scanner");
    window.BtnOpen->click();
    EXPECT_EQ(refreshesInside, before + 1) << "handled while the dialog was open";
    EXPECT_EQ(Refreshes(u"OPOS.Scanner"), before + 2) << "then the click's own refresh";

    ui.WhileShowing([&] { FireEvent(u"OPOS.CashDrawer", 2, EventShape::StatusUpdate); });
    window.MntAPropos->trigger();
    ui.WhileShowing(nullptr);
    EXPECT_EQ(Refreshes(u"OPOS.Scanner"), before + 3);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(DeviceEvents, AnEventNestedInARefreshRunsItsRefreshAfterwardsWithoutMixingRows) {
    Install(kAllProgIds);
    auto& scanner = Device(u"OPOS.Scanner").Log();
    scanner.properties[u"ScanData"] = Variant(u"A");
    auto& window = Start();
    scanner.calls.clear();
    // The device raises an event from inside the read of ScanData, once per trigger.
    int nested = 0;
    scanner.behaviour.duringCall = [&](TestControl& object, const RecordedCall& call) {
        if (call.member == u"ScanData" && nested > 0) {
            --nested;
            EventArgs args(EventShape::StatusUpdate);
            object.Fire(4, args.Make());
        }
    };
    for (const int events : {1, 2}) {
        SCOPED_TRACE(events);
        scanner.calls.clear();
        nested = events;
        FireScannerData();
        // The first refresh reads ScanData and raises one event; that event's
        // refresh may raise the next one.
        EXPECT_EQ(CountMember(scanner, u"State"), 1 + events) << "one full refresh per event";
        EXPECT_EQ(Puts(scanner, u"DataEventEnabled").size(), static_cast<std::size_t>(1 + events));
        EXPECT_EQ(CheckNames(window), std::vector<QString>{QStringLiteral("DecodeData")});
        EXPECT_EQ(ValueRows(window), (std::vector<std::pair<QString, QString>>{
                                         {QStringLiteral("ScanData :"), QStringLiteral("A")},
                                         {QStringLiteral("ScanDataLabel :"), QString()},
                                         {QStringLiteral("ScanDataType :"), QString()}}));
    }
    scanner.behaviour.duringCall = nullptr;
    EXPECT_TRUE(Reports().empty());
}

TEST_F(DeviceEvents, ANestedRefreshThatFailsIsReportedOnItsOwn) {
    Install(kAllProgIds);
    auto& scanner = Device(u"OPOS.Scanner").Log();
    auto& window = Start();
    bool fire = true;
    scanner.behaviour.duringCall = [&](TestControl& object, const RecordedCall& call) {
        if (call.member == u"ScanData" && std::exchange(fire, false)) {
            // The nested refresh will fail at the second read of ScanData.
            scanner.behaviour.failingMembers = {{u"ScanDataLabel", u"Lecture refusée"}};
            EventArgs args(EventShape::Data);
            object.Fire(1, args.Make());
        }
    };
    FireScannerData();
    scanner.behaviour.duringCall = nullptr;
    EXPECT_EQ(Reports(), (std::vector<std::u16string>{u"Lecture refusée", u"Lecture refusée"}))
        << "each refresh reports its own failure";
    EXPECT_EQ(ValueRows(window).size(), 1u) << "the last reading's rows only";
}
