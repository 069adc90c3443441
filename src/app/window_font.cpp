#include "app/window_font.h"

#include <QStringList>

namespace zorv::app {

// Fallbacks with the metrics of the original face's neighbours, so that the
// captions laid out for it still fit; the platform's sans-serif comes last.
QFont WindowFont() {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                                 QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                                 QStringLiteral("Helvetica")});
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace zorv::app
