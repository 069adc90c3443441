#include "app/window_font.h"

namespace zorv::app {

QFont WindowFont() {
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace zorv::app
