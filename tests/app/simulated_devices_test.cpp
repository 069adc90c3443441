// The window on the simulated devices, found through the class table as the
// program finds them; device input is injected through DirectIO and its
// events reach the window through Qt's event loop.
#include <QCoreApplication>
#include <QPushButton>

#include "app/app_fixture.h"
#include "app/modal_runner.h"
#include "app/posted_call_pump.h"
#include "app/window_probe.h"
#include "platform/com/bstr_value.h"

using namespace zorv::testing;
using zorv::devices::DeviceKindId;
using zorv::views::CommonField;

namespace {

// The simulation's DirectIO commands.
constexpr LONG kSimInput = 1;
constexpr LONG kSimDirectIOEvent = 6;

const std::vector<QString> kPrinterFlags = {"CapConcurrentJrnSlp",
                                            "CapConcurrentRecSlp",
                                            "CapCoverSensor",
                                            "CapJrn2Color",
                                            "CapJrnBold",
                                            "CapJrnDhigh",
                                            "CapJrnDwide",
                                            "CapJrnDwideDhigh",
                                            "CapJrnEmptySensor",
                                            "CapJrnItalic",
                                            "CapJrnNearEndSensor",
                                            "CapJrnPresent",
                                            "CapJrnUnderline",
                                            "CapRec2Color",
                                            "CapRecBarCode",
                                            "CapRecBitmap",
                                            "CapRecBold",
                                            "CapRecDhigh",
                                            "CapRecDwide",
                                            "CapRecDwideDhigh",
                                            "CapRecEmptySensor",
                                            "CapRecItalic",
                                            "CapRecLeft90",
                                            "CapRecNearEndSensor",
                                            "CapRecPaperCut",
                                            "CapRecPresent",
                                            "CapRecRight90",
                                            "CapRecRotate180",
                                            "CapRecStamp",
                                            "CapRecUnderline",
                                            "CapSlp2Color",
                                            "CapSlpBitmap",
                                            "CapSlpBold",
                                            "CapSlpDhigh",
                                            "CapSlpDwide",
                                            "CapSlpDwideDhigh",
                                            "CapSlpEmptySensor",
                                            "CapSlpFullslip",
                                            "CapSlpItalic",
                                            "CapSlpLeft90",
                                            "CapSlpNearEndSensor",
                                            "CapSlpPresent",
                                            "CapSlpRight90",
                                            "CapSlpRotate180",
                                            "CapSlpUnderline",
                                            "CapTransaction",
                                            "CoverOpen",
                                            "FlagWhenIdle",
                                            "JrnEmpty",
                                            "JrnLetterQuality",
                                            "JrnNearEnd",
                                            "RecLetterQuality",
                                            "RecNearEnd",
                                            "SlpEmpty",
                                            "SlpLetterQuality",
                                            "SlpNearEnd"};

const std::vector<QString> kPrinterValues = {
    "CharacterSetList",       "FontTypefaceList",   "JrnLineChars",        "JrnLineCharsList",
    "JrnLineHeight",          "JrnLineSpacing",     "JrnLineWidth",        "RecBarCodeRotationList",
    "RecLineChars",           "RecLineCharsList",   "RecLineHeight",       "RecLineSpacing",
    "RecLinesToPaperCut",     "RecLineWidth",       "RecSidewaysMaxChars", "RecSidewaysMaxLines",
    "SlpBarCodeRotationList", "SlpLineChars",       "SlpLineCharsList",    "SlpLineHeight",
    "SlpLinesNearEndToEnd",   "SlpLineSpacing",     "SlpLineWidth",        "SlpMaxLines",
    "SlpSidewaysMaxChars",    "SlpSidewaysMaxLines"};

// Delivers what the devices post, as the program's event loop does.
struct PostedCallPump {
    PostedCallPump() { zorv::app::DrivePostedCallsFromQt(); }
    ~PostedCallPump() { zorv::app::StopDrivingPostedCalls(); }
    static void Run() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
};

} // namespace

class SimulatedDevices : public AppFixture {
protected:
    IDispatch* DeviceOf(DeviceKindId kind) {
        device_ = window->Control(kind)->DeviceObject();
        return device_.Get();
    }
    void OpenThroughTheDialog(const QString& kind, std::u16string name) {
        Choose(*window, kind);
        AnswerDialog(std::move(name));
        window->BtnOpen->click();
    }
    LONG DirectIO(DeviceKindId kind, LONG command, LONG data, std::u16string_view text) {
        zorv::com::Bstr textArg(text);
        return zorv::outside::ToLong(zorv::outside::CallMethod(
            DeviceOf(kind), u"DirectIO",
            {command, zorv::outside::Arg::Ref(data), zorv::outside::Arg::Ref(textArg)}));
    }
    bool DataEventEnabled(DeviceKindId kind) {
        return zorv::outside::ToBool(zorv::outside::GetProperty(DeviceOf(kind), u"DataEventEnabled"));
    }

    PostedCallPump pump;

private:
    zorv::com::ComPtr<IDispatch> device_;
};

TEST_F(SimulatedDevices, StartUpThenThePrinterOpenedShowsItsWholeCatalogueInOrder) {
    auto& window = Start();
    EXPECT_EQ(MenuCaptions(window), (std::vector<QString>{"Scanner", "Printer", "LineDisplay", "Keylock",
                                                          "MSR", "POSKeyboard", "CashDrawer"}));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZORV - [Scanner]"));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(Reports().empty());

    OpenThroughTheDialog(QStringLiteral("Printer"), u"SimPrinter");
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Shown(window, CommonField::State), QStringLiteral("OPOS_S_IDLE"));
    EXPECT_EQ(Shown(window, CommonField::DeviceName), QStringLiteral("SimPrinter"));
    EXPECT_EQ(Shown(window, CommonField::Claimed), QStringLiteral("True"));
    EXPECT_EQ(CheckNames(window), kPrinterFlags);
    std::vector<QString> captions;
    for (const auto& row : ValueRows(window))
        captions.push_back(row.first);
    std::vector<QString> expected;
    for (const QString& name : kPrinterValues)
        expected.push_back(name + QStringLiteral(" :"));
    EXPECT_EQ(captions, expected);
}

TEST_F(SimulatedDevices, EveryOtherKindShowsItsCatalogueOnceOpened) {
    struct Case {
        QString kind;
        std::u16string name;
        std::size_t checks;
        std::size_t values;
    };
    const Case cases[] = {
        {"Scanner", u"SimScanner", 1, 3},         {"LineDisplay", u"SimLineDisplay", 6, 19},
        {"Keylock", u"SimKeylock", 0, 2},         {"MSR", u"SimMSR", 5, 15},
        {"POSKeyboard", u"SimPOSKeyboard", 1, 3}, {"CashDrawer", u"SimCashDrawer", 2, 0},
    };
    auto& window = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind.toStdString());
        OpenThroughTheDialog(c.kind, c.name);
        EXPECT_EQ(Shown(window, CommonField::State), QStringLiteral("OPOS_S_IDLE"));
        EXPECT_EQ(CheckRows(window).size(), c.checks);
        EXPECT_EQ(ValueRows(window).size(), c.values);
    }
    EXPECT_TRUE(Reports().empty());
}

TEST_F(SimulatedDevices, AScannedLabelReachesTheWindowWhetherTheScannerIsCurrentOrNot) {
    auto& window = Start();
    OpenThroughTheDialog(QStringLiteral("Scanner"), u"SimScanner");
    ASSERT_EQ(DirectIO(DeviceKindId::Scanner, kSimInput, 0, u"012345678905"), 0);
    PostedCallPump::Run();
    EXPECT_EQ(Shown(window, CommonField::DataEventEnabled), QStringLiteral("True")) << "re-armed";
    ASSERT_FALSE(ValueRows(window).empty());
    EXPECT_EQ(ValueRows(window)[0],
              std::make_pair(QStringLiteral("ScanData :"), QStringLiteral("]E0012345678905")));

    OpenThroughTheDialog(QStringLiteral("Printer"), u"SimPrinter");
    ASSERT_EQ(DirectIO(DeviceKindId::Scanner, kSimInput, 0, u"4006381333931"), 0);
    PostedCallPump::Run();
    EXPECT_TRUE(DataEventEnabled(DeviceKindId::Scanner)) << "the scanner is re-armed";
    EXPECT_EQ(window.CurrentDevice(), u"Printer");
    EXPECT_EQ(CheckRows(window).size(), 56u) << "the printer is refreshed";
    EXPECT_TRUE(Reports().empty());
}

TEST_F(SimulatedDevices, PrinterAndCashDrawerEventsRefreshWithoutTouchingDataEventEnabled) {
    auto& window = Start();
    for (const auto& [kind, name, id] :
         {std::tuple{QStringLiteral("Printer"), u"SimPrinter", DeviceKindId::Printer},
          std::tuple{QStringLiteral("CashDrawer"), u"SimCashDrawer", DeviceKindId::CashDrawer}}) {
        SCOPED_TRACE(kind.toStdString());
        OpenThroughTheDialog(kind, name);
        ASSERT_FALSE(DataEventEnabled(id));
        // A refresh shows the State the device has at that moment.
        ASSERT_EQ(DirectIO(id, kSimDirectIOEvent, 5, u"x"), 0);
        window.TabSheet1->Value(CommonField::State)->setText(QStringLiteral("stale"));
        PostedCallPump::Run();
        EXPECT_EQ(Shown(window, CommonField::State), QStringLiteral("OPOS_S_IDLE"))
            << "refreshed by the event";
        EXPECT_FALSE(DataEventEnabled(id));
    }
    EXPECT_TRUE(Reports().empty());
}

TEST_F(SimulatedDevices, EventsPostedWhileTheDialogIsOpenAreHandledInsideIt) {
    auto& window = Start();
    OpenThroughTheDialog(QStringLiteral("Scanner"), u"SimScanner");
    ASSERT_EQ(DirectIO(DeviceKindId::Scanner, kSimInput, 103, u"96385074"), 0);
    QString seenInside;
    zorv::app::SetModalRunner([&](QDialog&) {
        PostedCallPump::Run(); // the dialog's own event loop
        seenInside = ValueRows(window).at(0).second;
        return static_cast<int>(QDialog::Rejected);
    });
    window.BtnOpen->click();
    EXPECT_EQ(seenInside, QStringLiteral("]E496385074"));
    EXPECT_TRUE(Reports().empty());
}
