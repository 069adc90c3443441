#include "screen_picture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace zorv::tools {
namespace {

constexpr int kMargin = 12;

QFont DisplayFont() {
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(24);
    return font;
}

} // namespace

QImage PictureOf(const opos::display::Screen& screen) {
    const QFont font = DisplayFont();
    const QFontMetrics metrics(font);
    const int cellWidth = metrics.horizontalAdvance(QLatin1Char('M'));
    const int cellHeight = metrics.height() + 6;
    QImage image(2 * kMargin + cellWidth * screen.columns, 2 * kMargin + cellHeight * screen.rows,
                 QImage::Format_RGB32);
    image.fill(QColor(12, 20, 18));
    QPainter painter(&image);
    painter.setFont(font);
    const int level = 95 + 40 * screen.brightness;
    const QColor glow(level / 2, level, level * 9 / 10);
    painter.setPen(glow);
    for (int row = 0; row < screen.rows; ++row) {
        const std::u16string text = screen.Row(row);
        const QString line = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
        for (int column = 0; column < screen.columns; ++column)
            painter.drawText(kMargin + column * cellWidth, kMargin + row * cellHeight + metrics.ascent(),
                             line.at(column));
    }
    if (screen.cursorVisible)
        painter.fillRect(kMargin + screen.cursorColumn * cellWidth,
                         kMargin + (screen.cursorRow + 1) * cellHeight - 4, cellWidth, 2, glow);
    return image;
}

bool SavePicture(const opos::display::Screen& screen, const QString& path) {
    return PictureOf(screen).save(path, "PNG");
}

} // namespace zorv::tools
