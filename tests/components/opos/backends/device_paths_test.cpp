// A connection's path must be the device its scheme names: `input:` an event
// device, `hidraw:` a hidraw node, `serial:` a serial line. Anything else (a
// regular file that would replay, /dev/zero that reads without end, a named
// pipe, a directory) makes Open answer 107 with the reason, rather than a
// device that storms, replays or stays offline for no reason given.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/com/apartment.h"
#include "real_device_support.h"

using namespace opos_test;

namespace {

struct Scheme {
    const char* prefix;
    const char16_t* progId;
    const char* kind;
    bool takesATerminal; // a pseudo-terminal is a serial line
};

constexpr Scheme kSchemes[] = {
    {"input:", u"OPOS.Scanner", "Scanner", false},
    {"input:", u"OPOS.POSKeyboard", "POSKeyboard", false},
    {"hidraw:", u"OPOS.Scanner", "Scanner", false},
    {"serial:", u"OPOS.Scanner", "Scanner", true},
    {"serial:", u"OPOS.LineDisplay", "LineDisplay", true},
    {"serial:", u"OPOS.MSR", "MSR", true},
};

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zorv-paths-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string path() const { return path_.string(); }
    std::string filePath(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace

TEST(DevicePaths, OnlyTheDeviceTheSchemeNamesIsOpened) {
    ScratchFolder dir;
    const std::string file = dir.filePath("scan.rec");
    std::ofstream(file) << "12345670\r";
    const std::string fifo = dir.filePath("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    StandInLine pty;
    const std::vector<std::pair<std::string, bool>> paths{
        {file, false}, {"/dev/zero", false}, {"/dev/null", false},
        {fifo, false}, {dir.path(), false},  {pty.Path(), true},
    };
    ProfileFileOwner profiles;
    for (const Scheme& scheme : kSchemes)
        for (const auto& [path, terminal] : paths) {
            const std::string connection = scheme.prefix + path;
            profiles.Write(std::string("[TestPathDevice]\nkind = ") + scheme.kind +
                           "\nconnection = " + connection + "\n");
            auto device = Create(scheme.progId);
            const LONG code = Call(device.Get(), u"Open", {u"TestPathDevice"});
            const std::u16string health = Text(device.Get(), u"CheckHealthText");
            if (terminal && scheme.takesATerminal) {
                EXPECT_EQ(code, 0) << connection << ": " << zorv::com::Utf16ToUtf8(health);
            } else {
                EXPECT_EQ(code, 107) << connection;
                EXPECT_NE(health.find(zorv::com::Utf8ToUtf16(path)), std::u16string::npos)
                    << connection << ": " << zorv::com::Utf16ToUtf8(health);
            }
            Call(device.Get(), u"Close");
            zorv::com::DrainPostedCalls();
        }
}

// A path that is not there yet is an unplugged device, not a wrong one: it
// opens offline and comes online when the device appears.
TEST(DevicePaths, AMissingPathStillOpensOffline) {
    ProfileFileOwner profiles;
    profiles.Write("[TestPathDevice]\nkind = Scanner\nconnection = input:/dev/input/by-id/not-plugged-in\n");
    auto device = Create(u"OPOS.Scanner");
    EXPECT_EQ(Call(device.Get(), u"Open", {u"TestPathDevice"}), 0);
    Call(device.Get(), u"Close");
    zorv::com::DrainPostedCalls();
}
