#pragma once
// ESC/POS bytes read back into commands, as a printer would take them: the
// virtual printer's transcript and picture come from here, and tests use it
// to say what a job does rather than which bytes it holds. The decoder keeps
// what a printer keeps (code page, bar code settings, a stored 2-D symbol)
// and holds back an incomplete command until the rest of it arrives.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocols/escpos/barcodes.h"
#include "protocols/escpos/code_pages.h"
#include "protocols/escpos/commands.h"
#include "protocols/escpos/raster.h"

namespace zorv::opos::escpos {

enum class CommandKind {
    Text,
    LineFeed,
    Initialize,
    Emphasis,
    Underline,
    PrintMode, // ESC ! n
    Size,      // a = width, b = height
    Justify,
    Reverse,
    CodePage, // a = ESC t number
    FeedLines,
    FeedDots,
    FeedBack,
    Cut,                 // a = 0 full, 1 partial; b = dots fed first
    DrawerKick,          // a = pin (2 or 5), b = on ms, c = off ms
    StatusQuery,         // a = DLE EOT n
    AutomaticStatusBack, // a = GS a n
    Barcode,
    Symbol2D,
    Raster,
    Setting, // understood, changes nothing we show
    Unknown,
};

struct Command {
    CommandKind kind = CommandKind::Unknown;
    int a = 0;
    int b = 0;
    int c = 0;
    std::u16string text;
    Bytes raw; // the command's bytes (unknown and setting commands); bar code data
    Symbology symbology = Symbology::Code128;
    BarcodeOptions barcode;
    MonoImage image;
};

class Decoder {
public:
    // Appends what the bytes complete; an unfinished command waits for the next call.
    std::vector<Command> Feed(std::string_view bytes);
    size_t Pending() const { return pending_.size(); }

private:
    enum class Step { Done, NeedMore };
    Step One(std::string_view in, size_t& used, std::vector<Command>& out);
    static Step Skip(std::string_view in, size_t count, size_t& used, std::vector<Command>& out);
    Step Escape(std::string_view in, size_t& used, std::vector<Command>& out);
    Step Group(std::string_view in, size_t& used, std::vector<Command>& out);
    Step DataLink(std::string_view in, size_t& used, std::vector<Command>& out);
    Step Barcode(std::string_view in, size_t& used, std::vector<Command>& out);
    Step Function(std::string_view in, size_t& used, std::vector<Command>& out);
    Step RasterImage(std::string_view in, size_t& used, std::vector<Command>& out);
    Step BitImage(std::string_view in, size_t& used, std::vector<Command>& out);
    void Text(std::string_view in, size_t& used, std::vector<Command>& out);

    Bytes pending_;
    uint8_t codePage_ = 0;
    BarcodeOptions barcode_;
    int qrModule_ = 3;
    int pdf417Module_ = 3;
    Bytes storedQr_;
    Bytes storedPdf417_;
};

// One line of transcript per command: "text \"Total\"", "cut partial".
std::string Describe(const Command& command);

} // namespace zorv::opos::escpos
