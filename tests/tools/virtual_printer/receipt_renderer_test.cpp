// Receipt pictures: text, sizes, bar codes and images land on the paper.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "protocols/escpos/barcodes.h"
#include "protocols/escpos/commands.h"
#include "protocols/escpos/raster.h"
#include "receipt_renderer.h"

using namespace zorv::virtual_printer;
namespace escpos = zorv::opos::escpos;

namespace {

void NeedApplication() {
    static int argc = 1;
    static char name[] = "virtual_printer_test";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr)
        new QGuiApplication(argc, argv);
}

Receipt Decode(const std::string& bytes) {
    escpos::Decoder decoder;
    return decoder.Feed(bytes);
}

// Dark pixels in a band of rows.
int Dark(const QImage& image, int top, int bottom) {
    int dark = 0;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

TEST(ReceiptRenderer, DrawsTextBarcodesAndImagesDownThePaper) {
    NeedApplication();
    const escpos::MonoImage block{64, 40, std::vector<uint8_t>(64 * 40, 1)};
    const std::string job =
        "Hello\n" + escpos::CharacterSize(2, 2) + "BIG\n" + escpos::CharacterSize(1, 1) +
        escpos::EncodeBarcode(escpos::Symbology::Ean13, "4006381333931").bytes + escpos::RasterImage(block) +
        escpos::EncodeBarcode(escpos::Symbology::Qr, "zorv").bytes + escpos::Cut(escpos::CutKind::Full);
    ReceiptRenderer renderer(576);
    const QImage picture = renderer.Render(Decode(job));
    EXPECT_EQ(picture.width(), 576 + 32);
    EXPECT_GT(picture.height(), 16 + 30 + 54 + 80 + 40);
    EXPECT_GT(Dark(picture, 0, 46), 50);       // "Hello"
    EXPECT_GT(Dark(picture, 46, 100), 4 * 50); // "BIG" in double size
    const int image = picture.height();
    EXPECT_GT(Dark(picture, 0, image), 64 * 40); // the block alone is that many
    EXPECT_EQ(Dark(picture, 0, 16), 0);          // the top margin stays white
}

TEST(ReceiptRenderer, LongLinesWrapAndAlignmentMovesText) {
    NeedApplication();
    ReceiptRenderer renderer(384);
    const QImage wrapped = renderer.Render(Decode(std::string(40, 'W') + "\n"));
    const QImage single = renderer.Render(Decode(std::string(10, 'W') + "\n"));
    EXPECT_GT(wrapped.height(), single.height());
    const QImage right = renderer.Render(Decode(escpos::Justify(escpos::Justification::Right) + "R\n"));
    EXPECT_EQ(Dark(right, 0, right.height()) > 0, true);
    int leftmost = right.width();
    for (int y = 0; y < right.height(); ++y)
        for (int x = 0; x < right.width(); ++x)
            if (qGray(right.pixel(x, y)) < 128)
                leftmost = std::min(leftmost, x);
    EXPECT_GT(leftmost, 300);
}

TEST(ReceiptRenderer, ABarcodeZintRefusesIsDrawnAsANote) {
    NeedApplication();
    ReceiptRenderer renderer;
    // The printer would refuse letters in an EAN-13 too; the picture says so instead of failing.
    const QImage picture = renderer.Render(Decode(std::string("\x1D\x6B\x43\x0D"
                                                              "ABCDEFGHIJKLM",
                                                              17)));
    EXPECT_GT(Dark(picture, 0, picture.height()), 0);
}

TEST(ReceiptRenderer, Code128TextDropsCodeSetSelections) {
    EXPECT_EQ(Code128Text("{BHello"), "Hello");
    EXPECT_EQ(Code128Text("{Ba{{b"), "a{b");
    EXPECT_EQ(Code128Text(std::string("{C\x0C\x22\x01", 5)), "123401");
    EXPECT_EQ(Code128Text(std::string("{C\x0C{Bx", 6)), "12x");
}

} // namespace
