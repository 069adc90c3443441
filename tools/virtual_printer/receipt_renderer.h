#pragma once
// Receipts as pictures of the paper: text in the printer's 12 x 24 dot cell
// with its styles, bar codes drawn by libzint, raster images dot for dot,
// and the cut at the bottom. Styles carry over from one receipt to the
// next, as they do on the printer.
#include <QImage>
#include <string>

#include "printer_model.h"

namespace zorv::virtual_printer {

class ReceiptRenderer {
public:
    explicit ReceiptRenderer(int paperDots = 576) : paperDots_(paperDots) {}
    QImage Render(const Receipt& receipt);

private:
    struct Style {
        bool bold = false;
        int underline = 0;
        bool reverse = false;
        int width = 1;
        int height = 1;
        int justification = 0;
    };
    struct Run {
        std::u16string text;
        Style style;
    };
    class Canvas;

    void Apply(const escpos::Command& command, Canvas& canvas);
    void AddText(std::u16string_view text, Canvas& canvas);
    void FlushLine(Canvas& canvas, bool emptyAdvances);
    void DrawBarcode(const escpos::Command& command, Canvas& canvas);
    void DrawImage(const escpos::MonoImage& image, Canvas& canvas);
    int LineWidth() const;
    int AlignedX(int width) const;

    int paperDots_;
    Style style_;
    std::vector<Run> line_;
};

// The text a Code 128 bar code carries once the printer's code set
// selections ("{A", "{B", "{C" and "{{") are taken out.
std::string Code128Text(std::string_view data);

} // namespace zorv::virtual_printer
