#pragma once
// A line display's characters and, cell for cell, whether they blink: the
// shared screen and each window hold one.
#include <algorithm>
#include <string>
#include <vector>

#include "model/opos_codes.h"

namespace zorv::opos {

// ScrollText's directions, which Grid::Shift takes.
constexpr LONG DISP_ST_UP = 1, DISP_ST_DOWN = 2, DISP_ST_LEFT = 3, DISP_ST_RIGHT = 4;
constexpr char16_t kBlinks = u'b', kSteady = u' ';

struct Grid {
    std::vector<std::u16string> text;
    std::vector<std::u16string> blink;

    static Grid Blank(LONG rows, LONG columns) {
        const std::u16string row(static_cast<std::size_t>(columns), u' ');
        return {std::vector<std::u16string>(static_cast<std::size_t>(rows), row),
                std::vector<std::u16string>(static_cast<std::size_t>(rows), row)};
    }
    LONG Height() const { return static_cast<LONG>(text.size()); }
    LONG Width() const { return static_cast<LONG>(text.front().size()); }
    void Put(LONG row, LONG column, char16_t c, bool blinks) {
        text[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = c;
        blink[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = blinks ? kBlinks : kSteady;
    }
    bool Blinks() const {
        return std::any_of(blink.begin(), blink.end(),
                           [](const std::u16string& row) { return row.find(kBlinks) != row.npos; });
    }
    // The content moves one unit that way, blanks coming in behind it.
    void Shift(LONG direction) {
        for (std::vector<std::u16string>* layer : {&text, &blink}) {
            std::vector<std::u16string>& rows = *layer;
            const std::u16string blank(rows.front().size(), u' ');
            if (direction == DISP_ST_UP) {
                rows.erase(rows.begin());
                rows.push_back(blank);
            } else if (direction == DISP_ST_DOWN) {
                rows.pop_back();
                rows.insert(rows.begin(), blank);
            } else {
                for (std::u16string& row : rows)
                    row = direction == DISP_ST_LEFT ? row.substr(1) + u' '
                                                    : u' ' + row.substr(0, row.size() - 1);
            }
        }
    }
};

} // namespace zorv::opos
