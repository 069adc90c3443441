// "Propriétés communes" in the window: the guarded reads, the power block,
// a failing read, and a catalogue that fails part-way.
#include <QLabel>
#include <QTabWidget>
#include <map>

#include "app/app_fixture.h"
#include "app/window_probe.h"

using namespace zorv::testing;
using zorv::com::Variant;
using zorv::views::CommonField;

namespace {

// A scanner that answers every common property with something telling.
void FillCommonProperties(TestControlLog& log) {
    auto& p = log.properties;
    p[u"State"] = Variant(LONG{2});
    p[u"ResultCode"] = Variant(LONG{0});
    p[u"ResultCodeExtended"] = Variant(LONG{-5});
    p[u"DeviceName"] = Variant(u"Scanner simulé");
    p[u"DeviceDescription"] = Variant(u"Lecteur");
    p[u"ServiceObjectDescription"] = Variant(u"SO");
    p[u"ServiceObjectVersion"] = Variant(LONG{1014001});
    p[u"ControlObjectDescription"] = Variant(u"CO");
    p[u"ControlObjectVersion"] = Variant(LONG{1014000});
    p[u"Claimed"] = Variant(true);
    p[u"DeviceEnabled"] = Variant(false);
    p[u"DataEventEnabled"] = Variant(true);
    p[u"FreezeEvents"] = Variant(false);
    p[u"AutoDisable"] = Variant(true);
    p[u"DataCount"] = Variant(LONG{3});
    p[u"BinaryConversion"] = Variant(LONG{2});
    p[u"CapPowerReporting"] = Variant(LONG{1});
    p[u"PowerState"] = Variant(LONG{2001});
    p[u"ScanData"] = Variant(u"]E0123");
}

struct Expected {
    CommonField field;
    const char* text;
};

constexpr Expected kFilled[] = {
    {CommonField::State, "OPOS_S_IDLE"},
    {CommonField::ResultCode, "0"}, // OPOS_SUCCESS has no name on this page
    {CommonField::ResultCodeExtended, "-5"},
    {CommonField::DeviceName, "Scanner simulé"},
    {CommonField::DeviceDescription, "Lecteur"},
    {CommonField::ServiceObjectDescription, "SO"},
    {CommonField::ServiceObjectVersion, "1014001"},
    {CommonField::ControlObjectDescription, "CO"},
    {CommonField::ControlObjectVersion, "1014000"},
    {CommonField::Claimed, "True"},
    {CommonField::DeviceEnabled, "False"},
    {CommonField::DataEventEnabled, "True"},
    {CommonField::FreezeEvents, "False"},
    {CommonField::AutoDisable, "True"},
    {CommonField::DataCount, "3"},
    {CommonField::BinaryConversion, "2"},
    {CommonField::CapPowerReporting, "OPOS_PR_STANDARD"},
    {CommonField::PowerState, "OPOS_PS_ONLINE"},
};

// Refreshes as the operator can: back to the first page.
void Refresh(zorv::app::TFrmAppZORV& window) {
    window.PgcOPOS->setCurrentIndex(2);
    window.PgcOPOS->setCurrentIndex(0);
}

} // namespace

using CommonPage = AppFixture;

TEST_F(CommonPage, AGuardedReadThatFailsEmptiesOnlyItsOwnLabel) {
    enum class How { Missing, Failing, NotANumber };
    struct Case {
        const char16_t* property;
        CommonField field;
        How how;
    };
    const Case cases[] = {
        {u"DataEventEnabled", CommonField::DataEventEnabled, How::Missing},
        {u"FreezeEvents", CommonField::FreezeEvents, How::Failing},
        {u"AutoDisable", CommonField::AutoDisable, How::Missing},
        {u"DataCount", CommonField::DataCount, How::Failing},
        {u"DataCount", CommonField::DataCount, How::NotANumber},
        {u"BinaryConversion", CommonField::BinaryConversion, How::Missing},
    };
    Install(kAllProgIds);
    auto& window = Start();
    auto& scanner = Device(u"OPOS.Scanner").Log();
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromStdU16String(c.property).toStdString() + " " +
                     std::to_string(static_cast<int>(c.how)));
        FillCommonProperties(scanner);
        scanner.behaviour = {};
        Refresh(window); // every label filled first
        switch (c.how) {
        case How::Missing:
            scanner.behaviour.missingMembers = {c.property};
            break;
        case How::Failing:
            scanner.behaviour.failingMembers = {{c.property, u"Non pris en charge"}};
            break;
        case How::NotANumber:
            scanner.properties[c.property] = Variant(u"beaucoup");
            break;
        }
        Refresh(window);
        for (const Expected& e : kFilled)
            EXPECT_EQ(Shown(window, e.field), e.field == c.field ? QString() : QString::fromUtf8(e.text))
                << static_cast<int>(e.field);
        EXPECT_EQ(CheckNames(window), std::vector<QString>{QStringLiteral("DecodeData")});
        EXPECT_EQ(ValueRows(window).size(), 3u) << "the specific rows are still added";
    }
    EXPECT_TRUE(Reports().empty());
}

TEST_F(CommonPage, WithoutPowerReportingPowerStateIsEmptyUnreadAndGreyedUntilADeviceReportsPower) {
    Install(kAllProgIds);
    FillCommonProperties(Device(u"OPOS.Scanner").Log());
    Device(u"OPOS.Scanner").Log().properties[u"CapPowerReporting"] = Variant(LONG{0});
    auto& printer = Device(u"OPOS.POSPrinter").Log();
    printer.properties[u"CapPowerReporting"] = Variant(LONG{2});
    printer.properties[u"PowerState"] = Variant(LONG{2004});
    auto& window = Start();
    QLabel* caption = window.TabSheet1->Caption(CommonField::PowerState);

    EXPECT_EQ(Shown(window, CommonField::CapPowerReporting), QStringLiteral("OPOS_PR_NONE"));
    EXPECT_EQ(Shown(window, CommonField::PowerState), QString());
    EXPECT_EQ(CountCalls(u"OPOS.Scanner", u"PowerState"), 0);
    EXPECT_FALSE(caption->isEnabled());

    Choose(window, QStringLiteral("Printer"));
    EXPECT_EQ(Shown(window, CommonField::CapPowerReporting), QStringLiteral("OPOS_PR_ADVANCED"));
    EXPECT_EQ(Shown(window, CommonField::PowerState), QStringLiteral("OPOS_PS_OFF_OFFLINE"));
    EXPECT_TRUE(caption->isEnabled()) << "a device that reports power enables the caption again";

    Choose(window, QStringLiteral("Scanner"));
    EXPECT_FALSE(caption->isEnabled());
    EXPECT_TRUE(Reports().empty());
}

TEST_F(CommonPage, AMissingCapPowerReportingEmptiesBothPowerLabelsAndIsNoFailure) {
    Install(kAllProgIds);
    auto& scanner = Device(u"OPOS.Scanner").Log();
    FillCommonProperties(scanner);
    auto& window = Start();
    ASSERT_EQ(Shown(window, CommonField::PowerState), QStringLiteral("OPOS_PS_ONLINE"));
    scanner.behaviour.missingMembers = {u"CapPowerReporting"};
    Refresh(window);
    EXPECT_EQ(Shown(window, CommonField::CapPowerReporting), QString());
    EXPECT_EQ(Shown(window, CommonField::PowerState), QString());
    EXPECT_TRUE(window.TabSheet1->Caption(CommonField::PowerState)->isEnabled()) << "left as it was";
    EXPECT_EQ(ValueRows(window).size(), 3u);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(CommonPage, AFailingDeviceNameUpdatesOnlyTheEarlierLabelsAndEmptiesTheSpecificPage) {
    Install(kAllProgIds);
    auto& scanner = Device(u"OPOS.Scanner").Log();
    FillCommonProperties(scanner);
    auto& window = Start();
    ASSERT_EQ(ValueRows(window).size(), 3u);

    // A new reading in which every value differs from the first one.
    auto& p = scanner.properties;
    p[u"State"] = Variant(LONG{3});
    p[u"ResultCode"] = Variant(LONG{111});
    p[u"ResultCodeExtended"] = Variant(LONG{42});
    p[u"DeviceDescription"] = Variant(u"autre");
    p[u"Claimed"] = Variant(false);
    p[u"DataCount"] = Variant(LONG{9});
    p[u"CapPowerReporting"] = Variant(LONG{0});
    scanner.behaviour.failingMembers = {{u"DeviceName", u"Lecture impossible"}};
    Refresh(window);

    EXPECT_EQ(Reports(), std::vector<std::u16string>{u"Lecture impossible"});
    EXPECT_EQ(Shown(window, CommonField::State), QStringLiteral("OPOS_S_BUSY"));
    EXPECT_EQ(Shown(window, CommonField::ResultCode), QStringLiteral("OPOS_E_FAILURE"));
    EXPECT_EQ(Shown(window, CommonField::ResultCodeExtended), QStringLiteral("42"));
    for (const Expected& e : kFilled) {
        if (e.field != CommonField::State && e.field != CommonField::ResultCode &&
            e.field != CommonField::ResultCodeExtended) {
            EXPECT_EQ(Shown(window, e.field), QString::fromUtf8(e.text))
                << "kept: " << static_cast<int>(e.field);
        }
    }
    EXPECT_TRUE(CheckRows(window).empty());
    EXPECT_TRUE(ValueRows(window).empty());
    EXPECT_EQ(CountMember(scanner, u"ScanData"), 1) << "no specific read after the failure";
}

TEST_F(CommonPage, AFailureAtTheFifthCatalogueEntryKeepsTheRowsOfTheFirstFour) {
    struct Case {
        const char* what;
        const char16_t* progId;
        QString displayName;
        const char16_t* fifth;
        std::map<std::u16string, Variant> values;
        std::vector<CheckRow> checks;
        std::vector<std::pair<QString, QString>> rows;
    };
    const Case cases[] = {
        {"printer",
         u"OPOS.POSPrinter",
         QStringLiteral("Printer"),
         u"CapJrnBold",
         {{u"CapConcurrentRecSlp", Variant(true)}, {u"CapJrn2Color", Variant(true)}},
         {{QStringLiteral("CapConcurrentJrnSlp"), false},
          {QStringLiteral("CapConcurrentRecSlp"), true},
          {QStringLiteral("CapCoverSensor"), false},
          {QStringLiteral("CapJrn2Color"), true}},
         {}},
        {"line display",
         u"OPOS.LineDisplay",
         QStringLiteral("LineDisplay"),
         u"CapHMarquee",
         {{u"CapBlink", Variant(LONG{1})}, {u"CapCharacterSet", Variant(LONG{998})}},
         {{QStringLiteral("CapBrightness"), false}, {QStringLiteral("CapDescriptors"), false}},
         {{QStringLiteral("CapBlink :"), QStringLiteral("DISP_CB_BLINKALL")},
          {QStringLiteral("CapCharacterSet :"), QStringLiteral("DISP_CCS_ASCII")}}},
        {"line display whose code has no name",
         u"OPOS.LineDisplay",
         QStringLiteral("LineDisplay"),
         u"CapHMarquee",
         {{u"CapBlink", Variant(LONG{77})},
          {u"CapCharacterSet", Variant(LONG{0})},
          {u"CapBrightness", Variant(true)}},
         {{QStringLiteral("CapBrightness"), true}, {QStringLiteral("CapDescriptors"), false}},
         {{QStringLiteral("CapCharacterSet :"), QStringLiteral("DISP_CCS_NUMERIC")}}},
        {"MSR",
         u"OPOS.MSR",
         QStringLiteral("MSR"),
         u"ParseDecodeData",
         {{u"CapJISOne", Variant(true)}},
         {{QStringLiteral("CapISO"), false},
          {QStringLiteral("CapJISOne"), true},
          {QStringLiteral("CapJISTwo"), false},
          {QStringLiteral("DecodeData"), false}},
         {}},
    };
    Install(kAllProgIds);
    auto& window = Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto& log = Device(c.progId).Log();
        log.properties.clear();
        log.calls.clear();
        for (const auto& [name, value] : c.values)
            log.properties[name] = value;
        log.behaviour.failingMembers = {{c.fifth, u"Propriété absente"}};
        const auto before = Reports().size();
        Choose(window, c.displayName);
        EXPECT_EQ(CheckRows(window), c.checks);
        EXPECT_EQ(ValueRows(window), c.rows);
        ASSERT_EQ(Reports().size(), before + 1);
        EXPECT_EQ(Reports().back(), u"Propriété absente");
        EXPECT_EQ(CountMember(log, c.fifth), 1);
        log.behaviour.failingMembers.clear();
    }
}
