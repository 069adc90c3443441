#pragma once
// What a label says about its symbology: the AIM identifier a scanner puts in
// front (]Cm), or, without one, the length and check digit of the retail codes.
#include <string>
#include <string_view>

namespace zorv::opos::scan {

// ScanDataType numbers of the OPOS standard.
enum ScanDataType : long {
    kSdtUnknown = 0,
    kSdtUpcA = 101,
    kSdtUpcE = 102,
    kSdtEan8 = 103,
    kSdtEan13 = 104,
    kSdtTf = 105,
    kSdtItf = 106,
    kSdtCodabar = 107,
    kSdtCode39 = 108,
    kSdtCode93 = 109,
    kSdtCode128 = 110,
    kSdtUpcAS = 111,
    kSdtUpcES = 112,
    kSdtEan8S = 118,
    kSdtEan13S = 119,
    kSdtEan128 = 120,
    kSdtGs1DataBar = 131,
    kSdtPdf417 = 201,
    kSdtMaxiCode = 202,
    kSdtDataMatrix = 203,
    kSdtQrCode = 204,
    kSdtAztec = 206,
    kSdtOther = 501,
};

struct DecodedLabel {
    long type = kSdtUnknown;
    std::string label;      // ScanDataLabel: the data without the identifier
    std::string identifier; // the AIM identifier, empty when none was sent
};

// With `aimPrefix`, a label that starts with "]" + code + modifier is split.
DecodedLabel DecodeLabel(std::string_view data, bool aimPrefix);

// Certain only when the check digit holds and no other retail code of that
// length would also hold; otherwise kSdtUnknown.
long InferType(std::string_view label);

bool Ean13CheckOk(std::string_view digits);
bool Ean8CheckOk(std::string_view digits);
bool UpcACheckOk(std::string_view digits);
// An 8-digit UPC-E (number system, six digits, check) expanded to UPC-A;
// empty when the digits cannot be a UPC-E.
std::string ExpandUpcE(std::string_view digits);

} // namespace zorv::opos::scan
