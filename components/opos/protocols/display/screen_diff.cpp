#include "protocols/display/screen_diff.h"

#include <algorithm>
#include <optional>

namespace zorv::opos::display {
namespace {

struct Cursor {
    int row = 0;
    int column = 0;
    bool known = true;
};

using Commands = std::vector<Command>;

struct Cost {
    std::size_t bytes = 0;
    std::size_t commands = 0;
    bool operator<(const Cost& other) const {
        return bytes != other.bytes ? bytes < other.bytes : commands < other.commands;
    }
};

class Planner {
public:
    Planner(Protocol protocol, const Screen& wanted) : protocol_(protocol), wanted_(wanted) {}

    std::size_t Bytes(const Command& command) const {
        return Encode(protocol_, command, wanted_.codePage).bytes.size();
    }

    Cost CostOf(const Commands& commands) const {
        Cost cost;
        for (const Command& command : commands)
            cost.bytes += Bytes(command);
        cost.commands = commands.size();
        return cost;
    }

    // The cheapest way to bring the cursor to (row, column).
    Commands Move(Cursor from, int row, int column) const {
        if (from.known && from.row == row && from.column == column)
            return {};
        std::vector<Commands> candidates{{{Op::MoveTo, row, column}}};
        if (from.known)
            AddRelative(candidates, {}, from, row, column);
        AddRelative(candidates, {{Op::Home}}, {0, 0, true}, row, column);
        return *std::min_element(
            candidates.begin(), candidates.end(),
            [this](const Commands& a, const Commands& b) { return CostOf(a) < CostOf(b); });
    }

    // Text changes from `base` (cursor at `cursor`) to the wanted cells.
    Commands Text(const Screen& base, Cursor& cursor) const {
        Commands out;
        for (int row = 0; row < wanted_.rows; ++row)
            TextRow(base, row, cursor, out);
        return out;
    }

private:
    static void Repeat(Commands& commands, Op op, int count) {
        for (int i = 0; i < count; ++i)
            commands.push_back({op});
    }

    void AddRelative(std::vector<Commands>& candidates, const Commands& lead, Cursor from, int row,
                     int column) const {
        Commands vertical = lead;
        Repeat(vertical, row > from.row ? Op::Down : Op::Up, std::abs(row - from.row));
        std::vector<Commands> horizontals;
        Commands direct;
        Repeat(direct, column > from.column ? Op::Right : Op::Left, std::abs(column - from.column));
        horizontals.push_back(direct);
        Commands fromStart{{Op::LineStart}};
        Repeat(fromStart, Op::Right, column);
        horizontals.push_back(fromStart);
        if (column == wanted_.columns - 1)
            horizontals.push_back({{Op::LineEnd}});
        for (const Commands& horizontal : horizontals) {
            Commands candidate = vertical;
            candidate.insert(candidate.end(), horizontal.begin(), horizontal.end());
            candidates.push_back(std::move(candidate));
        }
    }

    // A row either rewritten where it differs, or cleared first ("CAN") when
    // most of it is to go blank; whichever costs less.
    void TextRow(const Screen& base, int row, Cursor& cursor, Commands& out) const {
        Cursor plainCursor = cursor;
        Commands plain;
        Runs(base, row, plainCursor, plain);
        if (plain.empty())
            return;
        Commands cleared = Move(cursor, row, cursor.known && cursor.row == row ? cursor.column : 0);
        cleared.push_back({Op::ClearLine});
        Screen blank = base;
        blank.ClearRow(row);
        Cursor clearedCursor{row, 0, true};
        Runs(blank, row, clearedCursor, cleared);
        const bool clear = CostOf(cleared) < CostOf(plain);
        out.insert(out.end(), clear ? cleared.begin() : plain.begin(), clear ? cleared.end() : plain.end());
        cursor = clear ? clearedCursor : plainCursor;
    }

    void Runs(const Screen& base, int row, Cursor& cursor, Commands& out) const {
        int column = 0;
        while (column < wanted_.columns) {
            if (base.At(row, column) == wanted_.At(row, column)) {
                ++column;
                continue;
            }
            const int start = column;
            int end = column; // last changed column of this run
            for (int next = end + 1; next < wanted_.columns; ++next) {
                if (base.At(row, next) == wanted_.At(row, next))
                    continue;
                // Rewriting the unchanged cells between costs a byte each.
                const auto gap = static_cast<std::size_t>(next - end - 1);
                if (gap > CostOf(Move({row, end + 1, true}, row, next)).bytes)
                    break;
                end = next;
            }
            const Commands move = Move(cursor, row, start);
            out.insert(out.end(), move.begin(), move.end());
            out.push_back({Op::Text, 0, 0, wanted_.Row(row).substr(start, end - start + 1)});
            // Past the last column, where the cursor goes differs between models.
            cursor = end + 1 < wanted_.columns ? Cursor{row, end + 1, true} : Cursor{0, 0, false};
            column = end + 1;
        }
    }

    Protocol protocol_;
    const Screen& wanted_;
};

// Settings that differ (or all of them, when forced) before and after text.
void Settings(const Screen& current, const Screen& wanted, bool force, Commands& before, Commands& after) {
    if (force ? wanted.codePage != CodePage::Pc437 : wanted.codePage != current.codePage)
        before.push_back({Op::CodePage, static_cast<int>(wanted.codePage)});
    if (force ? wanted.international != InternationalSet::Usa : wanted.international != current.international)
        before.push_back({Op::International, static_cast<int>(wanted.international)});
    if (force || wanted.brightness != current.brightness)
        after.push_back({Op::Brightness, wanted.brightness});
    if (force ? wanted.blinkStep != 0 : wanted.blinkStep != current.blinkStep)
        after.push_back({Op::Blink, wanted.blinkStep});
    if (force || wanted.cursorVisible != current.cursorVisible)
        after.push_back({Op::Cursor, wanted.cursorVisible ? 1 : 0});
}

ScreenChanges Finish(Protocol protocol, const Screen& wanted, Commands commands) {
    ScreenChanges changes;
    for (const Command& command : commands) {
        EncodedCommand encoded = Encode(protocol, command, wanted.codePage);
        if (encoded.unsupported) {
            if (std::find(changes.unsupported.begin(), changes.unsupported.end(), *encoded.unsupported) ==
                changes.unsupported.end())
                changes.unsupported.push_back(*encoded.unsupported);
            continue;
        }
        if (encoded.bytes.empty())
            continue;
        changes.bytes += encoded.bytes;
        changes.unmappable += encoded.unmappable;
        changes.commands.push_back(command);
    }
    if (!changes.unsupported.empty()) {
        changes.bytes.clear();
        changes.commands.clear();
        changes.unmappable = 0;
    }
    return changes;
}

// What the planner may count on the display showing: nothing certain on a
// top row that scrolled by itself, and the top row as wanted when a marquee
// command will write it anyway.
Screen Known(Screen base, const Screen& current, const Screen& wanted) {
    if (!current.marquee.empty())
        base.WriteAt(0, 0, std::u16string(static_cast<std::size_t>(base.columns), u'\uFFFF'));
    if (!wanted.marquee.empty())
        base.WriteAt(0, 0, wanted.Row(0));
    base.marquee.clear();
    return base;
}

ScreenChanges Plan(Protocol protocol, const Screen& current, const Screen& wanted, bool force,
                   Commands commands) {
    const Planner planner(protocol, wanted);
    Commands before, after;
    Settings(current, wanted, force, before, after);
    commands.insert(commands.end(), before.begin(), before.end());

    Cursor cursor{current.cursorRow, current.cursorColumn, current.marquee.empty()};
    Commands text = planner.Text(Known(current, current, wanted), cursor);
    if (!text.empty()) {
        Cursor fromClear{0, 0, true};
        Commands cleared{{Op::Clear}};
        const Commands rest =
            planner.Text(Known(Screen::Blank(wanted.rows, wanted.columns), current, wanted), fromClear);
        cleared.insert(cleared.end(), rest.begin(), rest.end());
        if (planner.CostOf(cleared) < planner.CostOf(text)) {
            text = std::move(cleared);
            cursor = fromClear;
        }
    }
    ScrollMode mode = force ? ScrollMode::Overwrite : current.mode;
    if (!text.empty() && mode != ScrollMode::Overwrite) {
        commands.push_back({Op::Mode, static_cast<int>(ScrollMode::Overwrite)});
        mode = ScrollMode::Overwrite;
    }
    commands.insert(commands.end(), text.begin(), text.end());
    const Commands move = planner.Move(cursor, wanted.cursorRow, wanted.cursorColumn);
    commands.insert(commands.end(), move.begin(), move.end());
    if (mode != wanted.mode)
        commands.push_back({Op::Mode, static_cast<int>(wanted.mode)});
    commands.insert(commands.end(), after.begin(), after.end());
    // Last, since any command after it would stop the display's scrolling.
    if (!wanted.marquee.empty())
        commands.push_back({Op::Marquee, 0, 0, wanted.marquee});
    return Finish(protocol, wanted, std::move(commands));
}

// A screen whose fields disagree (cells of another size, a cursor off the
// screen) is brought within its own bounds before anything is planned.
Screen Bounded(Screen screen) {
    screen.rows = std::max(screen.rows, 1);
    screen.columns = std::max(screen.columns, 1);
    screen.cells.resize(static_cast<std::size_t>(screen.rows) * screen.columns, u' ');
    screen.cursorRow = std::clamp(screen.cursorRow, 0, screen.rows - 1);
    screen.cursorColumn = std::clamp(screen.cursorColumn, 0, screen.columns - 1);
    return screen;
}

} // namespace

ScreenChanges EncodeChanges(Protocol protocol, const Screen& current, const Screen& wanted) {
    if (current.rows != wanted.rows || current.columns != wanted.columns)
        return EncodeFullRefresh(protocol, wanted);
    if (current == wanted) // not even a byte: it would stop a marquee
        return {};
    return Plan(protocol, Bounded(current), Bounded(wanted), false, {});
}

ScreenChanges EncodeFullRefresh(Protocol protocol, const Screen& wanted) {
    const Screen bounded = Bounded(wanted);
    return Plan(protocol, Screen::Blank(bounded.rows, bounded.columns), bounded, true, {{Op::Init}});
}

} // namespace zorv::opos::display
