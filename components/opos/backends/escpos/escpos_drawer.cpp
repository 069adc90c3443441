#include "backends/escpos/escpos_drawer.h"

#include "backends/escpos/escpos_codes.h"
#include "platform/com/text.h"

namespace zorv::opos::escpos_device {
namespace {

constexpr escpos::StatusQuery kDrawerQueries[] = {escpos::StatusQuery::Printer};

std::u16string Wide(const std::string& text) {
    return com::Utf8ToUtf16(text);
}

// The printer's settings with the drawer's own keys on top. The printer is
// a profile's name, or a connection written in its place. With them, why
// that printer cannot be used, if it cannot.
std::pair<Settings, std::string> DrawerSettings(const Profile& drawer) {
    std::string problem;
    const Settings own = ReadSettings(drawer.settings);
    const std::string& name = own.connection.printer;
    std::vector<std::pair<std::string, std::string>> entries;
    if (transport::LooksLikeConnection(name)) {
        problem = DeviceSettingProblem(Kind::Printer, "connection", name);
        entries.emplace_back("connection", name);
    } else if (const auto printer = FindProfile(Kind::Printer, com::Utf8ToUtf16(name))) {
        if (!printer->problem.empty())
            problem = printer->problem;
        else if (printer->connection.empty())
            problem = "printer " + name + " is simulated and has no kick port";
        entries = printer->settings;
    } else {
        problem = "no printer named " + name;
    }
    for (const auto& entry : drawer.settings)
        if (entry.first != "connection")
            entries.push_back(entry);
    return {ReadSettings(entries), problem};
}

} // namespace

EscPosDrawer::EscPosDrawer(const Profile& profile) : EscPosDrawer(DrawerSettings(profile)) {}

EscPosDrawer::EscPosDrawer(std::pair<Settings, std::string> settings)
    : PortBackend(std::move(settings.first), std::move(settings.second)) {}

HealthReport EscPosDrawer::Prepare() {
    return SetUp(settings_.statusBack ? escpos::AutomaticStatusBack(escpos::kAsbAll) : std::string(),
                 kDrawerQueries, OPOS_E_OFFLINE);
}

bool EscPosDrawer::Query() {
    return ReadStatus(kDrawerQueries);
}

void EscPosDrawer::StatusChanged(const escpos::PrinterStatus& status) {
    if (!status.drawerPinHigh)
        return;
    const bool open = *status.drawerPinHigh == settings_.drawerOpenHigh;
    if (shown_ == open)
        return;
    shown_ = open;
    events_->SensorChanged(Prop::DrawerOpened, open, open ? CASH_SUE_DRAWEROPEN : CASH_SUE_DRAWERCLOSED);
}

// The kick is sent, then the sensor read so that DrawerOpened follows at
// once. A printer that is there but does not answer is offline (108),
// before the kick or after it; one whose link is down is not there (107).
void EscPosDrawer::Send(std::uint64_t ticket, const Output& output) {
    events_->OutputDone(ticket, output.what == Output::What::OpenDrawer ? Kick() : OPOS_SUCCESS, 0);
}

LONG EscPosDrawer::Kick() {
    if (!Reachable())
        return OPOS_E_NOHARDWARE;
    if (!port_->Answering())
        return OPOS_E_OFFLINE;
    const transport::LinkStatus sent = port_->Write(
        escpos::DrawerKick(settings_.drawerPin, settings_.drawerPulseMs, settings_.drawerPulseMs * 2));
    if (!sent.ok())
        return LinkFailureCode(sent.failure);
    if (Query())
        return OPOS_SUCCESS;
    return Reachable() ? OPOS_E_OFFLINE : OPOS_E_NOHARDWARE;
}

// Without automatic status back the sensor is only known when asked.
void EscPosDrawer::WaitStarted() {
    if (Reachable() && port_->Polling())
        Query();
}

HealthReport EscPosDrawer::CheckHealth(LONG) {
    if (!Reachable())
        return {OPOS_E_FAILURE, u"Internal HCheck: Failed, printer not connected"};
    if (!Query())
        return {OPOS_E_FAILURE, u"Internal HCheck: Failed, no status answer"};
    return {OPOS_SUCCESS, u"Internal HCheck: Successful"};
}

std::optional<LONG> EscPosDrawer::DirectIO(LONG command, LONG& data, std::u16string&) {
    if (command != kDirectStatusQuery)
        return std::nullopt;
    if (!Reachable())
        return OPOS_E_NOHARDWARE;
    const auto answer = port_->Query(escpos::StatusQuery::Printer, settings_.timeoutMs);
    if (!answer)
        return OPOS_E_TIMEOUT;
    data = *answer;
    return OPOS_SUCCESS;
}

std::u16string EscPosDrawer::Interface() const {
    return u"ESC/POS kick port " + Wide(settings_.connectionText);
}

} // namespace zorv::opos::escpos_device
