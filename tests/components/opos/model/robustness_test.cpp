// Bad arguments give a result code or a dispatch error, never a crash; a
// broken profile file leaves the built-in devices working.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "opos_test_support.h"
#include "platform/com/apartment.h"

using namespace opos_test;
using zorv::outside::EOleError;

TEST(BadArguments, WrongTypesAndCountsAreDispatchErrors) {
    auto scanner = Create(u"OPOS.Scanner");
    EXPECT_THROW(Call(scanner.Get(), u"Open"), EOleError);
    EXPECT_THROW(Call(scanner.Get(), u"Open", {u"SimScanner", LONG{1}}), EOleError);
    EXPECT_EQ(Call(scanner.Get(), u"Open", {LONG{12345}}), 109) << "a number converts to a name";
    ASSERT_EQ(Call(scanner.Get(), u"Open", {u"SimScanner"}), 0);
    EXPECT_THROW(Call(scanner.Get(), u"Claim", {u"soon"}), EOleError);
    EXPECT_THROW(zorv::outside::PutProperty(scanner.Get(), u"DeviceEnabled", u"maybe"), EOleError);
    EXPECT_THROW(zorv::outside::PutProperty(scanner.Get(), u"PowerNotify", Variant(1e12)), EOleError);
    EXPECT_THROW(zorv::outside::GetProperty(scanner.Get(), u"NoSuchProperty"), EOleError);
    EXPECT_THROW(Call(scanner.Get(), u"DirectIO", {LONG{1}}), EOleError);
    EXPECT_EQ(Long(scanner.Get(), u"State"), 2);
}

TEST(BadArguments, HugeEmptyAndNegativeValuesAreRefusedWithCodes) {
    const std::u16string huge(200000, u'7');
    auto scanner = Create(u"OPOS.Scanner");
    EXPECT_EQ(Call(scanner.Get(), u"Open", {huge}), 109);
    OpenReady(scanner.Get(), u"SimScanner");
    EXPECT_EQ(DirectIO(scanner.Get(), kInput, 0, huge).code, 106);
    EXPECT_EQ(DirectIO(scanner.Get(), kInput, -4, u"123").code, 106);
    EXPECT_EQ(DirectIO(scanner.Get(), -1).code, 106);
    EXPECT_EQ(Put(scanner.Get(), u"BinaryConversion", LONG{-1}), 106);

    auto display = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"SimLineDisplay");
    EXPECT_EQ(Call(display.Get(), u"DisplayText", {huge, LONG{0}}), 106);
    EXPECT_EQ(Call(display.Get(), u"DisplayText", {u"", LONG{0}}), 0);
    EXPECT_EQ(Call(display.Get(), u"DisplayTextAt", {LONG{-1}, LONG{0}, u"x", LONG{0}}), 106);

    auto drawer = Create(u"OPOS.CashDrawer");
    OpenReady(drawer.Get(), u"SimCashDrawer", false);
    EXPECT_EQ(Call(drawer.Get(), u"WaitForDrawerClose", {LONG{-9}, LONG{0}, LONG{0}, LONG{0}}), 106);

    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, huge}), 106);
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{-2}, u"x"}), 106);
    EXPECT_EQ(DirectIO(printer.Get(), kReadBack, 99).code, 106);
    zorv::com::DrainPostedCalls();
}

// The profile file sits beside the component; this test owns it for its run.
class ProfileFile : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove(path_); }

    void Write(const std::string& text) {
        std::ofstream file(path_, std::ios::binary);
        file << text;
    }

    std::filesystem::path path_ = std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";
};

TEST_F(ProfileFile, AddsDevicesAndSkipsWhatItCannotUse) {
    Write("# test devices\n"
          "[TestWideDisplay]\n"
          "kind = LineDisplay\n"
          "description = A wide simulated display\n"
          "Columns = 40\n"
          "Rows = 4\n"
          "this line has no equals sign\n"
          "Columns = wide\n"
          "NoSuchProperty = 1\n"
          "[TestNoKind]\n"
          "description = never opened\n"
          "[TestStubbornScanner]\n"
          "kind = Scanner\n"
          "claimedbyother = yes\n"
          "releaseafter = 200\n"
          "[\n");
    auto display = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"TestWideDisplay");
    EXPECT_EQ(Long(display.Get(), u"Columns"), 40);
    EXPECT_EQ(Long(display.Get(), u"Rows"), 4);
    EXPECT_EQ(Long(display.Get(), u"DeviceColumns"), 40) << "window 0 is the whole device";
    EXPECT_EQ(Text(display.Get(), u"DeviceDescription"), u"A wide simulated display");
    const DirectIOResult notes = DirectIO(display.Get(), kProfileNotes);
    EXPECT_EQ(notes.data, 6) << zorv::com::Utf16ToUtf8(notes.text);

    auto scanner = Create(u"OPOS.Scanner");
    ASSERT_EQ(Call(scanner.Get(), u"Open", {u"TestStubbornScanner"}), 0);
    EXPECT_EQ(Call(scanner.Get(), u"Claim", {LONG{100}}), 112);
    EXPECT_EQ(Call(scanner.Get(), u"Claim", {LONG{200}}), 0);

    EXPECT_EQ(Call(Create(u"OPOS.Scanner").Get(), u"Open", {u"TestNoKind"}), 109);
    EXPECT_EQ(Call(Create(u"OPOS.Scanner").Get(), u"Open", {u"SimScanner"}), 0);
}

TEST_F(ProfileFile, GarbageLeavesTheBuiltInDevicesWorking) {
    std::string garbage =
        "[SimPrinter]\nkind = Scanner\nCapRecPresent = perhaps\nRecLineChars = 99999999999999\n"
        "[SimLineDisplay]\nColumns = 2000000000\nRows = -3\n";
    for (int i = 0; i < 256; ++i)
        garbage += static_cast<char>(i);
    Write(garbage);
    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    EXPECT_TRUE(Bool(printer.Get(), u"CapRecPresent"));
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{2}, u"still here"}), 0);

    auto display = Create(u"OPOS.LineDisplay");
    OpenReady(display.Get(), u"SimLineDisplay");
    EXPECT_LE(Long(display.Get(), u"Columns"), 1000) << "an absurd size is kept within reason";
    EXPECT_GE(Long(display.Get(), u"Rows"), 1);
    EXPECT_EQ(Call(display.Get(), u"DisplayText", {u"fits", LONG{0}}), 0);
}

TEST_F(ProfileFile, ChangesABuiltInDevice) {
    Write("[SimPrinter]\nCapSlpPresent = no\n");
    auto printer = Create(u"OPOS.POSPrinter");
    OpenReady(printer.Get(), u"SimPrinter");
    EXPECT_FALSE(Bool(printer.Get(), u"CapSlpPresent"));
    EXPECT_EQ(Call(printer.Get(), u"PrintNormal", {LONG{4}, u"x"}), 106);
}
