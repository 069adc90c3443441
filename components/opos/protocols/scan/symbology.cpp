#include "protocols/scan/symbology.h"

#include <algorithm>

namespace zorv::opos::scan {
namespace {

struct AimCode {
    char code;
    char modifier; // '*': any
    long type;
};

// AIM symbology identifiers (ISO/IEC 15424) to ScanDataType. EAN/UPC ("E")
// needs the label's length as well and is handled apart.
constexpr AimCode kAimCodes[] = {
    {'A', '*', kSdtCode39}, {'C', '1', kSdtEan128},     {'C', '*', kSdtCode128},    {'F', '*', kSdtCodabar},
    {'G', '*', kSdtCode93}, {'I', '*', kSdtItf},        {'R', '*', kSdtTf},         {'S', '*', kSdtTf},
    {'L', '*', kSdtPdf417}, {'U', '*', kSdtMaxiCode},   {'d', '*', kSdtDataMatrix}, {'Q', '*', kSdtQrCode},
    {'z', '*', kSdtAztec},  {'e', '*', kSdtGs1DataBar},
};

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Weights 3 and 1 from the right, the check digit excluded: EAN-8, EAN-13, UPC-A.
bool Mod10CheckOk(std::string_view digits) {
    if (!AllDigits(digits) || digits.size() < 2)
        return false;
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin() + 1; it != digits.rend(); ++it, weight = 4 - weight)
        sum += (*it - '0') * weight;
    return (10 - sum % 10) % 10 == digits.back() - '0';
}

bool UpcECheckOk(std::string_view digits) {
    const std::string upcA = ExpandUpcE(digits);
    return !upcA.empty() && UpcACheckOk(upcA);
}

long EanUpcType(char modifier, std::string_view label) {
    const std::size_t n = label.size();
    switch (modifier) {
    case '0':
        return n == 13 ? kSdtEan13 : n == 12 ? kSdtUpcA : n == 8 ? kSdtUpcE : kSdtUnknown;
    case '3': // with a two- or five-digit supplement
        return n == 15 || n == 18 ? kSdtEan13S : n == 14 || n == 17 ? kSdtUpcAS : kSdtUnknown;
    case '4':
        return kSdtEan8;
    }
    return kSdtUnknown;
}

long AimType(char code, char modifier, std::string_view label) {
    if (code == 'E')
        return EanUpcType(modifier, label);
    for (const AimCode& entry : kAimCodes)
        if (entry.code == code && (entry.modifier == '*' || entry.modifier == modifier))
            return entry.type;
    return kSdtUnknown;
}

} // namespace

bool Ean13CheckOk(std::string_view digits) {
    return digits.size() == 13 && Mod10CheckOk(digits);
}
bool Ean8CheckOk(std::string_view digits) {
    return digits.size() == 8 && Mod10CheckOk(digits);
}
bool UpcACheckOk(std::string_view digits) {
    return digits.size() == 12 && Mod10CheckOk(digits);
}

std::string ExpandUpcE(std::string_view d) {
    if (d.size() != 8 || !AllDigits(d) || (d[0] != '0' && d[0] != '1'))
        return {};
    const std::string_view m = d.substr(1, 6);
    std::string body;
    switch (m[5]) {
    case '0':
    case '1':
    case '2':
        body = std::string(m.substr(0, 2)) + m[5] + "0000" + std::string(m.substr(2, 3));
        break;
    case '3':
        body = std::string(m.substr(0, 3)) + "00000" + std::string(m.substr(3, 2));
        break;
    case '4':
        body = std::string(m.substr(0, 4)) + "00000" + m[4];
        break;
    default:
        body = std::string(m.substr(0, 5)) + "0000" + m[5];
    }
    return d[0] + body + d[7];
}

long InferType(std::string_view label) {
    switch (label.size()) {
    case 13:
        return Ean13CheckOk(label) ? kSdtEan13 : kSdtUnknown;
    case 12:
        return UpcACheckOk(label) ? kSdtUpcA : kSdtUnknown;
    case 8: {
        const bool ean8 = Ean8CheckOk(label);
        const bool upcE = UpcECheckOk(label);
        return ean8 == upcE ? kSdtUnknown : ean8 ? kSdtEan8 : kSdtUpcE;
    }
    }
    return kSdtUnknown;
}

DecodedLabel DecodeLabel(std::string_view data, bool aimPrefix) {
    if (aimPrefix && data.size() >= 3 && data[0] == ']') {
        const std::string_view label = data.substr(3);
        return {AimType(data[1], data[2], label), std::string(label), std::string(data.substr(0, 3))};
    }
    return {InferType(data), std::string(data), {}};
}

} // namespace zorv::opos::scan
