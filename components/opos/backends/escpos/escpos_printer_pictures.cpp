// What an ESC/POS printer prints as raster besides PrintBitmap: the
// pictures SetBitmap stores for ESC|nB, and horizontal ruled lines.
#include "protocols/escpos/ruled_line.h"
#include "backends/escpos/escpos_printer.h"
#include "model/opos_codes.h"

namespace zorv::opos::escpos_device {

// The picture is read and rasterised once, as SetBitmap is called, so that a
// file changed or gone later does not change the receipts.
Outcome EscPosPrinter::StoreBitmap(LONG number, const Output& picture) {
    lastFailure_.clear();
    std::string bytes;
    if (Outcome read = EncodeBitmap(picture, bytes); read.code != OPOS_SUCCESS)
        return read;
    bitmaps_[number] = std::move(bytes);
    return {};
}

const std::string* EscPosPrinter::StoredBitmap(int number) const {
    const auto found = bitmaps_.find(number);
    return found == bitmaps_.end() ? nullptr : &found->second;
}

Outcome EscPosPrinter::EncodeRuledLine(const Output& output, std::string& bytes) {
    const int dots = settings_.PaperDots();
    const auto rules =
        output.params[0] == PTR_RL_HORIZONTAL ? print::HorizontalRules(output.data, dots) : std::nullopt;
    if (!rules)
        return Fail(OPOS_E_ILLEGAL, 0, u"only horizontal ruled lines within the paper can be printed");
    const auto style = static_cast<escpos::RuleStyle>(output.params[2]);
    bytes = escpos::Justify(escpos::Justification::Left) +
            escpos::RasterImage(escpos::HorizontalRules(*rules, dots, output.params[1], style));
    return {};
}

} // namespace zorv::opos::escpos_device
