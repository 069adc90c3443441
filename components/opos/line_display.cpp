// The line display: one window over the whole device, text written at the
// cursor, wrapping at the end of a row and scrolling up past the last one.
#include <algorithm>
#include <vector>

#include "device.h"
#include "list_text.h"
#include "simulation_commands.h"

namespace zorv::opos {
namespace {

// A profile may give any size; the screen kept in memory stays sensible.
constexpr LONG kMostRows = 64;
constexpr LONG kMostColumns = 256;
constexpr std::size_t kLongestText = 65536;

class LineDisplay final : public KindBehaviour {
public:
    void Opened(Device& device) override {
        // Window 0 is the whole device, whichever of the two a profile sized.
        rows_ =
            std::clamp(std::max(device.Long(Prop::Rows), device.Long(Prop::DeviceRows)), LONG{1}, kMostRows);
        columns_ = std::clamp(std::max(device.Long(Prop::Columns), device.Long(Prop::DeviceColumns)), LONG{1},
                              kMostColumns);
        for (Prop rows : {Prop::Rows, Prop::DeviceRows})
            device.Set(rows, rows_);
        for (Prop columns : {Prop::Columns, Prop::DeviceColumns})
            device.Set(columns, columns_);
        Clear(device);
    }

    std::optional<LONG> Simulate(Device&, LONG command, LONG& data, std::u16string& text) override {
        if (command != kSimReadBack)
            return std::nullopt;
        text.clear();
        for (const std::u16string& row : screen_) {
            const auto end = row.find_last_not_of(u' ');
            text += row.substr(0, end == std::u16string::npos ? 0 : end + 1) + u"\n";
        }
        data = rows_;
        return OPOS_SUCCESS;
    }

    LONG Put(Device& device, Prop prop, const Value& value) override {
        const LONG number = std::get<LONG>(value);
        const bool fits =
            (prop == Prop::CursorRow && number >= 0 && number < rows_) ||
            (prop == Prop::CursorColumn && number >= 0 && number <= columns_) ||
            (prop == Prop::CharacterSet && ListHolds(device.Text(Prop::CharacterSetList), number));
        if (!fits)
            return OPOS_E_ILLEGAL;
        device.Set(prop, number);
        return OPOS_SUCCESS;
    }

    LONG Display(Device& device, std::u16string_view text, LONG attribute) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (attribute < DISP_DT_NORMAL || attribute > DISP_DT_BLINK_REVERSE || text.size() > kLongestText)
            return OPOS_E_ILLEGAL;
        const LONG row = device.Long(Prop::CursorRow);
        const LONG column = device.Long(Prop::CursorColumn);
        Write(device, text);
        if (!device.Bool(Prop::CursorUpdate)) {
            device.Set(Prop::CursorRow, row);
            device.Set(Prop::CursorColumn, column);
        }
        return OPOS_SUCCESS;
    }

    LONG DisplayAt(Device& device, LONG row, LONG column, std::u16string_view text, LONG attribute) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (row < 0 || row >= rows_ || column < 0 || column >= columns_)
            return OPOS_E_ILLEGAL;
        device.Set(Prop::CursorRow, row);
        device.Set(Prop::CursorColumn, column);
        return Display(device, text, attribute);
    }

    LONG ClearText(Device& device) {
        if (const LONG refused = device.Refusal())
            return refused;
        Clear(device);
        return OPOS_SUCCESS;
    }

private:
    void Clear(Device& device) {
        screen_.assign(static_cast<std::size_t>(rows_),
                       std::u16string(static_cast<std::size_t>(columns_), u' '));
        device.Set(Prop::CursorRow, 0);
        device.Set(Prop::CursorColumn, 0);
    }

    void Write(Device& device, std::u16string_view text) {
        LONG row = device.Long(Prop::CursorRow);
        LONG column = device.Long(Prop::CursorColumn);
        for (char16_t c : text) {
            if (c == u'\r') {
                column = 0;
                continue;
            }
            if (c == u'\n' || column >= columns_) {
                column = 0;
                row = NextRow(row);
                if (c == u'\n')
                    continue;
            }
            screen_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column++)] = c;
        }
        device.Set(Prop::CursorRow, row);
        device.Set(Prop::CursorColumn, column);
    }

    LONG NextRow(LONG row) {
        if (row + 1 < rows_)
            return row + 1;
        screen_.erase(screen_.begin());
        screen_.emplace_back(static_cast<std::size_t>(columns_), u' ');
        return row;
    }

    LONG rows_ = 2;
    LONG columns_ = 20;
    std::vector<std::u16string> screen_;
};

LineDisplay& Display(Device& device) {
    return static_cast<LineDisplay&>(device.Behaviour());
}

LONG DisplayText(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 2);
    const LONG attribute = args.IsMissing(1) ? DISP_DT_NORMAL : args.Long(1);
    return device.Finish(Display(device).Display(device, args.String(0), attribute));
}

LONG DisplayTextAt(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(3, 4);
    const LONG attribute = args.IsMissing(3) ? DISP_DT_NORMAL : args.Long(3);
    return device.Finish(
        Display(device).DisplayAt(device, args.Long(0), args.Long(1), args.String(2), attribute));
}

LONG ClearText(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Finish(Display(device).ClearText(device));
}

constexpr PropertyRow kProperties[] = {
    {Prop::CapBlink, Long(1)},
    {Prop::CapBrightness, Flag(true)},
    {Prop::CapCharacterSet, Long(DISP_CS_ASCII)},
    {Prop::CapDescriptors, Flag(false)},
    {Prop::CapHMarquee, Flag(false)},
    {Prop::CapICharWait, Flag(false)},
    {Prop::CapVMarquee, Flag(false)},
    {Prop::CharacterSet, Long(DISP_CS_ASCII), Access::Custom},
    {Prop::CharacterSetList, Text(u"998")},
    {Prop::Columns, Long(20)},
    {Prop::CurrentWindow, Long(0), Access::Ranged, 0, 0},
    {Prop::CursorColumn, Long(0), Access::Custom},
    {Prop::CursorRow, Long(0), Access::Custom},
    {Prop::CursorUpdate, Flag(true), Access::Writable},
    {Prop::DeviceBrightness, Long(100), Access::Ranged, 0, 100},
    {Prop::DeviceColumns, Long(20)},
    {Prop::DeviceDescriptors, Long(0)},
    {Prop::DeviceRows, Long(2)},
    {Prop::DeviceWindows, Long(0)},
    {Prop::InterCharacterWait, Long(0), Access::Ranged, 0, 0},
    {Prop::MarqueeFormat, Long(0), Access::Ranged, 0, 1},
    {Prop::MarqueeRepeatWait, Long(0), Access::Ranged, 0, 60000},
    {Prop::MarqueeType, Long(0), Access::Ranged, 0, 0},
    {Prop::MarqueeUnitWait, Long(0), Access::Ranged, 0, 60000},
    {Prop::Rows, Long(2)},
};

constexpr MethodRow kMethods[] = {
    {u"DisplayText", DisplayText},
    {u"DisplayTextAt", DisplayTextAt},
    {u"ClearText", ClearText},
};

} // namespace

KindRows LineDisplayRows() {
    return {kProperties, kMethods, [] { return std::unique_ptr<KindBehaviour>(new LineDisplay); }};
}

} // namespace zorv::opos
