#include "escpos_device/escpos_drawer.h"

#include "escpos_device/escpos_codes.h"
#include "platform/com/text.h"

namespace zorv::opos::escpos_device {
namespace {

constexpr int kStatusWaitMs = 1000;

std::u16string Wide(const std::string& text) {
    return com::Utf8ToUtf16(text);
}

// The printer's settings with the drawer's own keys on top. The printer is
// a profile's name, or a connection written in its place.
Settings DrawerSettings(const Profile& drawer, std::string& problem) {
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
    return ReadSettings(entries);
}

} // namespace

EscPosDrawer::EscPosDrawer(const Profile& profile) : settings_(DrawerSettings(profile, problem_)) {}

EscPosDrawer::~EscPosDrawer() {
    if (port_) {
        port_->Forget(this);
        if (connected_)
            port_->Disconnect();
    }
}

void EscPosDrawer::Start(BackendEvents& events) {
    events_ = &events;
    if (!problem_.empty())
        return;
    port_ = PrinterPort::Get(settings_);
    port_->Listen(this);
}

HealthReport EscPosDrawer::Connect() {
    if (!port_)
        return {OPOS_E_NOHARDWARE, Wide(problem_)};
    if (connected_)
        return {};
    const transport::LinkStatus status = port_->Connect();
    if (!status.ok())
        return {LinkFailureCode(status.failure), Wide(status.text)};
    connected_ = true;
    events_->PowerChanged(OPOS_PS_ONLINE);
    return {};
}

void EscPosDrawer::Disconnect() {
    if (!connected_)
        return;
    connected_ = false;
    port_->Disconnect();
}

HealthReport EscPosDrawer::Prepare() {
    if (!port_ || !port_->Up())
        return {OPOS_E_NOHARDWARE, Wide(settings_.connectionText) + u": not connected"};
    if (settings_.statusBack)
        port_->Write(escpos::AutomaticStatusBack(escpos::kAsbAll));
    if (!Query())
        return {OPOS_E_OFFLINE,
                Wide(settings_.connectionText) + u": the printer does not answer status queries"};
    return {};
}

bool EscPosDrawer::Query() {
    return port_->Query(escpos::StatusQuery::Printer, std::min(settings_.timeoutMs, kStatusWaitMs))
        .has_value();
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

void EscPosDrawer::LinkChanged(bool up, bool answering) {
    if (connected_)
        events_->PowerChanged(!up ? OPOS_PS_OFF_OFFLINE : answering ? OPOS_PS_ONLINE : OPOS_PS_OFFLINE);
}

// The kick is sent, then the sensor read so that DrawerOpened follows at once.
void EscPosDrawer::Send(std::uint64_t ticket, const Output& output) {
    LONG code = OPOS_SUCCESS;
    if (output.what == Output::What::OpenDrawer) {
        if (!port_ || !port_->Up())
            code = OPOS_E_NOHARDWARE;
        else if (!port_->Answering())
            code = OPOS_E_OFFLINE;
        else if (const transport::LinkStatus sent = port_->Write(escpos::DrawerKick(
                     settings_.drawerPin, settings_.drawerPulseMs, settings_.drawerPulseMs * 2));
                 !sent.ok())
            code = LinkFailureCode(sent.failure);
        else
            Query();
    }
    events_->OutputDone(ticket, code, 0);
}

// Without automatic status back the sensor is only known when asked.
void EscPosDrawer::WaitStarted() {
    if (port_ && port_->Up() && !settings_.statusBack)
        Query();
}

HealthReport EscPosDrawer::CheckHealth(LONG) {
    if (!port_ || !port_->Up())
        return {OPOS_E_FAILURE, u"Internal HCheck: Failed, printer not connected"};
    if (!Query())
        return {OPOS_E_FAILURE, u"Internal HCheck: Failed, no status answer"};
    return {OPOS_SUCCESS, u"Internal HCheck: Successful"};
}

std::optional<LONG> EscPosDrawer::DirectIO(LONG command, LONG& data, std::u16string&) {
    if (command != kDirectStatusQuery)
        return std::nullopt;
    if (!port_ || !port_->Up())
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
