#include "screen_text.h"

#include "protocols/display/code_page.h"
#include "protocols/display/display_decoder.h"

namespace zorv::tools {
namespace {

using opos::display::ScrollMode;

const char* ModeName(ScrollMode mode) {
    switch (mode) {
    case ScrollMode::Overwrite:
        return "écrasement";
    case ScrollMode::Vertical:
        return "défilement vertical";
    case ScrollMode::Horizontal:
        return "défilement horizontal";
    }
    return "";
}

} // namespace

std::string FramedScreen(const opos::display::Screen& screen) {
    const std::string edge = "+" + std::string(static_cast<std::size_t>(screen.columns), '-') + "+\n";
    std::string text = edge;
    for (int row = 0; row < screen.rows; ++row)
        text += "|" + opos::display::ToUtf8(screen.Row(row)) + "|\n";
    text += edge;
    text += "curseur " + std::to_string(screen.cursorRow + 1) + "," +
            std::to_string(screen.cursorColumn + 1) + (screen.cursorVisible ? " visible" : " caché") +
            ", luminosité " + std::to_string(screen.brightness) + "/4, " + ModeName(screen.mode) + ", page " +
            std::to_string(opos::display::CodePageNumber(screen.codePage));
    if (screen.blinkStep != 0)
        text += ", clignote toutes les " + std::to_string(screen.blinkStep * 50) + " ms";
    if (!screen.marquee.empty())
        text += ", défile en haut : " + opos::display::ToUtf8(screen.marquee);
    return text + "\n";
}

} // namespace zorv::tools
