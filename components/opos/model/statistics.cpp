#include "model/statistics.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "model/opos_codes.h"
#include "platform/com/text.h"

namespace zorv::opos {
namespace {

constexpr std::uintmax_t kLargestFile = 1 << 20;
constexpr std::u16string_view kHours = u"HoursPoweredCount";
constexpr std::u16string_view kPoweredSeconds = u"PoweredSeconds";

struct Name {
    std::u16string_view name;
    bool resettable = true;
    bool standard = true;
};

// Ours: input an object's full queue could not take (each item counted).
constexpr Name kInputOverflow{u"InputOverflowCount", true, false};

// The standard's statistics that each kind keeps, after the common ones.
constexpr Name kCommon[] = {{kHours, false}, {u"CommunicationErrorCount"}};
constexpr Name kScanner[] = {{u"GoodScanCount"}, {u"NoReadCount"}, {u"SessionCount"}, kInputOverflow};
constexpr Name kPrinter[] = {
    {u"BarcodePrintedCount"},
    {u"FormInsertionCount"},
    {u"HomeErrorCount"},
    {u"JournalCharacterPrintedCount"},
    {u"JournalLinePrintedCount"},
    {u"MaximumTempReachedCount"},
    {u"NVRAMWriteCount"},
    {u"PaperCutCount"},
    {u"FailedPaperCutCount"},
    {u"PrinterFaultCount"},
    {u"PrintSideChangeCount"},
    {u"FailedPrintSideChangeCount"},
    {u"ReceiptCharacterPrintedCount"},
    {u"ReceiptCoverOpenCount"},
    {u"ReceiptLineFeedCount"},
    {u"ReceiptLinePrintedCount"},
    {u"SlipCharacterPrintedCount"},
    {u"SlipCoverOpenCount"},
    {u"SlipLineFeedCount"},
    {u"SlipLinePrintedCount"},
    {u"StampFiredCount"},
};
constexpr Name kMSR[] = {
    {u"GoodCardReadCount"},         {u"FailedCardReadCount"},
    {u"UnreadableCardCount"},       {u"GoodWriteCount"},
    {u"FailedWriteCount"},          {u"MissingStartSentinelTrack1Count"},
    {u"ParityLRCErrorTrack1Count"}, {u"MissingStartSentinelTrack2Count"},
    {u"ParityLRCErrorTrack2Count"}, {u"MissingStartSentinelTrack3Count"},
    {u"ParityLRCErrorTrack3Count"}, kInputOverflow,
};
constexpr Name kDrawer[] = {{u"DrawerGoodOpenCount"}, {u"DrawerFailedOpenCount"}};
// Each screen drawn successfully.
constexpr Name kLineDisplay[] = {{u"OnlineTransitionCount"}};
// Each key-down.
constexpr Name kPOSKeyboard[] = {{u"KeyPressedCount"}, kInputOverflow};
constexpr Name kKeylock[] = {kInputOverflow};

std::span<const Name> KindNames(Kind kind) {
    switch (kind) {
    case Kind::Scanner:
        return kScanner;
    case Kind::Printer:
        return kPrinter;
    case Kind::MSR:
        return kMSR;
    case Kind::CashDrawer:
        return kDrawer;
    case Kind::LineDisplay:
        return kLineDisplay;
    case Kind::POSKeyboard:
        return kPOSKeyboard;
    case Kind::Keylock:
        return kKeylock;
    default:
        return {};
    }
}

std::string Utf8(std::u16string_view text) {
    return com::Utf16ToUtf8(text);
}

std::string Escaped(std::u16string_view text) {
    std::string out;
    for (char c : Utf8(text)) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::u16string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return com::Utf8ToUtf16(text);
}

// The text between <tag> and </tag> from `from` on; npos when absent.
std::optional<std::string> Between(const std::string& text, const std::string& tag, std::size_t& from) {
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const auto start = text.find(open, from);
    if (start == std::string::npos)
        return std::nullopt;
    const auto end = text.find(close, start + open.size());
    if (end == std::string::npos)
        return std::nullopt;
    from = end + close.size();
    return text.substr(start + open.size(), end - start - open.size());
}

std::optional<std::uint64_t> Count(const std::string& text) {
    if (text.empty() || text.size() > 19 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoull(text);
}

std::vector<std::u16string_view> SplitList(std::u16string_view text) {
    std::vector<std::u16string_view> items;
    while (!text.empty()) {
        const auto comma = text.find(u',');
        items.push_back(text.substr(0, comma));
        text = comma == std::u16string_view::npos ? std::u16string_view() : text.substr(comma + 1);
    }
    return items;
}

} // namespace

Statistics::Statistics(Kind kind, std::filesystem::path file, StatisticsIdentity identity)
    : file_(std::move(file)), identity_(std::move(identity)), installed_(Today()) {
    for (std::span<const Name> names : {std::span<const Name>(kCommon), KindNames(kind)})
        for (const Name& name : names)
            entries_.push_back({std::u16string(name.name), name.standard, name.resettable, 0});
}

Statistics::Entry* Statistics::Find(std::u16string_view name) {
    for (Entry& entry : entries_)
        if (com::EqualsIgnoringCase(entry.name, name))
            return &entry;
    return nullptr;
}

// The device counts by the exact names above; only applications' requests
// need the case-blind search.
void Statistics::Add(std::u16string_view name, std::uint64_t count) {
    for (Entry& entry : entries_)
        if (entry.name == name) {
            entry.value += count;
            return;
        }
}

std::uint64_t Statistics::Value(std::u16string_view name) const {
    for (const Entry& entry : entries_)
        if (com::EqualsIgnoringCase(entry.name, name))
            return entry.name == kHours ? PoweredSeconds() / 3600 : entry.value;
    return 0;
}

void Statistics::Powered(bool on) {
    const auto now = std::chrono::steady_clock::now();
    if (on && poweredHolders_++ == 0)
        poweredSince_ = now;
    if (!on && poweredHolders_ > 0 && --poweredHolders_ == 0)
        poweredSeconds_ += static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::seconds>(now - poweredSince_).count());
}

std::uint64_t Statistics::PoweredSeconds() const {
    if (poweredHolders_ == 0)
        return poweredSeconds_;
    return poweredSeconds_ + static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                                            std::chrono::steady_clock::now() - poweredSince_)
                                                            .count());
}

// "" every statistic, "U_" the standard's, "M_" ours (the input overflows;
// the powered seconds stay in the file), else names by list.
std::vector<Statistics::Entry*> Statistics::Select(std::u16string_view request, bool& known) {
    known = true;
    std::vector<Entry*> chosen;
    if (request.empty() || request == u"U_" || request == u"M_") {
        for (Entry& entry : entries_)
            if (request.empty() || entry.standard == (request == u"U_"))
                chosen.push_back(&entry);
        return chosen;
    }
    for (std::u16string_view name : SplitList(request)) {
        Entry* entry = Find(name);
        if (entry == nullptr) {
            known = false;
            return {};
        }
        chosen.push_back(entry);
    }
    return chosen;
}

LONG Statistics::Retrieve(std::u16string_view request, std::u16string& xml) const {
    bool known = true;
    const auto chosen = const_cast<Statistics*>(this)->Select(request, known);
    if (!known)
        return OPOS_E_ILLEGAL;
    xml = com::Utf8ToUtf16(Xml({chosen.begin(), chosen.end()}));
    return OPOS_SUCCESS;
}

LONG Statistics::Reset(std::u16string_view request) {
    bool known = true;
    const auto chosen = Select(request, known);
    if (!known)
        return OPOS_E_ILLEGAL;
    const bool all = request.empty() || request == u"U_" || request == u"M_";
    for (Entry* entry : chosen)
        if (!entry->resettable && !all)
            return OPOS_E_ILLEGAL;
    for (Entry* entry : chosen)
        if (entry->resettable)
            entry->value = 0;
    Save();
    return OPOS_SUCCESS;
}

LONG Statistics::Update(std::u16string_view request) {
    std::vector<std::pair<std::vector<Entry*>, std::uint64_t>> changes;
    for (std::u16string_view item : SplitList(request)) {
        const auto equals = item.find(u'=');
        if (equals == std::u16string_view::npos)
            return OPOS_E_ILLEGAL;
        const auto value = Count(com::Utf16ToUtf8(item.substr(equals + 1)));
        bool known = true;
        auto chosen = Select(item.substr(0, equals), known);
        if (!value || !known)
            return OPOS_E_ILLEGAL;
        for (Entry* entry : chosen)
            if (!entry->resettable && item.substr(0, equals) != u"U_")
                return OPOS_E_ILLEGAL;
        changes.emplace_back(std::move(chosen), *value);
    }
    if (changes.empty())
        return OPOS_E_ILLEGAL;
    for (auto& [entries, value] : changes)
        for (Entry* entry : entries)
            if (entry->resettable)
                entry->value = value;
    Save();
    return OPOS_SUCCESS;
}

std::string Statistics::Xml(const std::vector<const Entry*>& entries) const {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<UPOSStat version=\"1.14.1\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns=\"http://www.nrf-arts.org/UnifiedPOS/namespace/\" "
           "xsi:schemaLocation=\"http://www.nrf-arts.org/UnifiedPOS/namespace/ UPOSStat.xsd\">\n"
        << "  <Equipment>\n"
        << "    <UnifiedPOSVersion>1.14.1</UnifiedPOSVersion>\n"
        << "    <DeviceCategory UPOS=\"" << Escaped(identity_.category) << "\"/>\n"
        << "    <ManufacturerName>ZORV</ManufacturerName>\n"
        << "    <ModelName>" << Escaped(identity_.model) << "</ModelName>\n"
        << "    <SerialNumber>" << Escaped(identity_.serial) << "</SerialNumber>\n"
        << "    <FirmwareRevision>" << Escaped(identity_.firmware) << "</FirmwareRevision>\n"
        << "    <Interface>" << Escaped(identity_.connection) << "</Interface>\n"
        << "    <InstallationDate>" << Escaped(installed_) << "</InstallationDate>\n"
        << "  </Equipment>\n";
    for (const Entry* entry : entries) {
        const char* tag = entry->standard ? "Parameter" : "ManufacturerSpecific";
        out << "  <" << tag << ">\n    <Name>" << Escaped(entry->name) << "</Name>\n    <Value>"
            << Value(entry->name) << "</Value>\n  </" << tag << ">\n";
    }
    out << "</UPOSStat>\n";
    return out.str();
}

// The file is the full statistics document plus the powered seconds that do
// not make a whole hour yet.
void Statistics::Save() const {
    std::vector<const Entry*> all;
    for (const Entry& entry : entries_)
        all.push_back(&entry);
    std::string text = Xml(all);
    const std::string extra = "  <ManufacturerSpecific>\n    <Name>" + Utf8(kPoweredSeconds) +
                              "</Name>\n    <Value>" + std::to_string(PoweredSeconds()) +
                              "</Value>\n  </ManufacturerSpecific>\n";
    text.insert(text.rfind("</UPOSStat>"), extra);
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    // Written aside and renamed, so a reader never sees half a file.
    const std::filesystem::path aside = file_.string() + "." + std::to_string(getpid()) + ".tmp";
    {
        std::ofstream out(aside, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out)
            return;
    }
    std::filesystem::rename(aside, file_, error);
    if (error)
        std::filesystem::remove(aside, error);
}

void Statistics::Load() {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file_, error)) {
        note_ = u"No statistics kept yet: started afresh.";
        return;
    }
    std::string text;
    if (std::filesystem::file_size(file_, error) <= kLargestFile && !error) {
        std::ifstream in(file_, std::ios::binary);
        std::ostringstream buffer;
        buffer << in.rdbuf();
        text = buffer.str();
    }
    if (!Parse(text)) {
        for (Entry& entry : entries_)
            entry.value = 0;
        poweredSeconds_ = 0;
        installed_ = Today();
        note_ = u"Statistics file damaged: started afresh.";
        return;
    }
    note_.clear();
}

bool Statistics::Parse(const std::string& text) {
    if (text.find("<UPOSStat") == std::string::npos || text.find("</UPOSStat>") == std::string::npos)
        return false;
    std::size_t at = 0;
    if (auto date = Between(text, "InstallationDate", at))
        installed_ = com::Utf8ToUtf16(*date);
    for (const char* tag : {"Parameter", "ManufacturerSpecific"}) {
        at = 0;
        while (auto block = Between(text, tag, at)) {
            std::size_t inner = 0;
            const auto name = Between(*block, "Name", inner);
            const auto value = Between(*block, "Value", inner);
            const auto count = value ? Count(*value) : std::nullopt;
            if (!name || !count)
                return false;
            const std::u16string wanted = com::Utf8ToUtf16(*name);
            if (wanted == kPoweredSeconds)
                poweredSeconds_ = *count;
            else if (wanted == kHours)
                continue;
            else if (Entry* entry = Find(wanted))
                entry->value = *count;
            else
                return false;
        }
    }
    return true;
}

} // namespace zorv::opos
