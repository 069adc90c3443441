#include "backends/escpos/escpos_printer.h"

#include <algorithm>

#include "protocols/escpos/bmp_reader.h"
#include "protocols/escpos/escape_translation.h"
#include "backends/escpos/escpos_codes.h"
#include "model/opos_codes.h"
#include "platform/com/text.h"

namespace zorv::opos::escpos_device {
namespace {

constexpr std::u16string_view kLevelNames[] = {u"Internal", u"External", u"Interactive"};
constexpr escpos::StatusQuery kPrinterQueries[] = {
    escpos::StatusQuery::Printer, escpos::StatusQuery::OfflineCause, escpos::StatusQuery::PaperSensor};

escpos::Justification Alignment(LONG alignment) {
    if (alignment == PTR_BC_CENTER)
        return escpos::Justification::Center;
    return alignment == PTR_BC_RIGHT ? escpos::Justification::Right : escpos::Justification::Left;
}

escpos::HriPosition TextPosition(LONG position) {
    switch (position) {
    case PTR_BC_TEXT_NONE:
        return escpos::HriPosition::None;
    case PTR_BC_TEXT_ABOVE:
        return escpos::HriPosition::Above;
    default:
        return escpos::HriPosition::Below;
    }
}

std::u16string Wide(const std::string& text) {
    return com::Utf8ToUtf16(text);
}

std::string Narrow(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t c : text)
        bytes += static_cast<char>(c & 0xFF);
    return bytes;
}

std::u16string Widen(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text += static_cast<char16_t>(static_cast<unsigned char>(c));
    return text;
}

} // namespace

EscPosPrinter::EscPosPrinter(const Profile& profile)
    : PortBackend(ReadSettings(profile.settings)), profile_(profile) {}

// ESC @ leaves every mode plain; the code page and status back follow.
HealthReport EscPosPrinter::Prepare() {
    std::string setup = escpos::Initialize();
    setup += escpos::SelectCodePage(escpos::Info(settings_.codePage).escT);
    setup += escpos::AutomaticStatusBack(settings_.statusBack ? escpos::kAsbAll : 0);
    return SetUp(setup, kPrinterQueries, OPOS_E_TIMEOUT);
}

// The cover tells its own change; the two paper sensors one status for
// the roll as a whole (empty, near end or fine), after both properties
// hold their new values.
void EscPosPrinter::StatusChanged(const escpos::PrinterStatus& status) {
    if (status.coverOpen && status.coverOpen != shown_.coverOpen) {
        shown_.coverOpen = status.coverOpen;
        events_->SensorChanged(Prop::CoverOpen, *status.coverOpen,
                               *status.coverOpen ? PTR_SUE_COVER_OPEN : PTR_SUE_COVER_OK);
    }
    const auto paper = [](const escpos::PrinterStatus& s) {
        return s.paperEmpty.value_or(false)     ? PTR_SUE_REC_EMPTY
               : s.paperNearEnd.value_or(false) ? PTR_SUE_REC_NEAREMPTY
                                                : PTR_SUE_REC_PAPEROK;
    };
    const LONG before = paper(shown_);
    std::vector<std::pair<Prop, bool>> changed;
    if (status.paperNearEnd && status.paperNearEnd != shown_.paperNearEnd)
        changed.emplace_back(Prop::RecNearEnd, *status.paperNearEnd);
    if (status.paperEmpty && status.paperEmpty != shown_.paperEmpty)
        changed.emplace_back(Prop::RecEmpty, *status.paperEmpty);
    if (status.paperNearEnd)
        shown_.paperNearEnd = status.paperNearEnd;
    if (status.paperEmpty)
        shown_.paperEmpty = status.paperEmpty;
    const LONG after = paper(shown_);
    for (std::size_t i = 0; i < changed.size(); ++i) {
        const bool last = i + 1 == changed.size();
        events_->SensorChanged(changed[i].first, changed[i].second,
                               last && after != before ? std::optional<LONG>(after) : std::nullopt);
    }
}

void EscPosPrinter::LinkChanged(bool up, bool answering) {
    if (!connected_)
        return;
    PortBackend::LinkChanged(up, answering);
    // A link that comes back may lead to a printer switched off meanwhile:
    // it is set up again.
    const bool cameBack = up && !linkUp_;
    linkUp_ = up;
    if (cameBack)
        Prepare();
}

Outcome EscPosPrinter::Fail(LONG code, LONG extended, std::u16string reason) {
    lastFailure_ = std::move(reason);
    return {code, extended};
}

// The bytes go out on the writer's thread; the ticket completes when they
// are out, so a synchronous call waits with the apartment running.
void EscPosPrinter::Send(std::uint64_t ticket, const Output& output) {
    lastFailure_.clear();
    std::string bytes;
    Outcome outcome = Encode(output, bytes);
    const escpos::PrinterStatus& status = port_->Status();
    if (outcome.code == OPOS_SUCCESS && !port_->Up())
        outcome = Fail(OPOS_E_NOHARDWARE, 0, Wide(settings_.connectionText) + u": not connected");
    else if (outcome.code == OPOS_SUCCESS && status.coverOpen.value_or(false))
        outcome = Fail(OPOS_E_EXTENDED, OPOS_EPTR_COVER_OPEN, u"Cover open");
    else if (outcome.code == OPOS_SUCCESS && status.paperEmpty.value_or(false))
        outcome = Fail(OPOS_E_EXTENDED, OPOS_EPTR_REC_EMPTY, u"Receipt paper empty");
    if (outcome.code != OPOS_SUCCESS || bytes.empty())
        return events_->OutputDone(ticket, outcome.code, outcome.extended);
    WriteLater(std::move(bytes), [this, ticket](const transport::LinkStatus& sent) {
        if (!sent.ok())
            Fail(LinkFailureCode(sent.failure), 0, Wide(sent.text));
        events_->OutputDone(ticket, sent.ok() ? OPOS_SUCCESS : LinkFailureCode(sent.failure), 0);
    });
}

Outcome EscPosPrinter::Encode(const Output& output, std::string& bytes) {
    switch (output.what) {
    case Output::What::PrintData: {
        escpos::TranslationSettings translation;
        translation.bitmap = [this](int number) { return StoredBitmap(number); };
        translation.codePage =
            escpos::FindCodePage(static_cast<uint16_t>(output.characterSet)).value_or(settings_.codePage);
        const escpos::Translation job = escpos::TranslatePrintData(output.data, translation);
        if (!job.ok())
            return Fail(OPOS_E_ILLEGAL, 0, Wide(job.error));
        if (translation.codePage != settings_.codePage)
            bytes += escpos::SelectCodePage(escpos::Info(translation.codePage).escT);
        bytes += job.bytes;
        if (translation.codePage != settings_.codePage)
            bytes += escpos::SelectCodePage(escpos::Info(settings_.codePage).escT);
        missing_ += job.missingCharacters;
        return {};
    }
    case Output::What::BarCode:
        return EncodeBarcode(output, bytes);
    case Output::What::Bitmap:
        return EncodeBitmap(output, bytes);
    case Output::What::RuledLine:
        return EncodeRuledLine(output, bytes);
    case Output::What::OpenDrawer:
        bytes = escpos::DrawerKick(settings_.drawerPin, settings_.drawerPulseMs, settings_.drawerPulseMs * 2);
        return {};
    default:
        // Mark feed, sides, screens and beeps: nothing an ESC/POS receipt printer does.
        return {};
    }
}

Outcome EscPosPrinter::EncodeBarcode(const Output& output, std::string& bytes) {
    const auto symbology = escpos::FromOposSymbology(output.params[0]);
    if (!symbology)
        return Fail(OPOS_E_ILLEGAL, 0,
                    u"symbology " + Wide(std::to_string(output.params[0])) + u" not supported");
    escpos::BarcodeOptions options;
    options.height = std::clamp<LONG>(output.params[1], 1, 255);
    options.moduleWidth = std::clamp<LONG>(output.params[2], 2, 6);
    options.hri = TextPosition(output.params[4]);
    const escpos::EncodedBarcode code =
        escpos::EncodeBarcode(*symbology, escpos::BarcodeBytes(output.data, *symbology), options);
    if (!code.ok())
        return Fail(OPOS_E_ILLEGAL, 0, Wide(code.error));
    bytes = escpos::Justify(Alignment(output.params[3])) + code.bytes +
            escpos::Justify(escpos::Justification::Left);
    return {};
}

Outcome EscPosPrinter::EncodeBitmap(const Output& output, std::string& bytes) {
    const int dots =
        output.params[0] > 0 ? std::min<int>(output.params[0], settings_.PaperDots()) : settings_.PaperDots();
    const escpos::ReadBitmap picture = output.params[2] == 1
                                           ? escpos::ReadBmp(Narrow(output.data), dots)
                                           : escpos::ReadBmpFile(com::Utf16ToUtf8(output.data), dots);
    if (!picture.ok())
        return Fail(OPOS_E_EXTENDED, OPOS_EPTR_BADFORMAT, Wide(picture.error));
    bytes = escpos::Justify(Alignment(output.params[1])) + escpos::RasterImage(picture.image) +
            escpos::Justify(escpos::Justification::Left);
    return {};
}

HealthReport EscPosPrinter::CheckHealth(LONG level) {
    const std::u16string name(kLevelNames[level - 1]);
    if (!port_->Up())
        return {OPOS_E_FAILURE,
                name + u" HCheck: Failed, " + Wide(settings_.connectionText) + u" not connected"};
    if (!ReadStatus(kPrinterQueries))
        return {OPOS_E_FAILURE, name + u" HCheck: Failed, no status answer"};
    const escpos::PrinterStatus& status = port_->Status();
    std::u16string state = status.coverOpen.value_or(false)      ? u"cover open"
                           : status.paperEmpty.value_or(false)   ? u"paper empty"
                           : status.paperNearEnd.value_or(false) ? u"paper near end"
                                                                 : u"ready";
    if (level != OPOS_CH_INTERNAL) {
        if (const transport::LinkStatus sent = port_->Write(TestReceipt()); !sent.ok())
            return {OPOS_E_FAILURE, name + u" HCheck: Failed, " + Wide(sent.text)};
    }
    return {OPOS_SUCCESS, name + u" HCheck: Successful, " + state};
}

std::string EscPosPrinter::TestReceipt() const {
    using namespace escpos;
    const CodePageInfo& page = Info(settings_.codePage);
    std::string bytes = Initialize() + SelectCodePage(page.escT) + Justify(Justification::Center);
    const std::u16string lines = u"ZORV test receipt\n" + profile_.name + u"\n" +
                                 Wide(settings_.connectionText) + u"\ncode page " + Wide(page.name) +
                                 u": \u00E9\u00E0\u00E7 \u20AC\n";
    EncodeInto(lines, settings_.codePage, bytes);
    for (int size = 1; size <= 3; ++size) {
        bytes += CharacterSize(size, size);
        EncodeInto(u"Size " + Wide(std::to_string(size)) + u"\n", settings_.codePage, bytes);
    }
    bytes += CharacterSize(1, 1);
    bytes += escpos::EncodeBarcode(Symbology::Code128, "ZORV-TEST").bytes;
    bytes += Justify(Justification::Left) + FeedLines(4);
    if (settings_.cutter)
        bytes += Cut(CutKind::Partial);
    return bytes;
}

LONG EscPosPrinter::CompareFirmware(std::u16string_view, LONG&) {
    return OPOS_E_ILLEGAL;
}

LONG EscPosPrinter::UpdateFirmware(std::u16string_view) {
    return OPOS_E_ILLEGAL;
}

// DirectIO 100: pString's characters go to the printer as bytes; whatever
// comes back within pData milliseconds (at most 5000) is returned in
// pString. DirectIO 101: real-time status query pData (1 to 4); the answer
// byte comes back in pData. DirectIO 102: characters printed as '?' since open.
std::optional<LONG> EscPosPrinter::DirectIO(LONG command, LONG& data, std::u16string& text) {
    switch (command) {
    case kDirectRawBytes: {
        if (!port_->Up())
            return OPOS_E_NOHARDWARE;
        text = Widen(port_->Capture(Narrow(text), std::clamp<LONG>(data, 0, 5000)));
        return OPOS_SUCCESS;
    }
    case kDirectStatusQuery: {
        if (data < 1 || data > 4)
            return OPOS_E_ILLEGAL;
        if (!port_->Up())
            return OPOS_E_NOHARDWARE;
        const auto answer = port_->Query(static_cast<escpos::StatusQuery>(data), settings_.timeoutMs);
        if (!answer)
            return OPOS_E_TIMEOUT;
        data = *answer;
        return OPOS_SUCCESS;
    }
    case kDirectMissingCharacters:
        data = missing_;
        return OPOS_SUCCESS;
    default:
        return std::nullopt;
    }
}

std::u16string EscPosPrinter::Interface() const {
    return u"ESC/POS " + Wide(transport::ConnectionText(settings_.connection));
}

} // namespace zorv::opos::escpos_device
