// A POS keyboard and its keylock on an input node: presses and releases
// become POSKeyData and POSKeyEventType as EventTypes asks, a key map gives
// the vendor's numbers, the keylock's configured codes turn the key, and
// WaitForKeylockChange is ended by the key turning.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <fstream>

#include "platform/com/apartment.h"
#include "real_device_support.h"

using namespace opos_test;

namespace {

constexpr DISPID kKeyboardData = 1, kKeylockStatus = 1;
constexpr LONG kDown = 1, kUp = 2;

class InputKeys : public ::testing::Test {
protected:
    void TearDown() override {
        for (auto* device : {&keyboard, &keylock})
            if (*device)
                Call(device->Get(), u"Close");
        zorv::com::DrainPostedCalls();
        std::filesystem::remove(mapPath);
    }
    void OpenKeyboard(const std::string& settings) {
        profiles.Write("[TestKeyboard]\nkind = POSKeyboard\nconnection = input:" + node.Path() + "\n" +
                       settings);
        keyboard = Create(u"OPOS.POSKeyboard");
        keyboardSink = AdviseSink(keyboard.Get());
        ASSERT_EQ(Call(keyboard.Get(), u"Open", {u"TestKeyboard"}), 0);
        ASSERT_EQ(Call(keyboard.Get(), u"ClaimDevice", {LONG{1000}}), 0);
        ASSERT_EQ(Put(keyboard.Get(), u"DeviceEnabled", true), 0);
        ASSERT_EQ(Put(keyboard.Get(), u"DataEventEnabled", true), 0);
    }
    // Takes the next key and re-arms.
    std::pair<LONG, LONG> NextKey(std::size_t nth) {
        if (!WaitForEvents(*keyboardSink, kKeyboardData, nth))
            return {-1, -1};
        const std::pair<LONG, LONG> key{Long(keyboard.Get(), u"POSKeyData"),
                                        Long(keyboard.Get(), u"POSKeyEventType")};
        Put(keyboard.Get(), u"DataEventEnabled", true);
        return key;
    }

    ProfileFileOwner profiles;
    StandInNode node;
    std::filesystem::path mapPath = std::filesystem::temp_directory_path() / "zorv-test-key-map.txt";
    ComPtr<IDispatch> keyboard, keylock;
    ComPtr<Sink> keyboardSink, keylockSink;
};

} // namespace

TEST_F(InputKeys, PressesAndReleasesFollowEventTypes) {
    OpenKeyboard("");
    node.Key(KEY_A, 1);
    node.Key(KEY_A, 2); // autorepeat is no new press
    node.Key(KEY_A, 0);
    node.Key(KEY_B, 1);
    EXPECT_EQ(NextKey(1), std::make_pair(LONG{KEY_A}, kDown));
    EXPECT_EQ(NextKey(2), std::make_pair(LONG{KEY_B}, kDown)) << "releases only when asked for";

    ASSERT_EQ(Put(keyboard.Get(), u"DeviceEnabled", false), 0);
    ASSERT_EQ(Put(keyboard.Get(), u"EventTypes", LONG{2}), 0);
    ASSERT_EQ(Put(keyboard.Get(), u"DeviceEnabled", true), 0);
    node.Key(KEY_C, 1);
    node.Key(KEY_C, 0);
    EXPECT_EQ(NextKey(3), std::make_pair(LONG{KEY_C}, kDown));
    EXPECT_EQ(NextKey(4), std::make_pair(LONG{KEY_C}, kUp));
}

TEST_F(InputKeys, AKeyMapGivesTheVendorsNumbersAndPassesOverOtherKeys) {
    std::ofstream(mapPath) << "# till keys\n30 = 101\n0x30 = 0x66\n";
    OpenKeyboard("key_map = " + mapPath.string() + "\n");
    node.Key(KEY_Q, 1); // not in the map
    node.Key(KEY_A, 1);
    node.Key(KEY_B, 1);
    EXPECT_EQ(NextKey(1), std::make_pair(LONG{101}, kDown));
    EXPECT_EQ(NextKey(2), std::make_pair(LONG{0x66}, kDown));
    PumpFor(100);
    EXPECT_EQ(CountEvents(*keyboardSink, kKeyboardData), 2u);
}

TEST_F(InputKeys, AKeyMapWithMistakesOrAKeylockWithoutPositionsIsRefusedAtOpen) {
    std::ofstream(mapPath) << "30 = 101\nnonsense\n";
    profiles.Write("[TestKeyboard]\nkind = POSKeyboard\nconnection = input:" + node.Path() +
                   "\nkey_map = " + mapPath.string() + "\n");
    keyboard = Create(u"OPOS.POSKeyboard");
    EXPECT_EQ(Call(keyboard.Get(), u"Open", {u"TestKeyboard"}), 107);
    EXPECT_NE(Text(keyboard.Get(), u"CheckHealthText").find(u"ligne 2"), std::u16string::npos);

    profiles.Write("[TestKeylock]\nkind = Keylock\nconnection = input:" + node.Path() + "\n");
    keylock = Create(u"OPOS.Keylock");
    EXPECT_EQ(Call(keylock.Get(), u"Open", {u"TestKeylock"}), 107) << "a keylock without its positions";
    EXPECT_NE(Text(keylock.Get(), u"CheckHealthText").find(u"positions"), std::u16string::npos);
    Call(keylock.Get(), u"Close");
}

// Each kind is reached only the ways its devices are; a printer never reads an input node.
TEST(InputConnections, AConnectionAKindCannotUseIsRefusedAtOpen) {
    ProfileFileOwner profiles;
    profiles.Write(
        "[TestSerialKeyboard]\nkind = POSKeyboard\nconnection = serial:/dev/ttyS0\n"
        "[TestHidCardReader]\nkind = MSR\nconnection = hidraw:/dev/hidraw0\n"
        "[TestInputPrinter]\nkind = POSPrinter\nconnection = input:/dev/input/event0\n"
        "[TestLayoutKeylock]\nkind = Keylock\nconnection = input:/dev/input/event0\n"
        "positions = 1:1\nlayout = fr\n"
        "[TestBadLayout]\nkind = Scanner\nconnection = input:/dev/input/event0\nlayout = dvorak\n");
    const std::pair<const char16_t*, const char16_t*> devices[] = {
        {u"OPOS.POSKeyboard", u"TestSerialKeyboard"}, {u"OPOS.MSR", u"TestHidCardReader"},
        {u"OPOS.POSPrinter", u"TestInputPrinter"},    {u"OPOS.Keylock", u"TestLayoutKeylock"},
        {u"OPOS.Scanner", u"TestBadLayout"},
    };
    for (std::size_t i = 0; i < std::size(devices); ++i) {
        auto device = Create(devices[i].first);
        EXPECT_EQ(Call(device.Get(), u"Open", {devices[i].second}), 107) << "case " << i;
    }
    zorv::com::DrainPostedCalls();
}

TEST_F(InputKeys, TheKeylocksCodesTurnTheKeyAndEndAWait) {
    profiles.Write("[TestKeylock]\nkind = Keylock\nconnection = input:" + node.Path() +
                   "\npositions = 183:1, 184:2, 185:3, 186:4\n");
    keylock = Create(u"OPOS.Keylock");
    keylockSink = AdviseSink(keylock.Get());
    ASSERT_EQ(Call(keylock.Get(), u"Open", {u"TestKeylock"}), 0);
    ASSERT_EQ(Put(keylock.Get(), u"DeviceEnabled", true), 0);
    EXPECT_EQ(Long(keylock.Get(), u"PositionCount"), 4);

    // The key reported where it starts (normal) is no change; the turn to lock is.
    node.Key(KEY_F14, 1);
    node.Key(KEY_F13, 1);
    ASSERT_TRUE(WaitForEvents(*keylockSink, kKeylockStatus, 1));
    EXPECT_EQ(Long(keylock.Get(), u"KeyPosition"), 1);
    ASSERT_EQ(keylockSink->received.size(), 1u);
    EXPECT_EQ(keylockSink->received.back().numbers.at(0), 1);

    // Keys that are not the keylock's change nothing; the supervisor key ends the wait.
    node.Key(KEY_A, 1);
    node.Key(KEY_F15, 1);
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{3}, LONG{2000}}), 0);
    EXPECT_EQ(Long(keylock.Get(), u"KeyPosition"), 3);
    EXPECT_EQ(Call(keylock.Get(), u"WaitForKeylockChange", {LONG{4}, LONG{100}}), 112);
}
