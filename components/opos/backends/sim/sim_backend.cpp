#include "backends/sim/sim_backend.h"

#include <fstream>
#include <sstream>

#include "model/logical_device.h"
#include "model/opos_codes.h"
#include "platform/com/apartment.h"
#include "platform/com/text.h"
#include "backends/device_backends.h"
#include "model/simulation_commands.h"

namespace zorv::opos {
namespace {

constexpr std::u16string_view kLevelNames[] = {u"Internal", u"External", u"Interactive"};
constexpr std::uintmax_t kLargestFirmwareFile = 1 << 20;

// A simulated firmware file is text whose first line reads
// "ZORV firmware MAJOR.MINOR.BUILD".
std::optional<std::u16string> FirmwareFileRevision(std::u16string_view file, bool& exists) {
    const std::filesystem::path path(com::Utf16ToUtf8(file));
    std::error_code error;
    exists = !file.empty() && std::filesystem::is_regular_file(path, error) &&
             std::filesystem::file_size(path, error) <= kLargestFirmwareFile;
    if (!exists)
        return std::nullopt;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    constexpr std::string_view kMark = "ZORV firmware ";
    if (line.rfind(kMark, 0) != 0)
        return std::nullopt;
    std::string revision = line.substr(kMark.size());
    while (!revision.empty() && (revision.back() == '\r' || revision.back() == ' '))
        revision.pop_back();
    return com::Utf8ToUtf16(revision);
}

std::vector<long> RevisionParts(std::u16string_view revision) {
    std::vector<long> parts;
    long part = 0;
    for (char16_t c : revision) {
        if (c == u'.') {
            parts.push_back(part);
            part = 0;
        } else if (c >= u'0' && c <= u'9' && part < 1000000) {
            part = part * 10 + (c - u'0');
        }
    }
    parts.push_back(part);
    return parts;
}

} // namespace

SimBackend::SimBackend(const Profile& profile)
    : profile_(profile), self_(std::make_shared<SimBackend*>(this)), power_(profile.power),
      coverOpen_(Has(Prop::CoverOpen)), keyPosition_(Number(Prop::KeyPosition)),
      drawerOpen_(Has(Prop::DrawerOpened)) {
    if (const Value key = Initial(Prop::ElectronicKeyValue); std::holds_alternative<std::u16string>(key))
        electronicKey_ = std::get<std::u16string>(key);
    const Prop empties[] = {Prop::JrnEmpty, Prop::RecEmpty, Prop::SlpEmpty};
    for (std::size_t i = 0; i < paperEmpty_.size(); ++i)
        paperEmpty_[i] = Has(empties[i]);
}

// Runs `call` from the apartment's queue, unless this back end is gone by then.
void SimBackend::Later(std::function<void(SimBackend&)> call) {
    std::weak_ptr<SimBackend*> alive = self_;
    com::PostCall([alive, call = std::move(call)] {
        if (const auto self = alive.lock())
            call(**self);
    });
}

std::optional<LONG> SimBackend::DirectIO(LONG command, LONG& data, std::u16string& text) {
    switch (command) {
    case kSimInput:
        return Inject(data, text);
    case kSimError:
        return InjectError(data, text);
    case kSimPower:
        return SetPower(data);
    case kSimReadBack:
    case kSimReadBackRendered:
        return ReadBack(data, text, command == kSimReadBackRendered);
    case kSimSensor:
        return profile_.kind == Kind::Printer ? std::optional<LONG>(Sense(data, text)) : std::nullopt;
    case kSimArmWait:
        return Arm(data, text);
    case kSimSlipForm:
        return profile_.kind == Kind::Printer ? std::optional<LONG>(SlipForm(data, text)) : std::nullopt;
    default:
        return std::nullopt;
    }
}

LONG SimBackend::SetPower(LONG state) {
    if (state < OPOS_PS_ONLINE || state > OPOS_PS_OFF_OFFLINE)
        return OPOS_E_ILLEGAL;
    power_ = state == OPOS_PS_OFF_OFFLINE ? OPOS_PS_OFFLINE : state;
    events_->PowerChanged(power_);
    return OPOS_SUCCESS;
}

// Internal asks the device itself; external and interactive also make it
// do something visible (a printer prints a test line). Nobody sits at a
// simulated device, so the interactive check runs the external one.
HealthReport SimBackend::CheckHealth(LONG level) {
    const std::u16string name(kLevelNames[level - 1]);
    if (power_ != OPOS_PS_ONLINE)
        return {OPOS_E_FAILURE, name + u" HCheck: Failed, device offline"};
    if (level != OPOS_CH_INTERNAL && profile_.kind == Kind::Printer && Has(Prop::CapRecPresent))
        paper_[1] += u"ZORV health check: " + name + u"\n";
    return {OPOS_SUCCESS, name + u" HCheck: Successful"};
}

LONG SimBackend::CompareFirmware(std::u16string_view file, LONG& result) {
    bool exists = false;
    const auto revision = FirmwareFileRevision(file, exists);
    if (!exists)
        return OPOS_E_NOEXIST;
    if (!revision) {
        result = OPOS_CFV_FIRMWARE_UNKNOWN;
        return OPOS_SUCCESS;
    }
    const auto theirs = RevisionParts(*revision);
    const auto ours = RevisionParts(firmware_);
    result = theirs < ours    ? OPOS_CFV_FIRMWARE_OLDER
             : theirs == ours ? OPOS_CFV_FIRMWARE_SAME
                              : OPOS_CFV_FIRMWARE_NEWER;
    return OPOS_SUCCESS;
}

// The update reports its progress from the apartment's queue, a quarter
// at a time, so that the application sees it happen after the call.
LONG SimBackend::UpdateFirmware(std::u16string_view file) {
    bool exists = false;
    const auto revision = FirmwareFileRevision(file, exists);
    if (!exists)
        return OPOS_E_NOEXIST;
    if (!revision)
        return OPOS_E_ILLEGAL;
    Later([revision = *revision](SimBackend& self) { self.FirmwareStep(revision, 25); });
    return OPOS_SUCCESS;
}

void SimBackend::FirmwareStep(std::u16string revision, LONG percent) {
    if (percent >= 100) {
        firmware_ = std::move(revision);
        events_->FirmwareStatus(OPOS_SUE_UF_COMPLETE);
        return;
    }
    events_->FirmwareStatus(OPOS_SUE_UF_PROGRESS + percent);
    Later([revision = std::move(revision), percent](SimBackend& self) {
        self.FirmwareStep(revision, percent + 25);
    });
}

// A turn or a close armed for the wait happens while it waits, as a hand
// on the device would.
void SimBackend::WaitStarted() {
    if (armedPosition_ != 0)
        Later([position = std::exchange(armedPosition_, 0)](SimBackend& self) { self.TurnKey(position); });
    if (armedKey_)
        Later([key = *std::exchange(armedKey_, std::nullopt)](SimBackend& self) { self.ChangeKey(key); });
    if (closeArmed_) {
        closeArmed_ = false;
        Later([](SimBackend& self) { self.ShutDrawer(); });
    }
    if (armedForm_ != 0)
        Later([in = std::exchange(armedForm_, 0) > 0](SimBackend& self) { self.MoveForm(in); });
}

void SimBackend::RetryInput(const std::u16string& text) {
    LONG data = 0;
    std::u16string copy = text;
    Inject(data, copy);
}

bool SimBackend::Has(Prop capability) const {
    const Value value = Initial(capability);
    return std::holds_alternative<bool>(value) && std::get<bool>(value);
}

LONG SimBackend::Number(Prop prop) const {
    const Value value = Initial(prop);
    return std::holds_alternative<LONG>(value) ? std::get<LONG>(value) : 0;
}

Value SimBackend::Initial(Prop prop) const {
    return InitialValue(profile_, prop);
}

} // namespace zorv::opos
