#include "protocols/escpos/barcodes.h"

#include <algorithm>
#include <array>

namespace zorv::opos::escpos {
namespace {

struct SymbologyRow {
    Symbology symbology;
    int opos;    // PTR_BCS_*
    uint8_t gsK; // GS k function B number; 0 for the two-dimensional ones
    const char* name;
};

constexpr std::array kSymbologies{
    SymbologyRow{Symbology::UpcA, 101, 65, "UPC-A"},
    SymbologyRow{Symbology::UpcE, 102, 66, "UPC-E"},
    SymbologyRow{Symbology::Ean8, 103, 68, "EAN-8"},
    SymbologyRow{Symbology::Ean13, 104, 67, "EAN-13"},
    SymbologyRow{Symbology::Itf, 106, 70, "ITF"},
    SymbologyRow{Symbology::Codabar, 107, 71, "Codabar"},
    SymbologyRow{Symbology::Code39, 108, 69, "Code 39"},
    SymbologyRow{Symbology::Code93, 109, 72, "Code 93"},
    SymbologyRow{Symbology::Code128, 110, 73, "Code 128"},
    SymbologyRow{Symbology::Pdf417, 201, 0, "PDF417"},
    SymbologyRow{Symbology::Qr, 204, 0, "QR Code"},
};

const SymbologyRow& Row(Symbology symbology) {
    return *std::find_if(kSymbologies.begin(), kSymbologies.end(),
                         [&](const SymbologyRow& row) { return row.symbology == symbology; });
}

bool AllDigits(std::string_view data) {
    return std::all_of(data.begin(), data.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AllIn(std::string_view data, std::string_view allowed) {
    return std::all_of(data.begin(), data.end(),
                       [&](char c) { return allowed.find(c) != std::string_view::npos; });
}

bool AllAscii(std::string_view data) {
    return std::all_of(data.begin(), data.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UPC and EAN numbers: digits only, of one of two lengths; with the longer
// one the last digit is the check digit and must be right.
std::string EanError(std::string_view data, size_t without, size_t with, const char* name) {
    if (!AllDigits(data))
        return std::string(name) + " takes digits only";
    if (data.size() != without && data.size() != with)
        return std::string(name) + " takes " + std::to_string(without) + " digits, or " +
               std::to_string(with) + " with the check digit";
    if (data.size() == with && EanCheckDigit(data.substr(0, without)) != data.back())
        return std::string(name) + " check digit should be " + EanCheckDigit(data.substr(0, without));
    return {};
}

// The six digits of the zero-suppressed form of an 11-digit UPC-A number
// (number system, manufacturer, product), when the number has one.
std::optional<std::string> ZeroSuppressed(std::string_view upcA) {
    const std::string_view m = upcA.substr(1, 5);
    const std::string_view p = upcA.substr(6, 5);
    const std::string_view tail = m.substr(2);
    if ((tail == "000" || tail == "100" || tail == "200") && p.substr(0, 2) == "00")
        return std::string(m.substr(0, 2)) + std::string(p.substr(2)) + m[2];
    if (m.substr(3) == "00" && p.substr(0, 3) == "000")
        return std::string(m.substr(0, 3)) + std::string(p.substr(3)) + '3';
    if (m[4] == '0' && p.substr(0, 4) == "0000")
        return std::string(m.substr(0, 4)) + p[4] + '4';
    if (p.substr(0, 4) == "0000" && p[4] >= '5')
        return std::string(m) + p[4];
    return std::nullopt;
}

// 6 to 8 digits are the zero-suppressed form already; 11 or 12 digits are
// the UPC-A form, which only some numbers have a UPC-E for.
std::string UpcEError(std::string_view data) {
    if (!AllDigits(data))
        return "UPC-E takes digits only";
    if (data.size() == 11 || data.size() == 12) {
        if (data.front() != '0')
            return "UPC-E number system must be 0";
        if (data.size() == 12 && EanCheckDigit(data.substr(0, 11)) != data.back())
            return std::string("UPC-E check digit should be ") + EanCheckDigit(data.substr(0, 11));
        if (!ZeroSuppressed(data.substr(0, 11)))
            return "this UPC-A number has no zero-suppressed UPC-E form";
        return {};
    }
    if (data.size() < 6 || data.size() > 8)
        return "UPC-E takes 6 to 8 digits, or the 11 or 12 digits of its UPC-A form";
    if (data.size() > 6 && data.front() != '0')
        return "UPC-E number system must be 0";
    return {};
}

// What the printer is given for UPC-E: the 8-digit form whenever the UPC-A one came in.
std::string UpcEData(std::string_view data) {
    if (data.size() < 11)
        return std::string(data);
    return "0" + *ZeroSuppressed(data.substr(0, 11)) + EanCheckDigit(data.substr(0, 11));
}

std::string Code39Error(std::string_view data) {
    std::string_view body = data;
    if (body.size() >= 2 && body.front() == '*' && body.back() == '*')
        body = body.substr(1, body.size() - 2);
    if (body.empty())
        return "Code 39 needs at least one character";
    if (!AllIn(body, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ -.$/+%"))
        return "Code 39 takes digits, capital letters, space and - . $ / + % only";
    return {};
}

std::string ItfError(std::string_view data) {
    if (data.empty() || !AllDigits(data))
        return "ITF takes digits only";
    if (data.size() % 2 != 0)
        return "ITF takes an even number of digits";
    return {};
}

std::string CodabarError(std::string_view data) {
    const auto isStartStop = [](char c) { return (c >= 'A' && c <= 'D') || (c >= 'a' && c <= 'd'); };
    if (data.size() < 3 || !isStartStop(data.front()) || !isStartStop(data.back()))
        return "Codabar starts and ends with A, B, C or D around at least one character";
    if (!AllIn(data.substr(1, data.size() - 2), "0123456789-$:/.+"))
        return "Codabar takes digits and - $ : / . + between its start and stop characters";
    return {};
}

std::string Code93Error(std::string_view data) {
    if (data.empty())
        return "Code 93 needs at least one character";
    return AllAscii(data) ? std::string() : "Code 93 takes ASCII characters only";
}

// Data starting with '{' already names its code set (the printer's "{A",
// "{B", "{C"); otherwise we choose A or B and double any '{'.
std::string Code128Prepared(std::string_view data, std::string& error) {
    if (data.empty()) {
        error = "Code 128 needs at least one character";
        return {};
    }
    if (!AllAscii(data)) {
        error = "Code 128 takes ASCII characters only";
        return {};
    }
    if (data.front() == '{') {
        if (data.size() < 3 || std::string_view("ABC").find(data[1]) == std::string_view::npos)
            error = "Code 128 data starting with { must name code set A, B or C";
        return std::string(data);
    }
    const bool control = std::any_of(data.begin(), data.end(), [](char c) { return c < 0x20; });
    const bool lower = std::any_of(data.begin(), data.end(), [](char c) { return c >= 0x60; });
    if (control && lower) {
        error = "Code 128 cannot mix control characters and lower case without code set changes";
        return {};
    }
    std::string out = control ? "{A" : "{B";
    for (const char c : data) {
        out.push_back(c);
        if (c == '{')
            out.push_back('{');
    }
    return out;
}

constexpr size_t kMost1D = 255;

size_t QrCapacity(QrCorrection correction) {
    switch (correction) {
    case QrCorrection::L:
        return 2953;
    case QrCorrection::M:
        return 2331;
    case QrCorrection::Q:
        return 1663;
    case QrCorrection::H:
        return 1273;
    }
    return 0;
}

constexpr size_t kPdf417Capacity = 1850;

char Byte(int value) {
    return static_cast<char>(static_cast<uint8_t>(value));
}

// GS ( k pL pH cn fn parameters: pL pH count the bytes after them.
Bytes Function(char cn, char fn, std::string_view parameters) {
    const size_t length = parameters.size() + 2;
    Bytes out{kGs, '(', 'k', Byte(length & 0xFF), Byte(length >> 8), cn, fn};
    out += parameters;
    return out;
}

Bytes OneDimensional(Symbology symbology, std::string_view data, const BarcodeOptions& options) {
    Bytes out{kGs, 'H', Byte(static_cast<int>(options.hri))};
    out += Bytes{kGs, 'h', Byte(std::clamp(options.height, 1, 255))};
    out += Bytes{kGs, 'w', Byte(std::clamp(options.moduleWidth, 2, 6))};
    out += Bytes{kGs, 'k', Byte(Row(symbology).gsK), Byte(static_cast<int>(data.size()))};
    out += data;
    return out;
}

Bytes QrCode(std::string_view data, const BarcodeOptions& options) {
    Bytes out = Function('1', 'A', Bytes{'2', 0});
    out += Function('1', 'C', Bytes{Byte(std::clamp(options.moduleWidth, 1, 16))});
    out += Function('1', 'E', Bytes{Byte(static_cast<int>(options.qrCorrection))});
    out += Function('1', 'P', "0" + std::string(data));
    out += Function('1', 'Q', "0");
    return out;
}

Bytes Pdf417(std::string_view data, const BarcodeOptions& options) {
    Bytes out = Function('0', 'C', Bytes{Byte(std::clamp(options.moduleWidth, 2, 8))});
    out += Function('0', 'D', Bytes{3});
    out += Function('0', 'E', Bytes{'0', Byte('0' + std::clamp(options.pdf417Level, 0, 8))});
    out += Function('0', 'P', "0" + std::string(data));
    out += Function('0', 'Q', "0");
    return out;
}

} // namespace

std::optional<Symbology> FromOposSymbology(int number) {
    for (const SymbologyRow& row : kSymbologies)
        if (row.opos == number)
            return row.symbology;
    return std::nullopt;
}

int OposSymbology(Symbology symbology) {
    return Row(symbology).opos;
}
const char* SymbologyName(Symbology symbology) {
    return Row(symbology).name;
}

char EanCheckDigit(std::string_view digits) {
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string BarcodeDataError(Symbology symbology, std::string_view data) {
    switch (symbology) {
    case Symbology::UpcA:
        return EanError(data, 11, 12, "UPC-A");
    case Symbology::UpcE:
        return UpcEError(data);
    case Symbology::Ean8:
        return EanError(data, 7, 8, "EAN-8");
    case Symbology::Ean13:
        return EanError(data, 12, 13, "EAN-13");
    case Symbology::Code39:
        return Code39Error(data);
    case Symbology::Itf:
        return ItfError(data);
    case Symbology::Codabar:
        return CodabarError(data);
    case Symbology::Code93:
        return Code93Error(data);
    case Symbology::Code128: {
        std::string error;
        const std::string prepared = Code128Prepared(data, error);
        if (error.empty() && prepared.size() > kMost1D)
            error = "Code 128 data is too long";
        return error;
    }
    case Symbology::Qr:
        return data.empty() ? "a QR code needs data" : std::string();
    case Symbology::Pdf417:
        if (data.empty())
            return "a PDF417 symbol needs data";
        return data.size() > kPdf417Capacity ? "PDF417 holds at most 1850 characters" : std::string();
    }
    return "unknown symbology";
}

EncodedBarcode EncodeBarcode(Symbology symbology, std::string_view data, const BarcodeOptions& options) {
    EncodedBarcode result;
    result.error = BarcodeDataError(symbology, data);
    if (result.error.empty() && symbology == Symbology::Qr && data.size() > QrCapacity(options.qrCorrection))
        result.error = "a QR code at this error correction level holds at most " +
                       std::to_string(QrCapacity(options.qrCorrection)) + " bytes";
    if (result.error.empty() && symbology != Symbology::Code128 && data.size() > kMost1D &&
        Row(symbology).gsK != 0)
        result.error = std::string(SymbologyName(symbology)) + " data is too long";
    if (!result.ok())
        return result;
    if (symbology == Symbology::Qr)
        result.bytes = QrCode(data, options);
    else if (symbology == Symbology::Pdf417)
        result.bytes = Pdf417(data, options);
    else if (symbology == Symbology::Code128) {
        std::string error;
        result.bytes = OneDimensional(symbology, Code128Prepared(data, error), options);
    } else if (symbology == Symbology::UpcE) {
        result.bytes = OneDimensional(symbology, UpcEData(data), options);
    } else
        result.bytes = OneDimensional(symbology, data, options);
    return result;
}

} // namespace zorv::opos::escpos
