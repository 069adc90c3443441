#include "protocols/display/screen.h"

#include <algorithm>

namespace zorv::opos::display {

Screen Screen::Blank(int rows, int columns) {
    Screen screen;
    screen.rows = std::max(rows, 1);
    screen.columns = std::max(columns, 1);
    screen.cells.assign(static_cast<std::size_t>(screen.rows) * screen.columns, u' ');
    return screen;
}

void Screen::WriteAt(int row, int column, std::u16string_view text) {
    if (row < 0 || row >= rows || column < 0)
        return;
    for (std::size_t i = 0; i < text.size() && column + static_cast<int>(i) < columns; ++i)
        Put(row, column + static_cast<int>(i), text[i]);
}

void Screen::Clear() {
    std::fill(cells.begin(), cells.end(), u' ');
}

void Screen::ClearRow(int row) {
    std::fill_n(cells.begin() + Index(row, 0), columns, u' ');
}

void Screen::ScrollUp() {
    std::copy(cells.begin() + columns, cells.end(), cells.begin());
    ClearRow(rows - 1);
}

void Screen::ShiftRowLeft(int row) {
    const auto begin = cells.begin() + Index(row, 0);
    std::copy(begin + 1, begin + columns, begin);
    Put(row, columns - 1, u' ');
}

int BrightnessStep(long percent) {
    if (percent <= 20)
        return 1;
    if (percent <= 40)
        return 2;
    if (percent <= 60)
        return 3;
    return 4;
}

int BlinkStep(long milliseconds) {
    if (milliseconds <= 0)
        return 0;
    return static_cast<int>(std::clamp<long>((milliseconds + 25) / 50, 1, 254));
}

} // namespace zorv::opos::display
