#include "protocols/escpos/decoder.h"

#include <array>

namespace zorv::opos::escpos {
namespace {

constexpr char kNul = 0x00;
constexpr char kEot = 0x04;
constexpr char kDc4 = 0x14;
constexpr char kCr = 0x0D;
constexpr char kHt = 0x09;
// Larger raster images than this are refused rather than buffered.
constexpr size_t kMostRasterBytes = 8 * 1024 * 1024;
// Commands ended by NUL that run longer than this never end: their start is skipped.
constexpr size_t kMostTabBytes = 40;
constexpr size_t kMostFunctionABytes = 300;

uint8_t At(std::string_view in, size_t i) {
    return static_cast<uint8_t>(in[i]);
}

Command Simple(CommandKind kind, int a = 0, int b = 0, int c = 0) {
    Command command;
    command.kind = kind;
    command.a = a;
    command.b = b;
    command.c = c;
    return command;
}

Command Raw(CommandKind kind, std::string_view bytes) {
    Command command = Simple(kind);
    command.raw = Bytes(bytes);
    return command;
}

// ESC and GS commands with a fixed number of parameter bytes.
struct Fixed {
    char prefix;
    char code;
    int parameters;
    CommandKind kind;
};

constexpr std::array kFixed{
    Fixed{kEsc, '@', 0, CommandKind::Initialize},
    Fixed{kEsc, 'E', 1, CommandKind::Emphasis},
    Fixed{kEsc, '-', 1, CommandKind::Underline},
    Fixed{kEsc, 'a', 1, CommandKind::Justify},
    Fixed{kEsc, 't', 1, CommandKind::CodePage},
    Fixed{kEsc, 'd', 1, CommandKind::FeedLines},
    Fixed{kEsc, 'J', 1, CommandKind::FeedDots},
    Fixed{kEsc, 'e', 1, CommandKind::FeedBack},
    Fixed{kEsc, '!', 1, CommandKind::PrintMode},
    Fixed{kEsc, 'p', 3, CommandKind::DrawerKick},
    Fixed{kEsc, 'i', 0, CommandKind::Cut},
    Fixed{kEsc, 'm', 0, CommandKind::Cut},
    Fixed{kEsc, 'G', 1, CommandKind::Setting},
    Fixed{kEsc, 'M', 1, CommandKind::Setting},
    Fixed{kEsc, '2', 0, CommandKind::Setting},
    Fixed{kEsc, '3', 1, CommandKind::Setting},
    Fixed{kEsc, 'R', 1, CommandKind::Setting},
    Fixed{kEsc, 'V', 1, CommandKind::Setting},
    Fixed{kEsc, '{', 1, CommandKind::Setting},
    Fixed{kEsc, ' ', 1, CommandKind::Setting},
    Fixed{kEsc, '=', 1, CommandKind::Setting},
    Fixed{kEsc, '$', 2, CommandKind::Setting},
    Fixed{kEsc, '\\', 2, CommandKind::Setting},
    Fixed{kEsc, 'c', 2, CommandKind::Setting},
    Fixed{kEsc, 'r', 1, CommandKind::Setting},
    Fixed{kEsc, 'U', 1, CommandKind::Setting},
    Fixed{kGs, '!', 1, CommandKind::Size},
    Fixed{kGs, 'B', 1, CommandKind::Reverse},
    Fixed{kGs, 'a', 1, CommandKind::AutomaticStatusBack},
    Fixed{kGs, 'h', 1, CommandKind::Setting},
    Fixed{kGs, 'w', 1, CommandKind::Setting},
    Fixed{kGs, 'H', 1, CommandKind::Setting},
    Fixed{kGs, 'f', 1, CommandKind::Setting},
    Fixed{kGs, 'r', 1, CommandKind::Setting},
    Fixed{kGs, 'I', 1, CommandKind::Setting},
    Fixed{kGs, 'L', 2, CommandKind::Setting},
    Fixed{kGs, 'W', 2, CommandKind::Setting},
    Fixed{kGs, 'b', 1, CommandKind::Setting},
};

const Fixed* FindFixed(char prefix, char code) {
    for (const Fixed& fixed : kFixed)
        if (fixed.prefix == prefix && fixed.code == code)
            return &fixed;
    return nullptr;
}

// The meaning of the parameters of a fixed command, for the few we show.
Command Interpret(const Fixed& fixed, std::string_view bytes) {
    Command command = Raw(fixed.kind, bytes);
    const int n = bytes.size() > 2 ? At(bytes, 2) : 0;
    switch (fixed.kind) {
    case CommandKind::Emphasis:
    case CommandKind::Reverse:
        command.a = n & 1;
        break;
    case CommandKind::Underline:
        command.a = (n == 1 || n == '1') ? 1 : (n == 2 || n == '2') ? 2 : 0;
        break;
    case CommandKind::Justify:
        command.a = n % 48 <= 2 ? n % 48 : 0;
        break;
    case CommandKind::Size:
        command.a = ((n >> 4) & 7) + 1;
        command.b = (n & 7) + 1;
        break;
    case CommandKind::DrawerKick:
        command.a = (n & 1) ? 5 : 2;
        command.b = At(bytes, 3) * 2;
        command.c = At(bytes, 4) * 2;
        break;
    case CommandKind::Cut:
        command.a = 1;
        break; // ESC i / ESC m: the old partial cut
    default:
        command.a = n;
    }
    return command;
}

std::string Hex(std::string_view bytes) {
    constexpr const char* digits = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes.size() && i < 16; ++i) {
        if (i > 0)
            out.push_back(' ');
        out.push_back(digits[At(bytes, i) >> 4]);
        out.push_back(digits[At(bytes, i) & 0xF]);
    }
    if (bytes.size() > 16)
        out += " ...";
    return out;
}

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string OnOff(int value) {
    return value != 0 ? "on" : "off";
}

CodePage PageFor(uint8_t escT) {
    for (const CodePageInfo& info : CodePages())
        if (info.escT == escT)
            return info.page;
    return CodePage::Pc437;
}

} // namespace

std::vector<Command> Decoder::Feed(std::string_view bytes) {
    pending_ += bytes;
    std::vector<Command> out;
    size_t at = 0;
    while (at < pending_.size()) {
        size_t used = 0;
        if (One(std::string_view(pending_).substr(at), used, out) == Step::NeedMore)
            break;
        at += used;
    }
    pending_.erase(0, at);
    return out;
}

// The first bytes of a command that cannot be read, shown as unknown; decoding goes on after them.
Decoder::Step Decoder::Skip(std::string_view in, size_t count, size_t& used, std::vector<Command>& out) {
    used = count;
    out.push_back(Raw(CommandKind::Unknown, in.substr(0, count)));
    return Step::Done;
}

Decoder::Step Decoder::One(std::string_view in, size_t& used, std::vector<Command>& out) {
    const char first = in[0];
    if (first == kEsc || first == kGs || first == kDle) {
        if (in.size() < 2)
            return Step::NeedMore;
        if (first == kEsc)
            return Escape(in, used, out);
        return first == kGs ? Group(in, used, out) : DataLink(in, used, out);
    }
    used = 1;
    if (first == kLf)
        out.push_back(Simple(CommandKind::LineFeed));
    else if (first == kCr || first == kNul)
        ; // carriage return and padding move nothing on a receipt printer
    else if (At(in, 0) < 0x20 && first != kHt)
        out.push_back(Raw(CommandKind::Unknown, in.substr(0, 1)));
    else
        Text(in, used, out);
    return Step::Done;
}

void Decoder::Text(std::string_view in, size_t& used, std::vector<Command>& out) {
    size_t end = 0;
    while (end < in.size() && (At(in, end) >= 0x20 || in[end] == kHt))
        ++end;
    used = end;
    const std::u16string text = Decode(in.substr(0, end), PageFor(codePage_));
    if (!out.empty() && out.back().kind == CommandKind::Text)
        out.back().text += text;
    else {
        Command command = Simple(CommandKind::Text);
        command.text = text;
        out.push_back(std::move(command));
    }
}

Decoder::Step Decoder::Escape(std::string_view in, size_t& used, std::vector<Command>& out) {
    const char code = in[1];
    if (code == '*')
        return BitImage(in, used, out);
    if (code == 'D') { // tab positions, ended by NUL
        const size_t end = in.find(kNul, 2);
        if (end == std::string_view::npos)
            return in.size() > kMostTabBytes ? Skip(in, 2, used, out) : Step::NeedMore;
        used = end + 1;
        out.push_back(Raw(CommandKind::Setting, in.substr(0, used)));
        return Step::Done;
    }
    const Fixed* fixed = FindFixed(kEsc, code);
    if (fixed == nullptr) {
        return Skip(in, 2, used, out);
    }
    if (in.size() < static_cast<size_t>(2 + fixed->parameters))
        return Step::NeedMore;
    used = 2 + fixed->parameters;
    Command command = Interpret(*fixed, in.substr(0, used));
    if (command.kind == CommandKind::Initialize) {
        codePage_ = 0;
        barcode_ = {};
        qrModule_ = pdf417Module_ = 3;
    } else if (command.kind == CommandKind::CodePage) {
        codePage_ = static_cast<uint8_t>(command.a);
    }
    out.push_back(std::move(command));
    return Step::Done;
}

Decoder::Step Decoder::Group(std::string_view in, size_t& used, std::vector<Command>& out) {
    const char code = in[1];
    if (code == 'k')
        return Barcode(in, used, out);
    if (code == '(')
        return Function(in, used, out);
    if (code == 'v')
        return RasterImage(in, used, out);
    if (code == 'V') {
        if (in.size() < 3)
            return Step::NeedMore;
        const uint8_t m = At(in, 2);
        const bool feeds = m == 65 || m == 66;
        if (feeds && in.size() < 4)
            return Step::NeedMore;
        used = feeds ? 4 : 3;
        const bool partial = feeds ? m == 66 : (m & 1) != 0;
        out.push_back(Simple(CommandKind::Cut, partial ? 1 : 0, feeds ? At(in, 3) : 0));
        out.back().raw = Bytes(in.substr(0, used));
        return Step::Done;
    }
    const Fixed* fixed = FindFixed(kGs, code);
    if (fixed == nullptr) {
        return Skip(in, 2, used, out);
    }
    if (in.size() < static_cast<size_t>(2 + fixed->parameters))
        return Step::NeedMore;
    used = 2 + fixed->parameters;
    const int n = fixed->parameters > 0 ? At(in, 2) : 0;
    if (code == 'h')
        barcode_.height = n;
    else if (code == 'w')
        barcode_.moduleWidth = n;
    else if (code == 'H')
        barcode_.hri = static_cast<HriPosition>(n & 3);
    out.push_back(Interpret(*fixed, in.substr(0, used)));
    return Step::Done;
}

Decoder::Step Decoder::DataLink(std::string_view in, size_t& used, std::vector<Command>& out) {
    const char code = in[1];
    if (code == kEot || code == 0x05) {
        if (in.size() < 3)
            return Step::NeedMore;
        used = 3;
        out.push_back(Raw(code == kEot ? CommandKind::StatusQuery : CommandKind::Setting, in.substr(0, 3)));
        out.back().a = At(in, 2);
        return Step::Done;
    }
    if (code == kDc4) { // real-time requests: fn 1 is a drawer pulse of t x 100 ms
        if (in.size() < 3)
            return Step::NeedMore;
        const uint8_t fn = At(in, 2);
        const size_t length = fn == 8 ? 10 : fn == 7 ? 4 : 5;
        if (in.size() < length)
            return Step::NeedMore;
        used = length;
        if (fn == 1)
            out.push_back(
                Simple(CommandKind::DrawerKick, (At(in, 3) & 1) ? 5 : 2, At(in, 4) * 100, At(in, 4) * 100));
        else
            out.push_back(Raw(CommandKind::Setting, in.substr(0, length)));
        return Step::Done;
    }
    return Skip(in, 1, used, out);
}

// GS k m: functions A (m 0-6) end with NUL, functions B (m 65-73) give a length.
Decoder::Step Decoder::Barcode(std::string_view in, size_t& used, std::vector<Command>& out) {
    static constexpr std::array<Symbology, 9> kByNumber{
        Symbology::UpcA, Symbology::UpcE,    Symbology::Ean13,  Symbology::Ean8,   Symbology::Code39,
        Symbology::Itf,  Symbology::Codabar, Symbology::Code93, Symbology::Code128};
    if (in.size() < 3)
        return Step::NeedMore;
    const uint8_t m = At(in, 2);
    size_t start = 0, length = 0;
    int index = -1;
    if (m <= 6) {
        const size_t end = in.find(kNul, 3);
        if (end == std::string_view::npos)
            return in.size() > kMostFunctionABytes ? Skip(in, 3, used, out) : Step::NeedMore;
        start = 3;
        length = end - 3;
        used = end + 1;
        index = m;
    } else if (m >= 65 && m <= 73) {
        if (in.size() < 4 || in.size() < 4u + At(in, 3))
            return Step::NeedMore;
        start = 4;
        length = At(in, 3);
        used = 4 + length;
        index = m - 65;
    } else {
        return Skip(in, 3, used, out);
    }
    Command command = Simple(CommandKind::Barcode);
    command.symbology = kByNumber[index];
    command.raw = Bytes(in.substr(start, length));
    command.barcode = barcode_;
    out.push_back(std::move(command));
    return Step::Done;
}

// GS ( k pL pH cn fn ...: 2-D symbols are stored, then printed by a later function.
Decoder::Step Decoder::Function(std::string_view in, size_t& used, std::vector<Command>& out) {
    if (in.size() < 5)
        return Step::NeedMore;
    const size_t length = At(in, 3) | (At(in, 4) << 8);
    if (in.size() < 5 + length)
        return Step::NeedMore;
    used = 5 + length;
    const std::string_view body = in.substr(5, length);
    if (in[2] != 'k' || body.size() < 2) {
        out.push_back(Raw(CommandKind::Setting, in.substr(0, used)));
        return Step::Done;
    }
    const char cn = body[0], fn = body[1];
    Bytes& stored = cn == '1' ? storedQr_ : storedPdf417_;
    if ((cn == '1' || cn == '0') && fn == 'P' && body.size() >= 3) {
        stored = Bytes(body.substr(3));
        out.push_back(Raw(CommandKind::Setting, in.substr(0, std::min<size_t>(used, 16))));
    } else if ((cn == '1' || cn == '0') && fn == 'Q') {
        Command command = Simple(CommandKind::Symbol2D);
        command.symbology = cn == '1' ? Symbology::Qr : Symbology::Pdf417;
        command.raw = stored;
        command.barcode.moduleWidth = cn == '1' ? qrModule_ : pdf417Module_;
        out.push_back(std::move(command));
    } else {
        if (fn == 'C' && body.size() >= 3)
            (cn == '1' ? qrModule_ : pdf417Module_) = At(body, 2);
        out.push_back(Raw(CommandKind::Setting, in.substr(0, used)));
    }
    return Step::Done;
}

Decoder::Step Decoder::RasterImage(std::string_view in, size_t& used, std::vector<Command>& out) {
    if (in.size() < 8)
        return Step::NeedMore;
    const size_t rowBytes = At(in, 4) | (At(in, 5) << 8);
    const size_t rows = At(in, 6) | (At(in, 7) << 8);
    if (in[2] != '0' && in[2] != 0) {
        return Skip(in, 3, used, out);
    }
    if (rowBytes * rows > kMostRasterBytes || rowBytes == 0 || rows == 0) {
        return Skip(in, 8, used, out);
    }
    if (in.size() < 8 + rowBytes * rows)
        return Step::NeedMore;
    used = 8 + rowBytes * rows;
    Command command = Simple(CommandKind::Raster);
    command.image.width = static_cast<int>(rowBytes * 8);
    command.image.height = static_cast<int>(rows);
    command.image.dots.resize(rowBytes * 8 * rows);
    for (size_t y = 0; y < rows; ++y)
        for (size_t x = 0; x < rowBytes * 8; ++x)
            command.image.dots[y * rowBytes * 8 + x] = (At(in, 8 + y * rowBytes + x / 8) >> (7 - x % 8)) & 1;
    out.push_back(std::move(command));
    return Step::Done;
}

// ESC * m nL nH: one band of column graphics, 8 or 24 dots high. Shown as a
// raster band so the picture keeps it.
Decoder::Step Decoder::BitImage(std::string_view in, size_t& used, std::vector<Command>& out) {
    if (in.size() < 5)
        return Step::NeedMore;
    const uint8_t m = At(in, 2);
    const size_t columns = At(in, 3) | (At(in, 4) << 8);
    const size_t bytesPerColumn = (m == 32 || m == 33) ? 3 : 1;
    if (in.size() < 5 + columns * bytesPerColumn)
        return Step::NeedMore;
    used = 5 + columns * bytesPerColumn;
    Command command = Simple(CommandKind::Raster);
    const int height = static_cast<int>(bytesPerColumn * 8);
    command.image.width = static_cast<int>(columns);
    command.image.height = height;
    command.image.dots.resize(columns * height);
    for (size_t x = 0; x < columns; ++x)
        for (int y = 0; y < height; ++y) {
            const uint8_t b = At(in, 5 + x * bytesPerColumn + y / 8);
            command.image.dots[y * columns + x] = (b >> (7 - y % 8)) & 1;
        }
    out.push_back(std::move(command));
    return Step::Done;
}

std::string Describe(const Command& command) {
    static constexpr std::array<const char*, 3> kJustify{"left", "center", "right"};
    switch (command.kind) {
    case CommandKind::Text:
        return "text \"" + Utf8(command.text) + "\"";
    case CommandKind::LineFeed:
        return "line feed";
    case CommandKind::Initialize:
        return "initialize";
    case CommandKind::Emphasis:
        return "bold " + OnOff(command.a);
    case CommandKind::Underline:
        return "underline " + std::to_string(command.a);
    case CommandKind::PrintMode:
        return "print mode " + Hex(command.raw.substr(2));
    case CommandKind::Size:
        return "size " + std::to_string(command.a) + "x" + std::to_string(command.b);
    case CommandKind::Justify:
        return std::string("align ") + kJustify[command.a];
    case CommandKind::Reverse:
        return "reverse " + OnOff(command.a);
    case CommandKind::CodePage:
        return "code page " + std::to_string(command.a);
    case CommandKind::FeedLines:
        return "feed " + std::to_string(command.a) + " lines";
    case CommandKind::FeedDots:
        return "feed " + std::to_string(command.a) + " dots";
    case CommandKind::FeedBack:
        return "feed back " + std::to_string(command.a) + " lines";
    case CommandKind::Cut:
        return std::string("cut ") + (command.a ? "partial" : "full") +
               (command.b ? " after " + std::to_string(command.b) + " dots" : "");
    case CommandKind::DrawerKick:
        return "drawer kick pin " + std::to_string(command.a) + " on " + std::to_string(command.b) +
               " ms off " + std::to_string(command.c) + " ms";
    case CommandKind::StatusQuery:
        return "status query " + std::to_string(command.a);
    case CommandKind::AutomaticStatusBack:
        return "automatic status back " + Hex(command.raw.substr(2));
    case CommandKind::Barcode:
        return std::string("barcode ") + SymbologyName(command.symbology) + " \"" + command.raw +
               "\" height " + std::to_string(command.barcode.height) + " width " +
               std::to_string(command.barcode.moduleWidth);
    case CommandKind::Symbol2D:
        return std::string(SymbologyName(command.symbology)) + " \"" + command.raw + "\"";
    case CommandKind::Raster:
        return "image " + std::to_string(command.image.width) + "x" + std::to_string(command.image.height);
    case CommandKind::Setting:
        return "setting " + Hex(command.raw);
    case CommandKind::Unknown:
        return "unknown " + Hex(command.raw);
    }
    return "?";
}

} // namespace zorv::opos::escpos
