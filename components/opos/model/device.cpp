#include "model/device.h"

#include "model/claims.h"
#include "platform/com/apartment.h"
#include "platform/com/text.h"
#include "model/simulation_commands.h"

namespace zorv::opos {
namespace {

constexpr std::size_t Index(Prop prop) {
    return static_cast<std::size_t>(prop);
}

bool IsCommonRow(const PropertyRow& row) {
    const std::span<const PropertyRow> common = CommonProperties();
    return &row >= common.data() && &row < common.data() + common.size();
}

} // namespace

void KindBehaviour::Arriving(Device& device, Input input) {
    device.QueueData(std::move(input));
}

Device::Device(const KindInfo& kind, EventTarget& target)
    : kind_(kind), target_(target), behaviour_(kind.rows.makeBehaviour()) {
    ResetProperties();
}

Device::~Device() {
    if (claimed_)
        ReleaseClaim(profile_.name, this);
    Detach();
}

void Device::Detach() {
    if (!logical_)
        return;
    if (IsEnabled())
        logical_->Stats().Powered(false);
    logical_->Detach(*this);
    logical_.reset();
    waitingOutput_.clear();
}

void Device::ResetProperties() {
    for (std::span<const PropertyRow> rows : {CommonProperties(), kind_.rows.properties})
        for (const PropertyRow& row : rows)
            values_[Index(row.prop)] = row.initial.Make();
    const std::u16string kind(kind_.displayName);
    Set(Prop::ControlObjectDescription, u"ZORV simulated OPOS control object for the " + kind);
    Set(Prop::ServiceObjectDescription, u"ZORV simulated service object for the " + kind);
}

Value Device::Get(Prop prop) const {
    switch (prop) {
    case Prop::State:
        return CurrentState();
    case Prop::Claimed:
        return claimed_;
    case Prop::DataCount:
        return queue_.DataCount();
    case Prop::PowerState:
        return ReportedPower();
    default:
        return values_[Index(prop)];
    }
}

void Device::Set(Prop prop, Value value) {
    values_[Index(prop)] = std::move(value);
}

LONG Device::Finish(LONG code, LONG extended) {
    Set(Prop::ResultCode, code);
    Set(Prop::ResultCodeExtended, code == OPOS_E_EXTENDED ? extended : 0);
    return code;
}

LONG Device::CurrentState() const {
    if (!open_)
        return OPOS_S_CLOSED;
    if (inError_)
        return OPOS_S_ERROR;
    return behaviour_->OutputPending() || firmwareBusy_ ? OPOS_S_BUSY : OPOS_S_IDLE;
}

// A standard reporter cannot tell off from offline.
LONG Device::ReportedPower() const {
    if (!IsEnabled() || Long(Prop::PowerNotify) != OPOS_PN_ENABLED)
        return OPOS_PS_UNKNOWN;
    if (Long(Prop::CapPowerReporting) == OPOS_PR_STANDARD && power_ != OPOS_PS_ONLINE)
        return OPOS_PS_OFF_OFFLINE;
    return power_;
}

LONG Device::Refusal(bool needsEnabled) const {
    if (!open_)
        return OPOS_E_CLOSED;
    if (!claimed_ && (profile_.claimedByOther || ClaimedByAnother(profile_.name, this)))
        return OPOS_E_CLAIMED;
    if (kind_.exclusive && !claimed_)
        return OPOS_E_NOTCLAIMED;
    if (needsEnabled && !Bool(Prop::DeviceEnabled))
        return OPOS_E_DISABLED;
    return OPOS_SUCCESS;
}

LONG Device::Open(std::u16string_view name) {
    if (open_) {
        Set(Prop::OpenResult, OPOS_OR_ALREADYOPEN);
        return Finish(OPOS_E_ILLEGAL);
    }
    std::optional<Profile> profile = FindProfile(kind_.kind, name);
    if (!profile) {
        Set(Prop::OpenResult, OPOS_OR_REGBADNAME);
        return Finish(OPOS_E_NOEXIST);
    }
    if (!profile->problem.empty()) {
        // A device written wrong is refused, never quietly simulated.
        ResetProperties();
        Set(Prop::CheckHealthText, com::Utf8ToUtf16(profile->problem));
        Set(Prop::OpenResult, OPOS_ORS_CONFIG);
        Finish(OPOS_E_NOHARDWARE);
        Set(Prop::ResultCodeExtended, profile->problemLine);
        return OPOS_E_NOHARDWARE;
    }
    profile_ = std::move(*profile);
    ResetProperties();
    for (const auto& [prop, value] : profile_.overrides)
        Set(prop, value);
    Set(Prop::DeviceName, profile_.name);
    Set(Prop::DeviceDescription, profile_.description);
    logical_ = LogicalDevice::Attach(profile_, *this);
    for (const auto& [prop, value] : logical_->Sensors())
        Set(prop, value);
    Set(Prop::CheckHealthText, logical_->Stats().Note());
    power_ = logical_->Power();
    lastReportedPower_ = OPOS_PS_UNKNOWN;
    open_ = true;
    inError_ = false;
    firmwareBusy_ = false;
    behaviour_->Opened(*this);
    return Finish(OPOS_SUCCESS);
}

LONG Device::Close() {
    if (!open_)
        return Finish(OPOS_E_CLOSED);
    behaviour_->Closing(*this);
    behaviour_->ClearOutput(*this);
    if (claimed_) {
        ReleaseClaim(profile_.name, this);
        logical_->Hardware().Disconnect();
    }
    claimed_ = false;
    Detach();
    Set(Prop::DeviceEnabled, false);
    queue_.Clear();
    open_ = false;
    inError_ = false;
    return Finish(OPOS_SUCCESS);
}

// No thread can let go of a claim while this one waits, so the outcome of
// the wait is known at once and nothing sleeps: the simulated other
// application lets go after releaseAfterMs, an object of this process never.
LONG Device::Claim(LONG timeout) {
    if (!open_)
        return Finish(OPOS_E_CLOSED);
    if (timeout < OPOS_FOREVER || !behaviour_->Claimable())
        return Finish(OPOS_E_ILLEGAL);
    if (claimed_)
        return Finish(OPOS_SUCCESS);
    const bool otherLetsGo =
        profile_.releaseAfterMs >= 0 && (timeout == OPOS_FOREVER || timeout >= profile_.releaseAfterMs);
    const bool heldElsewhere =
        (profile_.claimedByOther && !otherLetsGo) || ClaimedByAnother(profile_.name, this);
    if (heldElsewhere)
        return Finish(timeout == 0 ? OPOS_E_CLAIMED : OPOS_E_TIMEOUT);
    if (const HealthReport link = logical_->Hardware().Connect(); link.code != OPOS_SUCCESS) {
        Set(Prop::CheckHealthText, link.text);
        return Finish(link.code);
    }
    TryClaim(profile_.name, this);
    claimed_ = true;
    return Finish(OPOS_SUCCESS);
}

// Letting go of a claim one does not hold is a misuse, not a state.
LONG Device::Release() {
    if (!open_)
        return Finish(OPOS_E_CLOSED);
    if (!claimed_)
        return Finish(OPOS_E_ILLEGAL);
    ReleaseClaim(profile_.name, this);
    claimed_ = false;
    if (kind_.exclusive && IsEnabled())
        Enable(false);
    logical_->Hardware().Disconnect();
    return Finish(OPOS_SUCCESS);
}

LONG Device::CheckHealth(LONG level) {
    if (const LONG refused = Refusal())
        return Finish(refused);
    if (level < OPOS_CH_INTERNAL || level > OPOS_CH_INTERACTIVE)
        return Finish(OPOS_E_ILLEGAL);
    HealthReport report = logical_->Hardware().CheckHealth(level);
    if (!logical_->Stats().Note().empty())
        report.text += u" " + logical_->Stats().Note();
    Set(Prop::CheckHealthText, report.text);
    return Finish(report.code);
}

LONG Device::ClearInput() {
    if (const LONG refused = Refusal(false))
        return Finish(refused);
    queue_.ClearInput();
    inError_ = false;
    return Finish(OPOS_SUCCESS);
}

// DataCount and State stay as they are; only the data goes.
LONG Device::ClearInputProperties() {
    if (const LONG refused = Refusal(false))
        return Finish(refused);
    const std::span<const Prop> props = behaviour_->InputProperties();
    if (props.empty())
        return Finish(OPOS_E_ILLEGAL);
    for (Prop prop : props)
        if (const PropertyRow* row = FindRow(kind_, prop))
            Set(prop, row->initial.Make());
    return Finish(OPOS_SUCCESS);
}

LONG Device::ClearOutput() {
    if (const LONG refused = Refusal(false))
        return Finish(refused);
    behaviour_->ClearOutput(*this);
    queue_.Remove(Event::OutputComplete);
    return Finish(OPOS_SUCCESS);
}

LONG Device::DirectIO(LONG command, LONG& data, std::u16string& text) {
    if (!open_)
        return Finish(OPOS_E_CLOSED);
    if (const auto code = logical_->Hardware().DirectIO(command, data, text))
        return Finish(*code);
    return Finish(SimulateCommon(command, data, text));
}

LONG Device::SimulateCommon(LONG command, LONG& data, std::u16string& text) {
    switch (command) {
    case kSimDirectIOEvent:
        Raise(Event::DirectIO, data, data, text);
        return OPOS_SUCCESS;
    case kSimDirectIOReply:
        data = replyData_;
        text = replyText_;
        return OPOS_SUCCESS;
    case kSimProfileNotes: {
        std::vector<std::string> notes;
        CurrentProfiles(notes);
        text.clear();
        for (const std::string& note : notes)
            text += com::Utf8ToUtf16(note) + u"\n";
        data = static_cast<LONG>(notes.size());
        return OPOS_SUCCESS;
    }
    default:
        return OPOS_E_ILLEGAL;
    }
}

LONG Device::Put(const PropertyRow& row, const Value& value) {
    if (!open_)
        return Finish(OPOS_E_CLOSED);
    switch (row.access) {
    case Access::ReadOnly:
        return Finish(OPOS_E_ILLEGAL);
    case Access::Writable:
        break;
    case Access::Ranged:
        if (std::get<LONG>(value) < row.min || std::get<LONG>(value) > row.max)
            return Finish(OPOS_E_ILLEGAL);
        break;
    case Access::Custom:
        return Finish(IsCommonRow(row) ? PutCommon(row.prop, value)
                                       : behaviour_->Put(*this, row.prop, value));
    }
    Set(row.prop, value);
    return Finish(OPOS_SUCCESS);
}

LONG Device::PutCommon(Prop prop, const Value& value) {
    switch (prop) {
    case Prop::DeviceEnabled:
        return Enable(std::get<bool>(value));
    case Prop::PowerNotify:
        return SetPowerNotify(std::get<LONG>(value));
    case Prop::DataEventEnabled:
    case Prop::FreezeEvents:
        Set(prop, value);
        ScheduleDelivery();
        return OPOS_SUCCESS;
    default:
        return OPOS_E_ILLEGAL;
    }
}

// With power notification on, an application may enable a device that is
// off or offline and learn of it from PowerState; without it, it is refused.
LONG Device::Enable(bool on) {
    if (!on) {
        const bool was = IsEnabled();
        if (was) {
            logical_->Stats().Powered(false);
            logical_->Hardware().Disable();
        }
        Set(Prop::DeviceEnabled, false);
        if (was)
            behaviour_->EnabledChanged(*this, false);
        return OPOS_SUCCESS;
    }
    if (const LONG refused = Refusal(false))
        return refused;
    if (!IsEnabled())
        if (const HealthReport ready = logical_->Hardware().Prepare(); ready.code != OPOS_SUCCESS) {
            Set(Prop::CheckHealthText, ready.text);
            if (Long(Prop::PowerNotify) != OPOS_PN_ENABLED)
                return ready.code;
        }
    if (power_ != OPOS_PS_ONLINE && Long(Prop::PowerNotify) != OPOS_PN_ENABLED)
        return power_ == OPOS_PS_OFF ? OPOS_E_NOHARDWARE : OPOS_E_OFFLINE;
    const bool was = IsEnabled();
    if (!was) {
        logical_->Stats().Powered(true);
        logical_->Stats().Add(u"SessionCount");
    }
    Set(Prop::DeviceEnabled, true);
    lastReportedPower_ = ReportedPower();
    if (!was)
        behaviour_->EnabledChanged(*this, true);
    return OPOS_SUCCESS;
}

LONG Device::SetPowerNotify(LONG value) {
    if (IsEnabled() || (value != OPOS_PN_DISABLED && value != OPOS_PN_ENABLED))
        return OPOS_E_ILLEGAL;
    if (value == OPOS_PN_ENABLED && Long(Prop::CapPowerReporting) == OPOS_PR_NONE)
        return OPOS_E_ILLEGAL;
    Set(Prop::PowerNotify, value);
    return OPOS_SUCCESS;
}

bool Device::PowerChanged(LONG state) {
    power_ = state;
    const LONG reported = ReportedPower();
    const bool told = reported != OPOS_PS_UNKNOWN && reported != lastReportedPower_;
    if (told)
        Raise(Event::StatusUpdate, reported);
    lastReportedPower_ = reported;
    return told;
}

bool Device::SensorChanged(Prop prop, const Value& value, std::optional<LONG> status) {
    Set(prop, value);
    if (status && IsEnabled())
        Raise(Event::StatusUpdate, *status);
    behaviour_->SensorChanged(*this, prop);
    return IsEnabled();
}

Outcome Device::SendNow(const Output& output) {
    const std::uint64_t ticket = logical_->NewTicket(*this);
    waitingOutput_[ticket];
    logical_->Send(ticket, output);
    WaitFor([&] { return !logical_ || waitingOutput_[ticket].has_value(); },
            logical_->Hardware().OutputTimeoutMs());
    const auto found = waitingOutput_.find(ticket);
    const Outcome outcome =
        found != waitingOutput_.end() && found->second ? *found->second : Outcome{OPOS_E_TIMEOUT};
    waitingOutput_.erase(ticket);
    return outcome;
}

void Device::OutputDone(std::uint64_t ticket, LONG code, LONG extended) {
    if (const auto waiting = waitingOutput_.find(ticket); waiting != waitingOutput_.end())
        waiting->second = Outcome{code, extended};
    else
        behaviour_->OutputDone(*this, ticket, code, extended);
}

bool Device::WaitFor(const std::function<bool()>& done, LONG timeoutMs) {
    if (done())
        return true;
    if (logical_)
        logical_->Hardware().WaitStarted();
    return com::WaitPumping(done, std::chrono::milliseconds(timeoutMs == OPOS_FOREVER ? -1 : timeoutMs));
}

} // namespace zorv::opos
