#pragma once
// Bar codes and two-dimensional symbols: the data each symbology accepts,
// checked before anything is sent, and the GS k / GS ( k commands that print
// them. A rejection carries the reason in words.
#include <optional>
#include <string>
#include <string_view>

#include "protocols/escpos/commands.h"

namespace zorv::opos::escpos {

enum class Symbology { UpcA, UpcE, Ean8, Ean13, Code39, Itf, Codabar, Code93, Code128, Qr, Pdf417 };

// The OPOS PTR_BCS_* number of a symbology we print, and back.
std::optional<Symbology> FromOposSymbology(int number);
int OposSymbology(Symbology symbology);
const char* SymbologyName(Symbology symbology);

enum class HriPosition : uint8_t { None = 0, Above = 1, Below = 2, Both = 3 };
enum class QrCorrection : uint8_t { L = 48, M = 49, Q = 50, H = 51 };

struct BarcodeOptions {
    int height = 80;     // dots, 1 to 255
    int moduleWidth = 2; // dots per narrow bar (1-D: 2 to 6, QR: 1 to 16, PDF417: 2 to 8)
    HriPosition hri = HriPosition::Below;
    QrCorrection qrCorrection = QrCorrection::M;
    int pdf417Level = 1; // error correction level 0 to 8
};

struct EncodedBarcode {
    Bytes bytes;
    std::string error; // empty when the data can be printed
    bool ok() const { return error.empty(); }
};

// Why the symbology cannot carry this data, or an empty text.
std::string BarcodeDataError(Symbology symbology, std::string_view data);
EncodedBarcode EncodeBarcode(Symbology symbology, std::string_view data, const BarcodeOptions& options = {});

// The check digit of a UPC/EAN number given without it.
char EanCheckDigit(std::string_view digits);

} // namespace zorv::opos::escpos
