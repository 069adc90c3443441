// The POS printer's rules: output to its stations, synchronous or queued,
// refused while the cover is open or a station is out of paper, with
// transactions, page mode, rotation, logos, bitmaps, ruled lines and slip
// forms. What reaches the paper is the back end's business.
#include <array>
#include <deque>
#include <filesystem>
#include <fstream>

#include "kinds/kind_table.h"
#include "model/device.h"
#include "kinds/list_text.h"
#include "platform/com/text.h"
#include "protocols/print/escape_sequences.h"
#include "kinds/printer/printer_ruled_line.h"
#include "kinds/printer/printer_slip.h"
#include "kinds/printer/printer_station.h"

namespace zorv::opos {
namespace {

constexpr std::size_t kLongestData = 65536;
constexpr std::uintmax_t kLargestBitmap = 16 << 20;
constexpr LONG kBitmapSlots = 20;

struct Job {
    const Station* station;
    Output output;
    LONG id;
    // The first half of PrintTwoNormal: its completion is the second's.
    bool quiet = false;
};

// PrintTwoNormal's station pairs: which station takes Data1, which Data2,
// and the capability that lets them print together.
struct StationPair {
    LONG stations;
    LONG first;
    LONG second;
    Prop concurrent;
};

constexpr StationPair kPairs[] = {
    {PTR_S_JOURNAL_RECEIPT, PTR_S_JOURNAL, PTR_S_RECEIPT, Prop::CapConcurrentJrnRec},
    {PTR_S_JOURNAL_SLIP, PTR_S_JOURNAL, PTR_S_SLIP, Prop::CapConcurrentJrnSlp},
    {PTR_S_RECEIPT_SLIP, PTR_S_RECEIPT, PTR_S_SLIP, Prop::CapConcurrentRecSlp},
    {PTR_TWO_RECEIPT_JOURNAL, PTR_S_RECEIPT, PTR_S_JOURNAL, Prop::CapConcurrentJrnRec},
    {PTR_TWO_SLIP_JOURNAL, PTR_S_SLIP, PTR_S_JOURNAL, Prop::CapConcurrentJrnSlp},
    {PTR_TWO_SLIP_RECEIPT, PTR_S_SLIP, PTR_S_RECEIPT, Prop::CapConcurrentRecSlp},
};

const StationPair* FindPair(LONG stations) {
    for (const StationPair& pair : kPairs)
        if (pair.stations == stations)
            return &pair;
    return nullptr;
}

// Characters and lines as the statistics count them: escape sequences
// print neither.
void CountPrinted(Statistics& stats, const Station& station, std::u16string_view data) {
    static constexpr std::u16string_view kLines[] = {u"JournalLinePrintedCount", u"ReceiptLinePrintedCount",
                                                     u"SlipLinePrintedCount"};
    static constexpr std::u16string_view kChars[] = {
        u"JournalCharacterPrintedCount", u"ReceiptCharacterPrintedCount", u"SlipCharacterPrintedCount"};
    std::uint64_t lines = 0, characters = 0;
    for (const print::Token& token : print::ParseEscapes(data)) {
        if (token.kind == print::TokenKind::Cut || token.kind == print::TokenKind::FeedCut)
            stats.Add(u"PaperCutCount");
        if (token.kind != print::TokenKind::Text)
            continue;
        for (char16_t c : token.text) {
            lines += c == u'\n' ? 1 : 0;
            characters += c >= u' ' ? 1 : 0;
        }
    }
    stats.Add(kLines[station.index], lines);
    stats.Add(kChars[station.index], characters);
}

// The capability, per station, that a style in print data needs.
struct Need {
    print::TokenKind kind;
    Prop journal, receipt, slip;
};

constexpr Need kNeeds[] = {
    {print::TokenKind::Bold, Prop::CapJrnBold, Prop::CapRecBold, Prop::CapSlpBold},
    {print::TokenKind::Italic, Prop::CapJrnItalic, Prop::CapRecItalic, Prop::CapSlpItalic},
    {print::TokenKind::Underline, Prop::CapJrnUnderline, Prop::CapRecUnderline, Prop::CapSlpUnderline},
    {print::TokenKind::Cut, Prop::Count, Prop::CapRecPaperCut, Prop::Count},
    {print::TokenKind::FeedCut, Prop::Count, Prop::CapRecPaperCut, Prop::Count},
    {print::TokenKind::FireStamp, Prop::Count, Prop::CapRecStamp, Prop::Count},
    {print::TokenKind::Bitmap, Prop::Count, Prop::CapRecBitmap, Prop::CapSlpBitmap},
};

// ESC|2C double wide, 3C double high, 4C both.
constexpr Prop kSizeNeeds[3][3] = {
    {Prop::CapJrnDwide, Prop::CapRecDwide, Prop::CapSlpDwide},
    {Prop::CapJrnDhigh, Prop::CapRecDhigh, Prop::CapSlpDhigh},
    {Prop::CapJrnDwideDhigh, Prop::CapRecDwideDhigh, Prop::CapSlpDwideDhigh},
};

// Prop::Count stands for a capability the station never has.
bool Capable(const Device& device, Prop capability) {
    return capability != Prop::Count && device.Bool(capability);
}

bool StationCanPrint(const Device& device, const Station& station, std::u16string_view data) {
    for (const print::Token& token : print::ParseEscapes(data)) {
        if (token.kind == print::TokenKind::Unknown)
            return false;
        if (token.kind == print::TokenKind::Size && token.number >= 2 && token.number <= 4 &&
            !Capable(device, kSizeNeeds[token.number - 2][station.index]))
            return false;
        for (const Need& need : kNeeds) {
            const Prop caps[] = {need.journal, need.receipt, need.slip};
            if (need.kind == token.kind && !token.off && !Capable(device, caps[station.index]))
                return false;
        }
    }
    return true;
}

std::optional<std::string> ReadFile(std::u16string_view name) {
    const std::filesystem::path path(com::Utf16ToUtf8(name));
    std::error_code error;
    if (name.empty() || !std::filesystem::is_regular_file(path, error) ||
        std::filesystem::file_size(path, error) > kLargestBitmap)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Printer final : public KindBehaviour {
public:
    void Opened(Device&) override {
        transactions_ = {};
        pageMode_.reset();
        jobs_.clear();
        inFlight_ = 0;
        waitingForAnswer_ = false;
        rotation_ = {PTR_RP_NORMAL, PTR_RP_NORMAL, PTR_RP_NORMAL};
        bitmaps_ = {};
        logos_ = {};
        slip_.Reset();
    }

    bool OutputPending() const override { return !jobs_.empty(); }

    void ClearOutput(Device&) override {
        jobs_.clear();
        inFlight_ = 0;
        transactions_ = {};
        waitingForAnswer_ = false;
    }

    LONG Put(Device& device, Prop prop, const Value& value) override {
        const LONG number = std::get<LONG>(value);
        bool fits = false;
        if (prop == Prop::CharacterSet)
            fits = ListHolds(device.Text(Prop::CharacterSetList), number);
        else if (const Station* station = StationOfLineChars(prop))
            fits = number >= 1 && number <= ListLargest(device.Text(station->lineCharsList));
        else if (prop == Prop::PageModeStation)
            fits = (number == PTR_S_RECEIPT && device.Bool(Prop::CapRecPageMode)) ||
                   (number == PTR_S_SLIP && device.Bool(Prop::CapSlpPageMode));
        if (!fits)
            return OPOS_E_ILLEGAL;
        device.Set(prop, number);
        return OPOS_SUCCESS;
    }

    void SensorChanged(Device& device, Prop) override { ScheduleRun(device); }

    void OutputErrorAnswered(Device& device, LONG response) override {
        waitingForAnswer_ = false;
        device.Set(Prop::ErrorLevel, PTR_EL_NONE);
        // A retry still blocked by a sensor waits for the sensor to change.
        if (response != OPOS_ER_RETRY)
            jobs_.clear();
        else if (!jobs_.empty() && Blocked(device, *jobs_.front().station).code == OPOS_SUCCESS)
            ScheduleRun(device);
    }

    void OutputDone(Device& device, std::uint64_t ticket, LONG code, LONG extended) override {
        if (ticket != inFlight_ || jobs_.empty())
            return;
        inFlight_ = 0;
        if (code != OPOS_SUCCESS) {
            Failed(device, *jobs_.front().station, code, extended);
            return;
        }
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        Printed(device, *job.station, job.output);
        if (!job.quiet)
            device.Raise(Event::OutputComplete, job.id);
        if (jobs_.empty() && device.Bool(Prop::FlagWhenIdle)) {
            device.Set(Prop::FlagWhenIdle, false);
            device.StatusUpdate(PTR_SUE_IDLE);
        }
        ScheduleRun(device);
    }

    // Usable device and a present station, or why not.
    Outcome Usable(Device& device, LONG stationCode, std::size_t size, const Station*& station) {
        if (const LONG refused = device.Refusal())
            return {refused};
        station = FindStation(stationCode);
        if (station == nullptr || !device.Bool(station->present) || size > kLongestData)
            return {OPOS_E_ILLEGAL};
        return {};
    }

    Outcome Normal(Device& device, LONG stationCode, const std::u16string& data) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, data.size(), station); refused.code)
            return refused;
        const std::u16string expanded = WithLogos(data);
        if (Held(device, *station, expanded))
            return {};
        return Emit(device, *station, Data(*station, expanded));
    }

    // Data1 on the pair's first station, Data2 (or Data1 again when empty)
    // on its second, both or neither.
    Outcome TwoNormal(Device& device, LONG stations, const std::u16string& data1,
                      const std::u16string& data2) {
        if (const LONG refused = device.Refusal())
            return {refused};
        const StationPair* pair = FindPair(stations);
        if (pair == nullptr || !device.Bool(pair->concurrent))
            return {OPOS_E_ILLEGAL};
        const Station* first = nullptr;
        const Station* second = nullptr;
        if (Outcome refused = Usable(device, pair->first, data1.size(), first); refused.code)
            return refused;
        if (Outcome refused = Usable(device, pair->second, data2.size(), second); refused.code)
            return refused;
        const std::u16string one = WithLogos(data1);
        const std::u16string two = data2.empty() ? one : WithLogos(data2);
        const bool heldOne = Held(device, *first, one);
        const bool heldTwo = Held(device, *second, two);
        if (heldOne || heldTwo)
            return heldOne && heldTwo ? Outcome{}
                   : heldOne          ? Emit(device, *second, Data(*second, two))
                                      : Emit(device, *first, Data(*first, one));
        return EmitTwo(device, {first, Data(*first, one), 0, true}, {second, Data(*second, two), 0});
    }

    Outcome Rule(Device& device, LONG stationCode, const std::u16string& positions, const RuledLine& line) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, positions.size(), station); refused.code)
            return refused;
        if (!CanRule(device, *station, positions, line))
            return {OPOS_E_ILLEGAL};
        Output rule{Output::What::RuledLine,
                    station->code,
                    positions,
                    {line.direction, line.thickness, line.style, line.colour}};
        return Emit(device, *station, rule);
    }

    SlipForm& Slip() { return slip_; }

    Outcome Immediate(Device& device, LONG stationCode, const std::u16string& data) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, data.size(), station); refused.code)
            return refused;
        return PrintNow(device, *station, Data(*station, WithLogos(data)));
    }

    Outcome Cut(Device& device, LONG percentage) {
        const Station* receipt = nullptr;
        if (Outcome refused = Usable(device, PTR_S_RECEIPT, 0, receipt); refused.code)
            return refused;
        if (!device.Bool(Prop::CapRecPaperCut) || percentage < 0 || percentage > 100)
            return {OPOS_E_ILLEGAL};
        // Cutting is what the escape sequence ESC|nP asks of the data stream.
        return Emit(device, *receipt, Data(*receipt, u"\x1b|" + Number(percentage) + u"P"));
    }

    Outcome BarCode(Device& device, LONG stationCode, const std::u16string& data, LONG symbology, LONG height,
                    LONG width, LONG alignment, LONG textPosition) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, data.size(), station); refused.code)
            return refused;
        const bool valid = station->code == PTR_S_RECEIPT && device.Bool(Prop::CapRecBarCode) &&
                           !data.empty() && symbology > 100 && height > 0 && width > 0 &&
                           alignment >= PTR_BC_RIGHT && textPosition <= PTR_BC_TEXT_NONE &&
                           textPosition >= PTR_BC_TEXT_BELOW;
        if (!valid)
            return {OPOS_E_ILLEGAL};
        Output code{
            Output::What::BarCode, station->code, data, {symbology, height, width, alignment, textPosition}};
        return Emit(device, *station, code);
    }

    Outcome Transaction(Device& device, LONG stationCode, LONG control) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, 0, station); refused.code)
            return refused;
        auto& transaction = transactions_[station->index];
        if (!device.Bool(Prop::CapTransaction))
            return {OPOS_E_ILLEGAL};
        if (control == PTR_TP_TRANSACTION && !transaction) {
            transaction.emplace();
            return {};
        }
        if (control != PTR_TP_NORMAL || !transaction)
            return {OPOS_E_ILLEGAL};
        const std::u16string data = std::move(*transaction);
        transaction.reset();
        return Emit(device, *station, Data(*station, data));
    }

    // A file that is not there is 109; one that is not a bitmap, 114/207.
    Outcome Bitmap(Device& device, LONG stationCode, const std::u16string& file, LONG width, LONG alignment) {
        const Station* station = nullptr;
        if (Outcome refused = BitmapStation(device, stationCode, station); refused.code)
            return refused;
        const auto bytes = ReadFile(file);
        if (!bytes)
            return {OPOS_E_NOEXIST};
        if (Outcome bad = CheckBitmap(*bytes, PTR_BMT_BMP, width, alignment); bad.code)
            return bad;
        Output picture{Output::What::Bitmap, station->code, file, {width, alignment}};
        return Emit(device, *station, picture);
    }

    Outcome MemoryBitmap(Device& device, LONG stationCode, const std::u16string& data, LONG type, LONG width,
                         LONG alignment) {
        const Station* station = nullptr;
        if (Outcome refused = BitmapStation(device, stationCode, station); refused.code)
            return refused;
        std::string bytes;
        for (char16_t c : data)
            bytes += static_cast<char>(c & 0xFF);
        if (Outcome bad = CheckBitmap(bytes, type, width, alignment); bad.code)
            return bad;
        Output picture{Output::What::Bitmap, station->code, data};
        picture.params[0] = width;
        picture.params[1] = alignment;
        picture.params[2] = 1;
        return Emit(device, *station, picture);
    }

    // The bitmap then prints wherever the data says ESC|nB.
    Outcome StoreBitmap(Device& device, LONG number, LONG stationCode, const std::u16string& file, LONG width,
                        LONG alignment) {
        const Station* station = nullptr;
        if (Outcome refused = BitmapStation(device, stationCode, station); refused.code)
            return refused;
        if (number < 1 || number > kBitmapSlots)
            return {OPOS_E_ILLEGAL};
        const auto bytes = ReadFile(file);
        if (!bytes)
            return {OPOS_E_NOEXIST};
        if (Outcome bad = CheckBitmap(*bytes, PTR_BMT_BMP, width, alignment); bad.code)
            return bad;
        // The back end keeps the picture as its device prints it.
        Backend& hardware = device.Hardware().Hardware();
        const Outcome kept =
            hardware.StoreBitmap(number, {Output::What::Bitmap, station->code, file, {width, alignment}});
        if (kept.code != OPOS_SUCCESS) {
            device.Set(Prop::ErrorString, hardware.LastFailure());
            return kept;
        }
        bitmaps_[station->index][static_cast<std::size_t>(number - 1)] = file;
        return {};
    }

    // Logos are print data that ESC|tL and ESC|bL stand for.
    Outcome SetLogo(Device& device, LONG location, const std::u16string& data) {
        if (const LONG refused = device.Refusal())
            return {refused};
        if ((location != PTR_L_TOP && location != PTR_L_BOTTOM) || data.size() > kLongestData)
            return {OPOS_E_ILLEGAL};
        logos_[location == PTR_L_TOP ? 0 : 1] = data;
        return {};
    }

    // Whether the station could print the data as given: its escape
    // sequences must be known and among the station's capabilities.
    Outcome Validate(Device& device, LONG stationCode, const std::u16string& data) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, data.size(), station); refused.code)
            return refused;
        return StationCanPrint(device, *station, data) ? Outcome{} : Outcome{OPOS_E_ILLEGAL};
    }

    Outcome Rotate(Device& device, LONG stationCode, LONG rotation) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, 0, station); refused.code)
            return refused;
        struct Cap {
            LONG rotation;
            Prop receipt, slip;
        };
        static constexpr Cap kCaps[] = {{PTR_RP_RIGHT90, Prop::CapRecRight90, Prop::CapSlpRight90},
                                        {PTR_RP_LEFT90, Prop::CapRecLeft90, Prop::CapSlpLeft90},
                                        {PTR_RP_ROTATE180, Prop::CapRecRotate180, Prop::CapSlpRotate180}};
        const LONG base = rotation & 0xFFFF;
        bool capable = base == PTR_RP_NORMAL;
        for (const Cap& cap : kCaps)
            if (cap.rotation == base && station->code != PTR_S_JOURNAL)
                capable = device.Bool(station->code == PTR_S_RECEIPT ? cap.receipt : cap.slip);
        if (!capable)
            return {OPOS_E_ILLEGAL};
        rotation_[station->index] = base;
        return {};
    }

    Outcome PageMode(Device& device, LONG control) {
        if (const LONG refused = device.Refusal())
            return {refused};
        const LONG stationCode = device.Long(Prop::PageModeStation);
        const Station* station = FindStation(stationCode);
        const bool capable = device.Bool(Prop::CapRecPageMode) || device.Bool(Prop::CapSlpPageMode);
        if (!capable || station == nullptr)
            return {OPOS_E_ILLEGAL};
        switch (control) {
        case PTR_PM_PAGE_MODE:
            if (pageMode_)
                return {OPOS_E_ILLEGAL};
            pageMode_.emplace();
            return {};
        case PTR_PM_PRINT_SAVE:
        case PTR_PM_NORMAL: {
            if (!pageMode_)
                return {OPOS_E_ILLEGAL};
            const std::u16string page = *pageMode_;
            if (control == PTR_PM_NORMAL)
                pageMode_.reset();
            return Emit(device, *station, Data(*station, page));
        }
        case PTR_PM_CANCEL:
            if (!pageMode_)
                return {OPOS_E_ILLEGAL};
            pageMode_.reset();
            return {};
        default:
            return {OPOS_E_ILLEGAL};
        }
    }

    Outcome MarkFeed(Device& device, LONG type) {
        const Station* receipt = nullptr;
        if (Outcome refused = Usable(device, PTR_S_RECEIPT, 0, receipt); refused.code)
            return refused;
        const LONG capable = device.Long(Prop::CapRecMarkFeed);
        if (type <= 0 || (type & (type - 1)) != 0 || (capable & type) == 0)
            return {OPOS_E_ILLEGAL};
        return Emit(device, *receipt, {Output::What::MarkFeed, PTR_S_RECEIPT, {}, {type}});
    }

    Outcome ChangeSide(Device& device, LONG side) {
        const Station* slip = nullptr;
        if (Outcome refused = Usable(device, PTR_S_SLIP, 0, slip); refused.code)
            return refused;
        if (!device.Bool(Prop::CapSlpBothSidesPrint) || side < PTR_PS_SIDE1 || side > PTR_PS_OPPOSITE)
            return {OPOS_E_ILLEGAL};
        const LONG now = device.Long(Prop::SlpPrintSide);
        const LONG next =
            side == PTR_PS_OPPOSITE ? (now == PTR_PS_SIDE1 ? PTR_PS_SIDE2 : PTR_PS_SIDE1) : side;
        const Outcome done = Emit(device, *slip, {Output::What::ChangeSide, PTR_S_SLIP, {}, {next}});
        if (done.code == OPOS_SUCCESS)
            device.Set(Prop::SlpPrintSide, next);
        return done;
    }

private:
    static std::u16string Number(LONG value) { return com::Utf8ToUtf16(std::to_string(value)); }

    // Page mode or a transaction keeps the data for later; true when kept.
    bool Held(Device& device, const Station& station, const std::u16string& data) {
        if (pageMode_ && station.code == device.Long(Prop::PageModeStation)) {
            *pageMode_ += data;
            return true;
        }
        if (auto& transaction = transactions_[station.index]) {
            *transaction += data;
            return true;
        }
        return false;
    }

    Output Data(const Station& station, std::u16string data) const {
        Output output{Output::What::PrintData, station.code, std::move(data)};
        output.params[0] = rotation_[station.index];
        return output;
    }

    std::u16string WithLogos(std::u16string data) const {
        static constexpr std::u16string_view kMarks[] = {u"\x1b|tL", u"\x1b|bL"};
        for (std::size_t i = 0; i < 2; ++i)
            for (auto at = data.find(kMarks[i]); at != std::u16string::npos;
                 at = data.find(kMarks[i], at + logos_[i].size()))
                data.replace(at, kMarks[i].size(), logos_[i]);
        return data;
    }

    Outcome BitmapStation(Device& device, LONG stationCode, const Station*& station) {
        if (Outcome refused = Usable(device, stationCode, 0, station); refused.code)
            return refused;
        const bool capable = (station->code == PTR_S_RECEIPT && device.Bool(Prop::CapRecBitmap)) ||
                             (station->code == PTR_S_SLIP && device.Bool(Prop::CapSlpBitmap));
        return capable ? Outcome{} : Outcome{OPOS_E_ILLEGAL};
    }

    static Outcome CheckBitmap(const std::string& bytes, LONG type, LONG width, LONG alignment) {
        if (type != PTR_BMT_BMP && type != PTR_BMT_JPEG && type != PTR_BMT_GIF)
            return {OPOS_E_ILLEGAL};
        if ((width < 1 && width != PTR_BM_ASIS) || alignment < PTR_BC_RIGHT)
            return {OPOS_E_ILLEGAL};
        const bool looksRight = type == PTR_BMT_BMP   ? bytes.rfind("BM", 0) == 0
                                : type == PTR_BMT_GIF ? bytes.rfind("GIF8", 0) == 0
                                                      : bytes.rfind("\xFF\xD8", 0) == 0;
        if (!looksRight || bytes.size() < 26)
            return {OPOS_E_EXTENDED, OPOS_EPTR_BADFORMAT};
        return {};
    }

    // What stops output to a station now: the cover or its paper.
    static Outcome Blocked(Device& device, const Station& station) {
        if (device.Bool(Prop::CoverOpen))
            return {OPOS_E_EXTENDED, OPOS_EPTR_COVER_OPEN};
        if (device.Bool(station.empty))
            return {OPOS_E_EXTENDED, station.emptyExtended};
        return {};
    }

    Outcome Emit(Device& device, const Station& station, Output output) {
        output.characterSet = device.Long(Prop::CharacterSet);
        if (!device.Bool(Prop::AsyncMode))
            return PrintNow(device, station, output);
        jobs_.push_back({&station, std::move(output), ++lastOutputId_});
        device.Set(Prop::OutputID, lastOutputId_);
        ScheduleRun(device);
        return {};
    }

    // Two outputs as one call: both checked before either prints, or queued
    // under one OutputID whose completion comes with the second.
    Outcome EmitTwo(Device& device, Job first, Job second) {
        if (!device.Bool(Prop::AsyncMode)) {
            for (const Station* station : {first.station, second.station})
                if (const Outcome blocked = Blocked(device, *station); blocked.code != OPOS_SUCCESS)
                    return blocked;
            if (const Outcome sent = PrintNow(device, *first.station, first.output);
                sent.code != OPOS_SUCCESS)
                return sent;
            return PrintNow(device, *second.station, second.output);
        }
        first.id = second.id = ++lastOutputId_;
        for (Job* job : {&first, &second}) {
            job->output.characterSet = device.Long(Prop::CharacterSet);
            jobs_.push_back(std::move(*job));
        }
        device.Set(Prop::OutputID, lastOutputId_);
        ScheduleRun(device);
        return {};
    }

    Outcome PrintNow(Device& device, const Station& station, Output output) {
        if (const Outcome blocked = Blocked(device, station); blocked.code != OPOS_SUCCESS)
            return blocked;
        output.characterSet = device.Long(Prop::CharacterSet);
        const Outcome sent = device.SendNow(output);
        if (sent.code == OPOS_SUCCESS) {
            Printed(device, station, output);
        } else {
            device.Hardware().Stats().Add(u"PrinterFaultCount");
            device.Set(Prop::ErrorString, device.Hardware().Hardware().LastFailure());
        }
        return sent;
    }

    static void Printed(Device& device, const Station& station, const Output& output) {
        Statistics& stats = device.Hardware().Stats();
        if (output.what == Output::What::PrintData)
            CountPrinted(stats, station, output.data);
        else if (output.what == Output::What::BarCode)
            stats.Add(u"BarcodePrintedCount");
        else if (output.what == Output::What::ChangeSide)
            stats.Add(u"PrintSideChangeCount");
    }

    void Failed(Device& device, const Station& station, LONG code, LONG extended) {
        waitingForAnswer_ = true;
        device.Hardware().Stats().Add(u"PrinterFaultCount");
        device.Set(Prop::ErrorStation, station.code);
        device.Set(Prop::ErrorLevel, PTR_EL_RECOVERABLE);
        const std::u16string reason = device.Hardware().Hardware().LastFailure();
        device.Set(Prop::ErrorString,
                   code == OPOS_E_EXTENDED && extended == OPOS_EPTR_COVER_OPEN ? std::u16string(u"Cover open")
                   : !reason.empty()                                           ? reason
                                     : u"Output failed: " + Number(code) + u"/" + Number(extended));
        device.OutputFailed(code, extended);
    }

    void ScheduleRun(Device& device) {
        if (runPosted_ || waitingForAnswer_ || inFlight_ != 0 || jobs_.empty())
            return;
        runPosted_ = true;
        device.Post([this, &device] {
            runPosted_ = false;
            RunNext(device);
        });
    }

    // One queued output per posted call; a blocked one waits for the
    // application's answer to its ErrorEvent, as does one the device failed.
    void RunNext(Device& device) {
        if (jobs_.empty() || waitingForAnswer_ || inFlight_ != 0 || !device.IsOpen())
            return;
        const Job& job = jobs_.front();
        if (const Outcome blocked = Blocked(device, *job.station); blocked.code != OPOS_SUCCESS)
            return Failed(device, *job.station, blocked.code, blocked.extended);
        inFlight_ = device.NewTicket();
        device.SendLater(inFlight_, job.output);
    }

    std::array<std::optional<std::u16string>, 3> transactions_;
    std::optional<std::u16string> pageMode_;
    std::deque<Job> jobs_;
    std::uint64_t inFlight_ = 0;
    LONG lastOutputId_ = 0;
    bool runPosted_ = false;
    bool waitingForAnswer_ = false;
    std::array<LONG, 3> rotation_{};
    std::array<std::array<std::u16string, kBitmapSlots>, 3> bitmaps_;
    std::array<std::u16string, 2> logos_;
    SlipForm slip_;
};

Printer& Of(Device& device) {
    return static_cast<Printer&>(device.Behaviour());
}

LONG PrintNormal(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Of(device).Normal(device, args.Long(0), args.String(1)));
}

LONG PrintTwoNormal(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(3, 3);
    return device.Finish(Of(device).TwoNormal(device, args.Long(0), args.String(1), args.String(2)));
}

LONG DrawRuledLine(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(6, 6);
    const RuledLine line{args.Long(2), args.Long(3), args.Long(4), args.Long(5)};
    return device.Finish(Of(device).Rule(device, args.Long(0), args.String(1), line));
}

LONG BeginInsertion(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Finish(Of(device).Slip().BeginInsertion(device, args.Long(0)));
}

LONG EndInsertion(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Finish(Of(device).Slip().EndInsertion(device));
}

LONG BeginRemoval(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Finish(Of(device).Slip().BeginRemoval(device, args.Long(0)));
}

LONG EndRemoval(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Finish(Of(device).Slip().EndRemoval(device));
}

LONG PrintImmediate(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Of(device).Immediate(device, args.Long(0), args.String(1)));
}

LONG CutPaper(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Finish(Of(device).Cut(device, args.Long(0)));
}

LONG PrintBarCode(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(7, 7);
    return device.Finish(Of(device).BarCode(device, args.Long(0), args.String(1), args.Long(2), args.Long(3),
                                            args.Long(4), args.Long(5), args.Long(6)));
}

LONG TransactionPrint(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Of(device).Transaction(device, args.Long(0), args.Long(1)));
}

LONG PrintBitmap(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(4, 4);
    return device.Finish(Of(device).Bitmap(device, args.Long(0), args.String(1), args.Long(2), args.Long(3)));
}

LONG PrintMemoryBitmap(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(5, 5);
    return device.Finish(Of(device).MemoryBitmap(device, args.Long(0), args.String(1), args.Long(2),
                                                 args.Long(3), args.Long(4)));
}

LONG SetBitmap(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(5, 5);
    return device.Finish(Of(device).StoreBitmap(device, args.Long(0), args.Long(1), args.String(2),
                                                args.Long(3), args.Long(4)));
}

LONG SetLogo(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Of(device).SetLogo(device, args.Long(0), args.String(1)));
}

LONG ValidateData(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Of(device).Validate(device, args.Long(0), args.String(1)));
}

LONG RotatePrint(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Of(device).Rotate(device, args.Long(0), args.Long(1)));
}

LONG PageModePrint(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Finish(Of(device).PageMode(device, args.Long(0)));
}

LONG MarkFeed(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Finish(Of(device).MarkFeed(device, args.Long(0)));
}

LONG ChangePrintSide(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Finish(Of(device).ChangeSide(device, args.Long(0)));
}

constexpr MethodRow kMethods[] = {
    {u"PrintNormal", PrintNormal},
    {u"PrintImmediate", PrintImmediate},
    {u"CutPaper", CutPaper},
    {u"PrintBarCode", PrintBarCode},
    {u"TransactionPrint", TransactionPrint},
    {u"PrintBitmap", PrintBitmap},
    {u"PrintMemoryBitmap", PrintMemoryBitmap},
    {u"SetBitmap", SetBitmap},
    {u"SetLogo", SetLogo},
    {u"ValidateData", ValidateData},
    {u"RotatePrint", RotatePrint},
    {u"PageModePrint", PageModePrint},
    {u"MarkFeed", MarkFeed},
    {u"ChangePrintSide", ChangePrintSide},
    {u"PrintTwoNormal", PrintTwoNormal},
    {u"DrawRuledLine", DrawRuledLine},
    {u"BeginInsertion", BeginInsertion},
    {u"EndInsertion", EndInsertion},
    {u"BeginRemoval", BeginRemoval},
    {u"EndRemoval", EndRemoval},
};

} // namespace

KindRows PrinterRows() {
    return {PrinterProperties(), kMethods, [] { return std::unique_ptr<KindBehaviour>(new Printer); }};
}

} // namespace zorv::opos
