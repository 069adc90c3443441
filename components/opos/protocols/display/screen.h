#pragma once
// What a customer display shows: its characters, where the cursor is, and the
// settings that change how it looks. Row and column count from zero.
#include <string>

#include "protocols/display/code_page.h"

namespace zorv::opos::display {

enum class ScrollMode { Overwrite, Vertical, Horizontal };

// Numbered as the ESC/POS "ESC R n" command numbers them.
enum class InternationalSet {
    Usa = 0,
    France,
    Germany,
    Uk,
    DenmarkI,
    Sweden,
    Italy,
    SpainI,
    Japan,
    Norway,
    DenmarkII,
    SpainII,
    LatinAmerica,
};

struct Screen {
    int rows = 2;
    int columns = 20;
    std::u16string cells = std::u16string(40, u' '); // row after row
    int cursorRow = 0;
    int cursorColumn = 0;
    bool cursorVisible = false;
    int brightness = 4; // 1 (dimmest) to 4
    int blinkStep = 0;  // 0: steady; n: on and off every n x 50 ms
    ScrollMode mode = ScrollMode::Overwrite;
    // Text the display scrolls along its top row by itself (CD5220 "ESC Q D"),
    // until the next command; empty: none. The top row's cells then say
    // nothing certain.
    std::u16string marquee;
    CodePage codePage = CodePage::Pc437;
    InternationalSet international = InternationalSet::Usa;

    static Screen Blank(int rows, int columns);

    char16_t At(int row, int column) const { return cells[Index(row, column)]; }
    void Put(int row, int column, char16_t c) { cells[Index(row, column)] = c; }
    std::u16string Row(int row) const { return cells.substr(Index(row, 0), columns); }
    // Writes from (row, column), cutting what passes the end of the row.
    void WriteAt(int row, int column, std::u16string_view text);
    void Clear();
    void ClearRow(int row);
    void ScrollUp();
    void ShiftRowLeft(int row);

    bool operator==(const Screen&) const = default;

private:
    std::size_t Index(int row, int column) const {
        return static_cast<std::size_t>(row) * columns + static_cast<std::size_t>(column);
    }
};

// OPOS DeviceBrightness (percent) to the four steps displays offer.
int BrightnessStep(long percent);
// A blink rate in milliseconds to the 50 ms steps of the blink command.
int BlinkStep(long milliseconds);

} // namespace zorv::opos::display
