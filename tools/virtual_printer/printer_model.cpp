#include "printer_model.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <sstream>

namespace zorv::virtual_printer {
namespace {

using escpos::Command;
using escpos::CommandKind;

const char* const kHelpText =
    "cover open|closed; paper ok|near-end|empty; drawer open|closed; online; offline; "
    "mute on|off; send HEX...; disconnect; status; help";

std::vector<std::string> Words(std::string_view line) {
    std::string lower(line);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    std::istringstream in(lower);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// "1b 40" or "1B40": pairs of hex digits, spaces allowed between pairs.
bool FromHex(const std::vector<std::string>& words, Bytes& out) {
    std::string digits;
    for (size_t i = 1; i < words.size(); ++i)
        digits += words[i];
    if (digits.empty() || digits.size() % 2 != 0 ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return false;
    for (size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return true;
}

// Commands that only ask or switch something and still work while the printer is offline.
bool RealTime(CommandKind kind) {
    return kind == CommandKind::StatusQuery || kind == CommandKind::AutomaticStatusBack ||
           kind == CommandKind::DrawerKick;
}

struct SensorWord {
    const char* sensor;
    const char* value;
    std::function<void(Sensors&)> apply;
};

const std::array<SensorWord, 10> kSensorWords{{
    {"cover", "open", [](Sensors& s) { s.coverOpen = true; }},
    {"cover", "closed", [](Sensors& s) { s.coverOpen = false; }},
    {"paper", "ok", [](Sensors& s) { s.paperNearEnd = s.paperEmpty = false; }},
    {"paper", "near-end", [](Sensors& s) { s.paperNearEnd = true, s.paperEmpty = false; }},
    {"paper", "empty", [](Sensors& s) { s.paperNearEnd = s.paperEmpty = true; }},
    {"drawer", "open", [](Sensors& s) { s.drawerOpen = true; }},
    {"drawer", "closed", [](Sensors& s) { s.drawerOpen = false; }},
    {"mute", "on", [](Sensors& s) { s.mute = true; }},
    {"mute", "off", [](Sensors& s) { s.mute = false; }},
    {"offline", "", [](Sensors& s) { s.forcedOffline = true; }},
}};

} // namespace

const char* const kControlHelp = kHelpText;

void PrinterModel::Connected() {
    decoder_ = escpos::Decoder();
    automaticStatus_ = 0;
}

bool PrinterModel::Offline() const {
    return sensors_.coverOpen || sensors_.paperEmpty || sensors_.forcedOffline;
}

escpos::PrinterStatus PrinterModel::Status() const {
    escpos::PrinterStatus status;
    status.drawerPinHigh = sensors_.drawerOpen;
    status.offline = Offline();
    status.coverOpen = sensors_.coverOpen;
    status.feedButton = false;
    status.paperEndStop = sensors_.paperEmpty;
    status.errorOccurred = false;
    status.waitingRecovery = false;
    status.mechanicalError = false;
    status.cutterError = false;
    status.unrecoverableError = false;
    status.autoRecoverableError = false;
    status.paperNearEnd = sensors_.paperNearEnd || sensors_.paperEmpty;
    status.paperEmpty = sensors_.paperEmpty;
    return status;
}

Bytes PrinterModel::StatusBack() const {
    return automaticStatus_ != 0 && !sensors_.mute ? escpos::EncodeAutomaticStatus(Status()) : Bytes();
}

Output PrinterModel::Receive(std::string_view bytes) {
    Output out;
    for (Command& command : decoder_.Feed(bytes))
        Handle(std::move(command), out);
    return out;
}

void PrinterModel::Handle(Command command, Output& out) {
    std::string line = escpos::Describe(command);
    switch (command.kind) {
    case CommandKind::StatusQuery:
        if (sensors_.mute)
            line += " (not answered: muted)";
        else if (command.a >= 1 && command.a <= 4)
            out.reply.push_back(static_cast<char>(
                escpos::EncodeRealTimeStatus(static_cast<escpos::StatusQuery>(command.a), Status())));
        break;
    case CommandKind::StatusTransmission:
        // Answered in order, once what came before it was processed: not
        // while offline, when nothing is.
        if (!sensors_.mute && !Offline() && (command.a == 1 || command.a == '1'))
            out.reply.push_back(static_cast<char>(escpos::EncodeTransmittedStatus(Status())));
        break;
    case CommandKind::AutomaticStatusBack:
        automaticStatus_ = static_cast<uint8_t>(command.a);
        out.reply += StatusBack(); // the first report comes at once
        break;
    case CommandKind::DrawerKick:
        ++drawerKicks_;
        if (!sensors_.drawerOpen) {
            sensors_.drawerOpen = true;
            line += " (drawer opens)";
            out.reply += StatusBack();
        }
        break;
    default:
        break;
    }
    if (Offline() && !RealTime(command.kind)) {
        out.transcript.push_back("offline, not printed: " + line);
        return;
    }
    out.transcript.push_back(line);
    if (RealTime(command.kind))
        return;
    const bool cut = command.kind == CommandKind::Cut;
    current_.push_back(std::move(command));
    if (cut) {
        ++receiptsDone_;
        out.receipts.push_back(std::move(current_));
        current_.clear();
    }
}

ControlAnswer PrinterModel::Control(std::string_view line) {
    const std::vector<std::string> words = Words(line);
    ControlAnswer answer;
    if (words.empty() || words[0] == "help") {
        answer.text = std::string("commands: ") + kControlHelp;
        return answer;
    }
    if (words[0] == "status") {
        answer.text = Summary();
        return answer;
    }
    if (words[0] == "disconnect") {
        answer.disconnect = true;
        answer.text = "ok disconnecting the print client";
        return answer;
    }
    if (words[0] == "send") {
        if (!FromHex(words, answer.toClient))
            answer.text = "error: send takes pairs of hex digits, as: send 12 1e";
        else
            answer.text = "ok sending " + std::to_string(answer.toClient.size()) + " bytes";
        return answer;
    }
    if (words[0] == "online") {
        sensors_.forcedOffline = false;
    } else {
        const std::string value = words.size() > 1 ? words[1] : "";
        const auto word = std::find_if(kSensorWords.begin(), kSensorWords.end(), [&](const SensorWord& w) {
            return words[0] == w.sensor && value == w.value;
        });
        if (word == kSensorWords.end()) {
            answer.text = "error: unknown command \"" + std::string(line) + "\" (help lists them)";
            return answer;
        }
        word->apply(sensors_);
    }
    answer.toClient = StatusBack();
    answer.text = "ok " + Summary();
    return answer;
}

std::string PrinterModel::Summary() const {
    std::ostringstream text;
    text << "cover " << (sensors_.coverOpen ? "open" : "closed") << ", paper "
         << (sensors_.paperEmpty     ? "empty"
             : sensors_.paperNearEnd ? "near-end"
                                     : "ok")
         << ", drawer " << (sensors_.drawerOpen ? "open" : "closed") << ", "
         << (Offline() ? "offline" : "online") << (sensors_.mute ? ", muted" : "") << ", receipts "
         << receiptsDone_ << ", drawer kicks " << drawerKicks_;
    return text.str();
}

Receipt PrinterModel::TakeUnfinished() {
    Receipt receipt = std::move(current_);
    current_.clear();
    return receipt;
}

} // namespace zorv::virtual_printer
