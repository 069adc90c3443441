#pragma once
// OPOS print data (text with the standard's escape sequences) turned into
// one ESC/POS job. Character attributes hold until ESC|N or the end of the
// data: the job ends with the printer back in its plain mode, so every
// print call starts from the same state.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "protocols/escpos/barcodes.h"
#include "protocols/escpos/code_pages.h"
#include "protocols/print/escape_sequences.h"

namespace zorv::opos::escpos {

struct TranslationSettings {
    CodePage codePage = CodePage::Pc437;
    int linesToCut = 4;     // fed before ESC|fP cuts (RecLinesToPaperCut)
    BarcodeOptions barcode; // defaults for ESC|#R fields left out
    // The raster bytes stored under a bitmap number or as a logo; null when none.
    std::function<const Bytes*(int number)> bitmap;
    std::function<const Bytes*(bool top)> logo;
};

struct Translation {
    Bytes bytes;
    int missingCharacters = 0; // printed as '?'
    int ignoredSequences = 0;  // unknown sequences, or ones this printer has nothing for
    int lineFeeds = 0;
    int cuts = 0;
    std::string error; // a sequence that cannot be printed at all (a bad bar code)
    bool ok() const { return error.empty(); }
};

Translation Translate(const std::vector<print::Token>& tokens, const TranslationSettings& settings);
Translation TranslatePrintData(std::u16string_view data, const TranslationSettings& settings);

// Text for a bar code: ASCII as is; other characters as UTF-8 for the
// two-dimensional symbols and as themselves (to be refused) for the others.
std::string BarcodeBytes(std::u16string_view data, Symbology symbology);

} // namespace zorv::opos::escpos
