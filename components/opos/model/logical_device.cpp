#include "model/logical_device.h"

#include <algorithm>

#include "model/device.h"
#include "model/library_folder.h"
#include "platform/com/text.h"

namespace zorv::opos {
namespace {

constexpr Prop kPrinterSensors[] = {Prop::CoverOpen,  Prop::JrnEmpty, Prop::JrnNearEnd, Prop::RecEmpty,
                                    Prop::RecNearEnd, Prop::SlpEmpty, Prop::SlpNearEnd};
constexpr Prop kKeylockSensors[] = {Prop::KeyPosition, Prop::ElectronicKeyValue};
constexpr Prop kDrawerSensors[] = {Prop::DrawerOpened};

std::u16string Folded(std::u16string_view name) {
    std::u16string key(name);
    for (char16_t& c : key)
        c = com::FoldCase(c);
    return key;
}

std::map<std::u16string, std::weak_ptr<LogicalDevice>>& Open() {
    static std::map<std::u16string, std::weak_ptr<LogicalDevice>> devices;
    return devices;
}

// Beside the component, one file per logical device.
std::filesystem::path StatisticsFile(std::u16string_view name) {
    const std::filesystem::path folder = LibraryFolder();
    std::string file;
    for (char c : com::Utf16ToUtf8(name))
        file += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ? c : '_';
    return folder / "zorv_opos.statistics" / (file + ".xml");
}

StatisticsIdentity Identity(const Profile& profile, const Backend& backend) {
    const std::u16string category(InfoOf(profile.kind).displayName);
    return {category, u"ZORV " + category, profile.name, backend.FirmwareRevision(), backend.Interface()};
}

} // namespace

std::span<const Prop> SensorProps(Kind kind) {
    switch (kind) {
    case Kind::Printer:
        return kPrinterSensors;
    case Kind::Keylock:
        return kKeylockSensors;
    case Kind::CashDrawer:
        return kDrawerSensors;
    default:
        return {};
    }
}

Value InitialValue(const Profile& profile, Prop prop) {
    for (auto it = profile.overrides.rbegin(); it != profile.overrides.rend(); ++it)
        if (it->first == prop)
            return it->second;
    const PropertyRow* row = FindRow(InfoOf(profile.kind), prop);
    return row ? row->initial.Make() : Value(LONG{0});
}

std::shared_ptr<LogicalDevice> LogicalDevice::Attach(const Profile& profile, Device& device,
                                                     HealthReport& refused) {
    const std::u16string key = Folded(profile.name);
    std::shared_ptr<LogicalDevice> shared = Open()[key].lock();
    if (!shared) {
        shared = std::make_shared<LogicalDevice>(profile, MakeBackend(profile));
        shared->backend_->Start(*shared);
        refused = shared->backend_->OpenRefusal();
        if (refused.code != OPOS_SUCCESS) {
            shared->refused_ = true;
            Open().erase(key);
            return nullptr;
        }
        Open()[key] = shared;
    }
    shared->devices_.push_back(&device);
    return shared;
}

LogicalDevice::LogicalDevice(const Profile& profile, std::unique_ptr<Backend> backend)
    : kind_(profile.kind), backend_(std::move(backend)),
      statistics_(profile.kind, StatisticsFile(profile.name), Identity(profile, *backend_)),
      power_(profile.power) {
    for (Prop prop : SensorProps(kind_))
        sensors_[prop] = InitialValue(profile, prop);
    statistics_.Load();
}

LogicalDevice::~LogicalDevice() {
    if (!refused_)
        statistics_.Save();
}

void LogicalDevice::Detach(Device& device) {
    std::erase(devices_, &device);
    std::erase_if(tickets_, [&](const auto& entry) { return entry.second == &device; });
    if (firmwareOwner_ == &device)
        firmwareOwner_ = nullptr;
    // Names compare folded, and the slot goes with the last object.
    if (devices_.empty())
        std::erase_if(Open(), [](const auto& entry) { return entry.second.expired(); });
}

std::uint64_t LogicalDevice::NewTicket(Device& owner) {
    tickets_[++lastTicket_] = &owner;
    return lastTicket_;
}

// The back end may complete the output inside Send: a screen is marked first.
void LogicalDevice::Send(std::uint64_t ticket, const Output& output) {
    if (output.what == Output::What::Screen)
        screenTickets_.insert(ticket);
    backend_->Send(ticket, output);
}

LONG LogicalDevice::UpdateFirmware(Device& owner, std::u16string_view file) {
    firmwareOwner_ = &owner;
    return backend_->UpdateFirmware(file);
}

// Each enabled object gets its own copy; the last one takes the original.
int LogicalDevice::InputArrived(Input input) {
    Count(input);
    int told = 0;
    Device* last = nullptr;
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        if (!devices_[i]->IsEnabled())
            continue;
        if (last != nullptr)
            told += last->TakeInput(Input(input)) ? 1 : 0;
        last = devices_[i];
    }
    if (last != nullptr)
        told += last->TakeInput(std::move(input)) ? 1 : 0;
    return told;
}

// By index: an object that closes meanwhile leaves the list shorter, never
// invalid.
int LogicalDevice::ForEach(const std::function<bool(Device&)>& tell) {
    int told = 0;
    for (std::size_t i = 0; i < devices_.size(); ++i)
        told += tell(*devices_[i]) ? 1 : 0;
    return told;
}

void LogicalDevice::Count(const Input& input) {
    switch (kind_) {
    case Kind::Scanner:
        return statistics_.Add(u"GoodScanCount");
    case Kind::MSR:
        return statistics_.Add(input.detail == 0 ? u"GoodCardReadCount" : u"FailedCardReadCount");
    case Kind::POSKeyboard:
        if (input.detail == KBD_KET_KEYDOWN)
            statistics_.Add(u"KeyPressedCount");
        return;
    default:
        return;
    }
}

int LogicalDevice::InputFailed(LONG code, LONG extended, std::u16string retry, std::optional<Input> partial) {
    if (kind_ == Kind::Scanner || kind_ == Kind::MSR)
        statistics_.Add(kind_ == Kind::Scanner ? u"NoReadCount" : u"UnreadableCardCount");
    return ForEach([&](Device& device) { return device.TakeInputError(code, extended, retry, partial); });
}

int LogicalDevice::SensorChanged(Prop prop, Value value, std::optional<LONG> status) {
    if (prop == Prop::CoverOpen && std::get<bool>(value))
        statistics_.Add(u"ReceiptCoverOpenCount");
    sensors_[prop] = value;
    return ForEach([&](Device& device) { return device.SensorChanged(prop, value, status); });
}

int LogicalDevice::PowerChanged(LONG state) {
    if (state != OPOS_PS_ONLINE && power_ == OPOS_PS_ONLINE)
        statistics_.Add(u"CommunicationErrorCount");
    power_ = state;
    return ForEach([&](Device& device) { return device.PowerChanged(state); });
}

void LogicalDevice::OutputDone(std::uint64_t ticket, LONG code, LONG extended) {
    if (screenTickets_.erase(ticket) != 0 && code == OPOS_SUCCESS)
        statistics_.Add(u"OnlineTransitionCount");
    const auto found = tickets_.find(ticket);
    if (found == tickets_.end())
        return;
    Device* owner = found->second;
    tickets_.erase(found);
    owner->OutputDone(ticket, code, extended);
}

void LogicalDevice::FirmwareStatus(LONG status) {
    if (firmwareOwner_ != nullptr)
        firmwareOwner_->FirmwareStatus(status);
}

} // namespace zorv::opos
