#include "receipt_renderer.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <zint.h>

namespace zorv::virtual_printer {
namespace {

using escpos::Command;
using escpos::CommandKind;
using escpos::Symbology;

constexpr int kCellWidth = 12;
constexpr int kCellHeight = 24;
constexpr int kLineSpacing = 30;
constexpr int kMargin = 16;
constexpr int kMostHeight = 20000; // 2.5 m of paper: a runaway job stops growing the picture

int ZintSymbology(Symbology symbology) {
    switch (symbology) {
    case Symbology::UpcA:
        return BARCODE_UPCA;
    case Symbology::UpcE:
        return BARCODE_UPCE;
    case Symbology::Ean8:
    case Symbology::Ean13:
        return BARCODE_EANX;
    case Symbology::Code39:
        return BARCODE_CODE39;
    case Symbology::Itf:
        return BARCODE_C25INTER;
    case Symbology::Codabar:
        return BARCODE_CODABAR;
    case Symbology::Code93:
        return BARCODE_CODE93;
    case Symbology::Code128:
        return BARCODE_CODE128;
    case Symbology::Qr:
        return BARCODE_QRCODE;
    case Symbology::Pdf417:
        return BARCODE_PDF417;
    }
    return BARCODE_CODE128;
}

std::string BarcodeText(const Command& command) {
    std::string data = command.raw;
    if (command.symbology == Symbology::Code128)
        return Code128Text(data);
    if (command.symbology == Symbology::Code39 && data.size() >= 2 && data.front() == '*' &&
        data.back() == '*')
        return data.substr(1, data.size() - 2);
    return data;
}

// The symbol as black and white dots, or a null image with zint's reason.
QImage ZintImage(const Command& command, std::string& error) {
    zint_symbol* symbol = ZBarcode_Create();
    symbol->symbology = ZintSymbology(command.symbology);
    const bool twoDimensional = command.symbology == Symbology::Qr || command.symbology == Symbology::Pdf417;
    const int module = std::clamp(command.barcode.moduleWidth, 1, 16);
    // zint draws two pixels per module at scale 1.
    symbol->scale = module / 2.0f;
    if (!twoDimensional)
        symbol->height = std::max(1.0f, static_cast<float>(command.barcode.height) / module);
    symbol->show_hrt = !twoDimensional && command.barcode.hri != escpos::HriPosition::None;
    const std::string text = BarcodeText(command);
    QImage image;
    const int rc = ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char*>(text.data()),
                                              static_cast<int>(text.size()), 0);
    if (rc >= ZINT_ERROR) {
        error = symbol->errtxt;
    } else {
        image = QImage(symbol->bitmap, symbol->bitmap_width, symbol->bitmap_height, symbol->bitmap_width * 3,
                       QImage::Format_RGB888)
                    .copy();
    }
    ZBarcode_Delete(symbol);
    return image;
}

} // namespace

std::string Code128Text(std::string_view data) {
    std::string text;
    bool setC = false;
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '{' && i + 1 < data.size()) {
            const char next = data[++i];
            if (next == '{')
                text.push_back('{');
            else if (next == 'C')
                setC = true;
            else if (next == 'A' || next == 'B')
                setC = false;
            continue;
        }
        if (setC) {
            const int value = static_cast<unsigned char>(data[i]);
            text += std::to_string(value / 10 % 10) + std::to_string(value % 10);
        } else {
            text.push_back(data[i]);
        }
    }
    return text;
}

// A white roll that grows as it is printed on.
class ReceiptRenderer::Canvas {
public:
    explicit Canvas(int width) : image_(width, 2048, QImage::Format_RGB32) { image_.fill(Qt::white); }

    QPainter& Painter(int needBelow) {
        Grow(y + needBelow);
        if (!painter_.isActive())
            painter_.begin(&image_);
        return painter_;
    }
    QImage Finish(bool cut, bool partial) {
        const int bottom = std::min(y + kMargin, kMostHeight);
        QPainter& p = Painter(kMargin);
        if (cut) {
            p.setPen(QPen(Qt::gray, 2, partial ? Qt::DashLine : Qt::SolidLine));
            p.drawLine(0, bottom - 1, image_.width(), bottom - 1);
        }
        painter_.end();
        return image_.copy(0, 0, image_.width(), bottom);
    }
    int width() const { return image_.width(); }

    int y = kMargin;

private:
    void Grow(int needed) {
        needed = std::min(needed, kMostHeight);
        if (needed <= image_.height())
            return;
        const bool active = painter_.isActive();
        if (active)
            painter_.end();
        QImage bigger(image_.width(), std::max(needed, image_.height() * 2), QImage::Format_RGB32);
        bigger.fill(Qt::white);
        QPainter copy(&bigger);
        copy.drawImage(0, 0, image_);
        copy.end();
        image_ = bigger;
        if (active)
            painter_.begin(&image_);
    }

    QImage image_;
    QPainter painter_;
};

QImage ReceiptRenderer::Render(const Receipt& receipt) {
    Canvas canvas(paperDots_ + 2 * kMargin);
    bool cut = false, partial = false;
    for (const Command& command : receipt) {
        Apply(command, canvas);
        if (command.kind == CommandKind::Cut) {
            cut = true;
            partial = command.a != 0;
        }
    }
    FlushLine(canvas, false);
    return canvas.Finish(cut, partial);
}

void ReceiptRenderer::Apply(const Command& command, Canvas& canvas) {
    switch (command.kind) {
    case CommandKind::Text:
        return AddText(command.text, canvas);
    case CommandKind::LineFeed:
        return FlushLine(canvas, true);
    case CommandKind::Initialize:
        style_ = Style{};
        return;
    case CommandKind::Emphasis:
        style_.bold = command.a != 0;
        return;
    case CommandKind::Underline:
        style_.underline = command.a;
        return;
    case CommandKind::Reverse:
        style_.reverse = command.a != 0;
        return;
    case CommandKind::Justify:
        style_.justification = command.a;
        return;
    case CommandKind::Size:
        style_.width = command.a;
        style_.height = command.b;
        return;
    case CommandKind::PrintMode:
        style_.bold = (command.a & 0x08) != 0;
        style_.height = (command.a & 0x10) ? 2 : 1;
        style_.width = (command.a & 0x20) ? 2 : 1;
        style_.underline = (command.a & 0x80) ? 1 : 0;
        return;
    case CommandKind::FeedLines:
        FlushLine(canvas, false);
        canvas.y += command.a * kLineSpacing;
        return;
    case CommandKind::FeedDots:
        FlushLine(canvas, false);
        canvas.y += command.a;
        return;
    case CommandKind::FeedBack:
        canvas.y = std::max(kMargin, canvas.y - command.a * kLineSpacing);
        return;
    case CommandKind::Cut:
        FlushLine(canvas, false);
        canvas.y += command.b;
        return;
    case CommandKind::Barcode:
    case CommandKind::Symbol2D:
        FlushLine(canvas, false);
        return DrawBarcode(command, canvas);
    case CommandKind::Raster:
        FlushLine(canvas, false);
        return DrawImage(command.image, canvas);
    default:
        return;
    }
}

int ReceiptRenderer::LineWidth() const {
    int width = 0;
    for (const Run& run : line_)
        width += static_cast<int>(run.text.size()) * kCellWidth * run.style.width;
    return width;
}

int ReceiptRenderer::AlignedX(int width) const {
    const int justification = line_.empty() ? style_.justification : line_.front().style.justification;
    const int room = std::max(0, paperDots_ - width);
    return kMargin + (justification == 1 ? room / 2 : justification == 2 ? room : 0);
}

// Text that reaches the edge of the paper goes on to the next line, as on the printer.
void ReceiptRenderer::AddText(std::u16string_view text, Canvas& canvas) {
    for (const char16_t c : text) {
        if (LineWidth() + kCellWidth * style_.width > paperDots_)
            FlushLine(canvas, true);
        if (line_.empty() || line_.back().style.bold != style_.bold ||
            line_.back().style.underline != style_.underline ||
            line_.back().style.reverse != style_.reverse || line_.back().style.width != style_.width ||
            line_.back().style.height != style_.height)
            line_.push_back(Run{{}, style_});
        line_.back().text.push_back(c == u'\t' ? u' ' : c);
    }
}

void ReceiptRenderer::FlushLine(Canvas& canvas, bool emptyAdvances) {
    if (line_.empty()) {
        if (emptyAdvances)
            canvas.y += kLineSpacing;
        return;
    }
    int tallest = 1;
    for (const Run& run : line_)
        tallest = std::max(tallest, run.style.height);
    const int lineHeight = kCellHeight * tallest;
    QPainter& p = canvas.Painter(lineHeight + kLineSpacing);
    int x = AlignedX(LineWidth());
    for (const Run& run : line_) {
        QFont font("Liberation Mono");
        font.setPixelSize(20);
        font.setBold(run.style.bold);
        font.setUnderline(run.style.underline > 0);
        const int cellW = kCellWidth * run.style.width;
        const int cellH = kCellHeight * run.style.height;
        const int top = canvas.y + lineHeight - cellH;
        if (run.style.reverse)
            p.fillRect(x, top, cellW * static_cast<int>(run.text.size()), cellH, Qt::black);
        p.setPen(run.style.reverse ? Qt::white : Qt::black);
        p.setFont(font);
        for (const char16_t c : run.text) {
            p.save();
            p.translate(x, top);
            p.scale(run.style.width, run.style.height);
            p.drawText(QRect(0, 0, kCellWidth, kCellHeight), Qt::AlignCenter, QString(QChar(c)));
            p.restore();
            x += cellW;
        }
    }
    canvas.y += lineHeight + (kLineSpacing - kCellHeight);
    line_.clear();
}

void ReceiptRenderer::DrawBarcode(const Command& command, Canvas& canvas) {
    std::string error;
    const QImage symbol = ZintImage(command, error);
    if (symbol.isNull()) {
        QPainter& p = canvas.Painter(2 * kLineSpacing);
        p.setPen(Qt::black);
        p.drawRect(kMargin, canvas.y, paperDots_ - 1, kLineSpacing);
        p.drawText(
            QRect(kMargin, canvas.y, paperDots_, kLineSpacing), Qt::AlignCenter,
            QString::fromStdString("[" + std::string(SymbologyName(command.symbology)) + ": " + error + "]"));
        canvas.y += kLineSpacing + 4;
        return;
    }
    const QImage fitted = symbol.width() > paperDots_ ? symbol.scaledToWidth(paperDots_) : symbol;
    canvas.Painter(fitted.height() + 4).drawImage(AlignedX(fitted.width()), canvas.y, fitted);
    canvas.y += fitted.height() + 4;
}

void ReceiptRenderer::DrawImage(const escpos::MonoImage& image, Canvas& canvas) {
    QImage dots(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            dots.setPixel(x, y,
                          image.dots[static_cast<size_t>(y) * image.width + x] ? 0xFF000000 : 0xFFFFFFFF);
    const QImage fitted = dots.width() > paperDots_ ? dots.copy(0, 0, paperDots_, dots.height()) : dots;
    canvas.Painter(fitted.height()).drawImage(AlignedX(fitted.width()), canvas.y, fitted);
    canvas.y += fitted.height();
}

} // namespace zorv::virtual_printer
