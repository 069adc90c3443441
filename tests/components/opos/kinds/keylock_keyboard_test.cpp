// The keylock's and the POS keyboard's members: a keylock that is only ever
// shared, electronic keys, ClearInputProperties, the kinds' statistics and
// the OpenResult of a device that cannot be used.
#include <gtest/gtest.h>

#include <filesystem>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::com::DrainPostedCalls;

namespace {

constexpr LONG kStatusUpdate = 1; // the keylock's first event slot
constexpr LONG kElectronic = 0;

std::u16string Bytes(std::initializer_list<int> values) {
    std::u16string bytes;
    for (int value : values)
        bytes += static_cast<char16_t>(value);
    return bytes;
}

std::u16string Statistics(IDispatch* device, std::u16string_view request, LONG& code) {
    zorv::com::Bstr buffer(request);
    code = Call(device, u"RetrieveStatistics", {Arg::Ref(buffer)});
    return buffer.Str();
}

// The value the document gives a statistic, or -1 when it is not there.
long long ValueOf(const std::u16string& xml, std::u16string_view name) {
    const auto at = xml.find(u"<Name>" + std::u16string(name) + u"</Name>");
    if (at == std::u16string::npos)
        return -1;
    const auto value = xml.find(u"<Value>", at) + 7;
    return std::stoll(zorv::com::Utf16ToUtf8(xml.substr(value, xml.find(u'<', value) - value)));
}

void ForgetStatistics(const char* device) {
    std::filesystem::remove(std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.statistics" /
                            (std::string(device) + ".xml"));
}

class KeylockKeyboard : public ::testing::Test {
protected:
    void TearDown() override { DrainPostedCalls(); }
};

} // namespace

TEST_F(KeylockKeyboard, AKeylockIsSharedAndNeverClaimed) {
    auto keylock = Create(u"OPOS.Keylock");
    ASSERT_EQ(Call(keylock.Get(), u"Open", {u"SimKeylock"}), 0);
    EXPECT_EQ(Call(keylock.Get(), u"Claim", {LONG{1000}}), 106);
    EXPECT_EQ(Call(keylock.Get(), u"ClaimDevice", {LONG{0}}), 106);
    EXPECT_FALSE(Bool(keylock.Get(), u"Claimed"));
    EXPECT_EQ(Call(keylock.Get(), u"Release"), 106);
    EXPECT_EQ(Put(keylock.Get(), u"DeviceEnabled", true), 0) << "enabled without a claim";
    EXPECT_EQ(Long(keylock.Get(), u"CapKeylockType"), 1);
    EXPECT_EQ(Long(keylock.Get(), u"KeylockType"), 1);
    EXPECT_EQ(Text(keylock.Get(), u"ElectronicKeyValue"), u"");
}

TEST_F(KeylockKeyboard, AnElectronicKeyIsReportedAsItsValue) {
    auto keylock = Create(u"OPOS.Keylock");
    auto sink = AdviseSink(keylock.Get());
    OpenReady(keylock.Get(), u"SimElectronicKeylock", false);
    EXPECT_EQ(Long(keylock.Get(), u"CapKeylockType"), 2);
    EXPECT_EQ(Long(keylock.Get(), u"KeylockType"), 2);
    EXPECT_EQ(Long(keylock.Get(), u"PositionCount"), 0);
    EXPECT_EQ(Long(keylock.Get(), u"KeyPosition"), 0);

    const DirectIOResult inserted = DirectIO(keylock.Get(), kInput, 0, u"0000015227af");
    ASSERT_EQ(inserted.code, 0);
    EXPECT_EQ(inserted.data, 1) << "one object told";
    EXPECT_EQ(Text(keylock.Get(), u"ElectronicKeyValue"), Bytes({0x00, 0x00, 0x01, 0x52, 0x27, 0xAF}));
    EXPECT_EQ(Long(keylock.Get(), u"KeyPosition"), 0) << "no positions on an electronic keylock";
    EXPECT_EQ(DirectIO(keylock.Get(), kInput, 0, u"0000015227AF").data, 0) << "the same key: no change";
    ASSERT_EQ(DirectIO(keylock.Get(), kInput, 0, u"").code, 0);
    EXPECT_EQ(Text(keylock.Get(), u"ElectronicKeyValue"), u"") << "the key was pulled out";
    DrainPostedCalls();
    ASSERT_EQ(sink->received.size(), 2u);
    for (const ReceivedEvent& event : sink->received) {
        EXPECT_EQ(event.id, kStatusUpdate);
        EXPECT_EQ(event.numbers, (std::vector<LONG>{kElectronic}));
    }

    const std::u16string tooLong(130, u'0');
    for (std::u16string_view bad :
         {std::u16string_view(u"123"), std::u16string_view(u"12XY"), std::u16string_view(tooLong)})
        EXPECT_EQ(DirectIO(keylock.Get(), kInput, 0, bad).code, 106) << zorv::com::Utf16ToUtf8(bad);
}

TEST_F(KeylockKeyboard, AnObjectOpenedLaterFindsTheKeyInTheLock) {
    auto first = Create(u"OPOS.Keylock");
    OpenReady(first.Get(), u"SimElectronicKeylock", false);
    ASSERT_EQ(DirectIO(first.Get(), kInput, 0, u"A1B2").code, 0);
    auto second = Create(u"OPOS.Keylock");
    ASSERT_EQ(Call(second.Get(), u"Open", {u"SimElectronicKeylock"}), 0);
    EXPECT_EQ(Text(second.Get(), u"ElectronicKeyValue"), Bytes({0xA1, 0xB2}));
}

TEST_F(KeylockKeyboard, WaitingOnAnElectronicKeylockWaitsForAnotherKey) {
    auto keylock = Create(u"OPOS.Keylock");
    OpenReady(keylock.Get(), u"SimElectronicKeylock", false);
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{1}, LONG{100}}), 106)
        << "no positions to reach";
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {kElectronic, LONG{50}}), 112);
    ASSERT_EQ(DirectIO(keylock.Get(), kArmWait, 0, u"0102").code, 0);
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {kElectronic, LONG{-1}}), 0);
    EXPECT_EQ(Text(keylock.Get(), u"ElectronicKeyValue"), Bytes({0x01, 0x02}));
    EXPECT_EQ(DirectIO(keylock.Get(), kArmWait, 0, u"zz").code, 106);

    auto standard = Create(u"OPOS.Keylock");
    OpenReady(standard.Get(), u"SimKeylock", false);
    EXPECT_EQ(DirectIO(standard.Get(), kInput, 0, u"0102").code, 106) << "a standard keylock takes positions";
}

TEST_F(KeylockKeyboard, ClearInputPropertiesEmptiesTheDataButKeepsTheQueue) {
    auto keyboard = Create(u"OPOS.POSKeyboard");
    OpenReady(keyboard.Get(), u"SimPOSKeyboard");
    ASSERT_EQ(Put(keyboard.Get(), u"EventTypes", LONG{2}), 0);
    ASSERT_EQ(Put(keyboard.Get(), u"DataEventEnabled", true), 0);
    ASSERT_EQ(DirectIO(keyboard.Get(), kInput, 65, u"up").code, 0);
    ASSERT_EQ(DirectIO(keyboard.Get(), kInput, 66).code, 0);
    DrainPostedCalls();
    ASSERT_EQ(Long(keyboard.Get(), u"POSKeyData"), 65);
    ASSERT_EQ(Long(keyboard.Get(), u"POSKeyEventType"), 2);
    EXPECT_EQ(Long(keyboard.Get(), u"DataCount"), 2) << "66 down and up wait for DataEventEnabled";

    EXPECT_EQ(Call(keyboard.Get(), u"ClearInputProperties"), 0);
    EXPECT_EQ(Long(keyboard.Get(), u"POSKeyData"), 0);
    EXPECT_EQ(Long(keyboard.Get(), u"POSKeyEventType"), 1);
    EXPECT_EQ(Long(keyboard.Get(), u"DataCount"), 2);

    ASSERT_EQ(Call(keyboard.Get(), u"Release"), 0);
    EXPECT_EQ(Call(keyboard.Get(), u"ClearInputProperties"), 103);
    ASSERT_EQ(Call(keyboard.Get(), u"Close"), 0);
    EXPECT_EQ(Call(keyboard.Get(), u"ClearInputProperties"), 101);
}

TEST_F(KeylockKeyboard, ClearInputPropertiesEmptiesEachInputKindAndNothingElse) {
    auto scanner = Create(u"OPOS.Scanner");
    OpenReady(scanner.Get(), u"SimScanner");
    ASSERT_EQ(Put(scanner.Get(), u"DecodeData", true), 0);
    ASSERT_EQ(Put(scanner.Get(), u"DataEventEnabled", true), 0);
    ASSERT_EQ(DirectIO(scanner.Get(), kInput, 0, u"12345670").code, 0);
    DrainPostedCalls();
    ASSERT_NE(Text(scanner.Get(), u"ScanData"), u"");
    EXPECT_EQ(Call(scanner.Get(), u"ClearInputProperties"), 0);
    EXPECT_EQ(Text(scanner.Get(), u"ScanData"), u"");
    EXPECT_EQ(Text(scanner.Get(), u"ScanDataLabel"), u"");
    EXPECT_EQ(Long(scanner.Get(), u"ScanDataType"), 0);

    auto msr = Create(u"OPOS.MSR");
    OpenReady(msr.Get(), u"SimMSR");
    ASSERT_EQ(Put(msr.Get(), u"DataEventEnabled", true), 0);
    ASSERT_EQ(
        DirectIO(msr.Get(), kInput, 0, u"B4111111111111111^DUPONT/JEAN^2912101|4111111111111111=2912101")
            .code,
        0);
    DrainPostedCalls();
    ASSERT_NE(Text(msr.Get(), u"AccountNumber"), u"");
    EXPECT_EQ(Call(msr.Get(), u"ClearInputProperties"), 0);
    for (const char16_t* property : {u"Track1Data", u"Track2Data", u"AccountNumber", u"Surname"})
        EXPECT_EQ(Text(msr.Get(), property), u"") << zorv::com::Utf16ToUtf8(property);

    // Kinds without input data have nothing to clear.
    auto keylock = Create(u"OPOS.Keylock");
    OpenReady(keylock.Get(), u"SimKeylock", false);
    EXPECT_EQ(Call(keylock.Get(), u"ClearInputProperties"), 106);
    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    EXPECT_EQ(Call(printer.Get(), u"ClearInputProperties"), 106);
}

TEST_F(KeylockKeyboard, EachKindKeepsItsOwnStatistics) {
    ForgetStatistics("SimPOSKeyboard");
    ForgetStatistics("SimLineDisplay");
    LONG code = -1;
    auto keyboard = Create(u"OPOS.POSKeyboard");
    OpenReady(keyboard.Get(), u"SimPOSKeyboard");
    ASSERT_EQ(DirectIO(keyboard.Get(), kInput, 10).code, 0);
    ASSERT_EQ(DirectIO(keyboard.Get(), kInput, 11, u"down").code, 0);
    ASSERT_EQ(DirectIO(keyboard.Get(), kInput, 11, u"up").code, 0);
    EXPECT_EQ(ValueOf(Statistics(keyboard.Get(), u"", code), u"KeyPressedCount"), 2) << "key-downs only";
    EXPECT_EQ(code, 0);

    auto display = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"SimLineDisplay");
    const long long before = ValueOf(Statistics(display.Get(), u"", code), u"OnlineTransitionCount");
    ASSERT_GE(before, 0);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"Hello", LONG{0}}), 0);
    EXPECT_EQ(ValueOf(Statistics(display.Get(), u"OnlineTransitionCount", code), u"OnlineTransitionCount"),
              before + 1);
    ASSERT_EQ(Call(display.Get(), u"DisplayText", {u"refused", LONG{99}}), 106);
    EXPECT_EQ(ValueOf(Statistics(display.Get(), u"", code), u"OnlineTransitionCount"), before + 1)
        << "a refused call draws nothing";

    // The keylock counts nothing of its own: the common statistics only.
    auto keylock = Create(u"OPOS.Keylock");
    OpenReady(keylock.Get(), u"SimKeylock", false);
    const std::u16string all = Statistics(keylock.Get(), u"", code);
    EXPECT_GE(ValueOf(all, u"HoursPoweredCount"), 0);
    EXPECT_GE(ValueOf(all, u"CommunicationErrorCount"), 0);
    EXPECT_EQ(all.find(u"KeyPressedCount"), std::u16string::npos);
    Statistics(keylock.Get(), u"KeyPressedCount", code);
    EXPECT_EQ(code, 106);
}

TEST_F(KeylockKeyboard, ADeviceWrittenWrongSaysSoInOpenResult) {
    auto printer = Create(u"OPOS.POSPrinter");
    EXPECT_EQ(Call(printer.Get(), u"Open", {u"tcp:127.0.0.1:notaport"}), 107);
    EXPECT_EQ(Long(printer.Get(), u"OpenResult"), 403);
    EXPECT_EQ(Call(printer.Get(), u"Open", {u"SimPrinter"}), 0);
    EXPECT_EQ(Long(printer.Get(), u"OpenResult"), 0);
}
