// The line display: windows over one shared screen, text written at each
// window's cursor, wrapping at the end of a row and scrolling up past the
// last one, and the screen sent whole to the back end after each change.
#include <algorithm>
#include <filesystem>
#include <vector>

#include "device.h"
#include "list_text.h"
#include "platform/com/text.h"

namespace zorv::opos {
namespace {

// A profile may give any size; the screen kept in memory stays sensible.
constexpr LONG kMostRows = 64;
constexpr LONG kMostColumns = 256;
constexpr std::size_t kLongestText = 65536;
constexpr LONG kMostWindows = 4;
constexpr LONG kDescriptors = 8;
constexpr LONG DISP_ST_UP = 1, DISP_ST_DOWN = 2, DISP_ST_LEFT = 3, DISP_ST_RIGHT = 4;
constexpr LONG DISP_MT_NONE = 0, DISP_MT_INIT = 5;
constexpr LONG DISP_SD_OFF = 0, DISP_SD_BLINK = 2;

// What the device shows, shared by every object opened on it.
struct Screen {
    std::vector<std::u16string> rows;
};

struct Window {
    LONG viewportRow = 0, viewportColumn = 0, viewportHeight = 0, viewportWidth = 0;
    std::vector<std::u16string> cells;
    LONG cursorRow = 0, cursorColumn = 0;
    LONG top = 0, left = 0; // the part of the window the viewport shows
};

class LineDisplay final : public KindBehaviour {
public:
    void Opened(Device& device) override {
        // Window 0 is the whole device, whichever of the two a profile sized.
        const LONG rows =
            std::clamp(std::max(device.Long(Prop::Rows), device.Long(Prop::DeviceRows)), LONG{1}, kMostRows);
        const LONG columns = std::clamp(
            std::max(device.Long(Prop::Columns), device.Long(Prop::DeviceColumns)), LONG{1}, kMostColumns);
        device.Set(Prop::DeviceRows, rows);
        device.Set(Prop::DeviceColumns, columns);
        std::any& state = device.Hardware().KindState();
        const bool fresh = !state.has_value();
        if (fresh)
            state = std::make_shared<Screen>(Screen{Blank(rows, columns)});
        screen_ = std::any_cast<std::shared_ptr<Screen>>(state);
        windows_.assign(1, Window{0, 0, rows, columns, {}});
        current_ = 0;
        descriptors_.assign(kDescriptors, DISP_SD_OFF);
        Select(device, 0);
        if (fresh)
            Show(device);
    }

    void Closing(Device&) override { screen_.reset(); }

    LONG Put(Device& device, Prop prop, const Value& value) override {
        const LONG number = std::get<LONG>(value);
        Window& window = windows_[current_];
        switch (prop) {
        case Prop::CursorRow:
            if (number < 0 || number >= Height(window))
                return OPOS_E_ILLEGAL;
            window.cursorRow = number;
            break;
        case Prop::CursorColumn:
            if (number < 0 || number > Width(window))
                return OPOS_E_ILLEGAL;
            window.cursorColumn = number;
            break;
        case Prop::CharacterSet:
            if (!ListHolds(device.Text(Prop::CharacterSetList), number))
                return OPOS_E_ILLEGAL;
            break;
        case Prop::CurrentWindow:
            if (number < 0 || number >= static_cast<LONG>(windows_.size()))
                return OPOS_E_ILLEGAL;
            Select(device, number);
            return OPOS_SUCCESS;
        case Prop::MarqueeType:
            return SetMarquee(device, number);
        default:
            return OPOS_E_ILLEGAL;
        }
        device.Set(prop, number);
        return OPOS_SUCCESS;
    }

    LONG Display(Device& device, std::u16string_view text, LONG attribute) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (attribute < DISP_DT_NORMAL || attribute > DISP_DT_BLINK_REVERSE || text.size() > kLongestText)
            return OPOS_E_ILLEGAL;
        Window& window = windows_[current_];
        const LONG row = window.cursorRow;
        const LONG column = window.cursorColumn;
        Write(window, text);
        if (!device.Bool(Prop::CursorUpdate)) {
            window.cursorRow = row;
            window.cursorColumn = column;
        }
        return Show(device);
    }

    LONG DisplayAt(Device& device, LONG row, LONG column, std::u16string_view text, LONG attribute) {
        if (const LONG refused = device.Refusal())
            return refused;
        Window& window = windows_[current_];
        if (row < 0 || row >= Height(window) || column < 0 || column >= Width(window))
            return OPOS_E_ILLEGAL;
        window.cursorRow = row;
        window.cursorColumn = column;
        return Display(device, text, attribute);
    }

    LONG ClearText(Device& device) {
        if (const LONG refused = device.Refusal())
            return refused;
        Window& window = windows_[current_];
        Cells(window) = Blank(Height(window), Width(window));
        window.cursorRow = window.cursorColumn = window.top = window.left = 0;
        return Show(device);
    }

    // The window's content moves under its viewport, blanks coming in.
    LONG Scroll(Device& device, LONG direction, LONG units) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (direction < DISP_ST_UP || direction > DISP_ST_RIGHT || units < 1)
            return OPOS_E_ILLEGAL;
        Window& window = windows_[current_];
        const LONG width = Width(window);
        for (LONG i = 0; i < std::min(units, std::max(Height(window), width)); ++i) {
            if (direction == DISP_ST_UP) {
                Cells(window).erase(Cells(window).begin());
                Cells(window).emplace_back(static_cast<std::size_t>(width), u' ');
            } else if (direction == DISP_ST_DOWN) {
                Cells(window).pop_back();
                Cells(window).insert(Cells(window).begin(),
                                     std::u16string(static_cast<std::size_t>(width), u' '));
            } else {
                for (std::u16string& row : Cells(window))
                    row = direction == DISP_ST_LEFT ? row.substr(1) + u' '
                                                    : u' ' + row.substr(0, row.size() - 1);
            }
        }
        return Show(device);
    }

    LONG Create(Device& device, LONG vpRow, LONG vpColumn, LONG vpHeight, LONG vpWidth, LONG height,
                LONG width) {
        if (const LONG refused = device.Refusal())
            return refused;
        const LONG rows = device.Long(Prop::DeviceRows);
        const LONG columns = device.Long(Prop::DeviceColumns);
        const bool fits = vpRow >= 0 && vpColumn >= 0 && vpHeight >= 1 && vpWidth >= 1 &&
                          vpRow + vpHeight <= rows && vpColumn + vpWidth <= columns && height >= vpHeight &&
                          width >= vpWidth && height <= kMostRows && width <= kMostColumns;
        if (!fits || static_cast<LONG>(windows_.size()) > kMostWindows)
            return OPOS_E_ILLEGAL;
        windows_.push_back(Window{vpRow, vpColumn, vpHeight, vpWidth, Blank(height, width)});
        Select(device, static_cast<LONG>(windows_.size()) - 1);
        return OPOS_SUCCESS;
    }

    LONG Destroy(Device& device) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (current_ == 0)
            return OPOS_E_ILLEGAL;
        windows_.erase(windows_.begin() + current_);
        Select(device, 0);
        return Show(device);
    }

    LONG Refresh(Device& device, LONG window) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (window < 0 || window >= static_cast<LONG>(windows_.size()))
            return OPOS_E_ILLEGAL;
        Select(device, window);
        return Show(device);
    }

    LONG ReadAtCursor(Device& device, LONG& character) {
        if (const LONG refused = device.Refusal())
            return refused;
        const Window& window = windows_[current_];
        const LONG column = std::min(window.cursorColumn, Width(window) - 1);
        character =
            Cells(window)[static_cast<std::size_t>(window.cursorRow)][static_cast<std::size_t>(column)];
        return OPOS_SUCCESS;
    }

    LONG SetDescriptor(Device& device, LONG descriptor, LONG attribute) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (descriptor < 0 || descriptor >= kDescriptors || attribute < DISP_SD_OFF ||
            attribute > DISP_SD_BLINK)
            return OPOS_E_ILLEGAL;
        descriptors_[static_cast<std::size_t>(descriptor)] = attribute;
        return OPOS_SUCCESS;
    }

    LONG ClearDescriptors(Device& device) {
        if (const LONG refused = device.Refusal())
            return refused;
        std::fill(descriptors_.begin(), descriptors_.end(), DISP_SD_OFF);
        return OPOS_SUCCESS;
    }

    // A glyph is GlyphHeight bytes of GlyphWidth bits; the code joins the list.
    LONG DefineGlyph(Device& device, LONG code, std::u16string_view glyph) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (code < 0 || code > 255 ||
            glyph.size() != static_cast<std::size_t>(device.Long(Prop::GlyphHeight)))
            return OPOS_E_ILLEGAL;
        std::u16string list = device.Text(Prop::CustomGlyphList);
        if (!ListHolds(list, code))
            list += (list.empty() ? u"" : u",") + com::Utf8ToUtf16(std::to_string(code));
        device.Set(Prop::CustomGlyphList, list);
        return OPOS_SUCCESS;
    }

    // Bitmaps are drawn on graphic displays only; a file that is not there
    // is refused as the standard says, whatever the screen.
    LONG Bitmap(Device& device, std::u16string_view file, LONG width) {
        if (const LONG refused = device.Refusal())
            return refused;
        std::error_code error;
        if (!std::filesystem::is_regular_file(com::Utf16ToUtf8(file), error))
            return OPOS_E_NOEXIST;
        return width < -11 ? OPOS_E_ILLEGAL : OPOS_SUCCESS;
    }

private:
    static std::vector<std::u16string> Blank(LONG rows, LONG columns) {
        return std::vector<std::u16string>(static_cast<std::size_t>(rows),
                                           std::u16string(static_cast<std::size_t>(columns), u' '));
    }
    // Window 0 is the device's own screen, which every object shares.
    std::vector<std::u16string>& Cells(const Window& w) {
        return &w == &windows_.front() ? screen_->rows : const_cast<Window&>(w).cells;
    }
    LONG Height(const Window& w) { return static_cast<LONG>(Cells(w).size()); }
    LONG Width(const Window& w) { return static_cast<LONG>(Cells(w).front().size()); }

    // Rows, Columns and the cursor properties are the current window's.
    void Select(Device& device, LONG index) {
        current_ = static_cast<std::size_t>(index);
        const Window& window = windows_[current_];
        device.Set(Prop::CurrentWindow, index);
        device.Set(Prop::Rows, Height(window));
        device.Set(Prop::Columns, Width(window));
        device.Set(Prop::DeviceWindows, kMostWindows);
        SyncCursor(device);
    }

    void SyncCursor(Device& device) {
        device.Set(Prop::CursorRow, windows_[current_].cursorRow);
        device.Set(Prop::CursorColumn, windows_[current_].cursorColumn);
    }

    // In marquee-init mode text builds the marquee without being shown.
    LONG SetMarquee(Device& device, LONG type) {
        if (type < DISP_MT_NONE || type > DISP_MT_INIT || (type != DISP_MT_NONE && current_ == 0))
            return OPOS_E_ILLEGAL;
        device.Set(Prop::MarqueeType, type);
        return type == DISP_MT_INIT ? OPOS_SUCCESS : Show(device);
    }

    void Write(Window& window, std::u16string_view text) {
        for (char16_t c : text) {
            if (c == u'\r') {
                window.cursorColumn = 0;
                continue;
            }
            if (c == u'\n' || window.cursorColumn >= Width(window)) {
                window.cursorColumn = 0;
                NextRow(window);
                if (c == u'\n')
                    continue;
            }
            Cells(window)[static_cast<std::size_t>(window.cursorRow)]
                         [static_cast<std::size_t>(window.cursorColumn++)] = c;
        }
    }

    void NextRow(Window& window) {
        if (window.cursorRow + 1 < Height(window)) {
            ++window.cursorRow;
            return;
        }
        Cells(window).erase(Cells(window).begin());
        Cells(window).emplace_back(static_cast<std::size_t>(Width(window)), u' ');
    }

    // The current window's viewport goes onto the shared screen, which
    // goes to the device whole.
    LONG Show(Device& device) {
        SyncCursor(device);
        if (device.Long(Prop::MarqueeType) == DISP_MT_INIT)
            return OPOS_SUCCESS;
        const Window& window = windows_[current_];
        for (LONG r = 0; current_ != 0 && r < window.viewportHeight; ++r) {
            const std::u16string& from = Cells(window)[static_cast<std::size_t>(window.top + r)];
            std::u16string& to = screen_->rows[static_cast<std::size_t>(window.viewportRow + r)];
            to.replace(static_cast<std::size_t>(window.viewportColumn),
                       static_cast<std::size_t>(window.viewportWidth),
                       from.substr(static_cast<std::size_t>(window.left),
                                   static_cast<std::size_t>(window.viewportWidth)));
        }
        std::u16string rows;
        for (const std::u16string& row : screen_->rows)
            rows += row + u"\n";
        Output output = Output::Of(Output::What::Screen);
        output.data = std::move(rows);
        output.params[0] = window.viewportRow + window.cursorRow - window.top;
        output.params[1] = window.viewportColumn + window.cursorColumn - window.left;
        output.params[2] = device.Long(Prop::DeviceBrightness);
        return device.SendNow(output).code;
    }

    std::shared_ptr<Screen> screen_;
    std::vector<Window> windows_;
    std::size_t current_ = 0;
    std::vector<LONG> descriptors_;
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

LONG ScrollText(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Display(device).Scroll(device, args.Long(0), args.Long(1)));
}

LONG CreateWindow(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(6, 6);
    return device.Finish(Display(device).Create(device, args.Long(0), args.Long(1), args.Long(2),
                                                args.Long(3), args.Long(4), args.Long(5)));
}

LONG DestroyWindow(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Finish(Display(device).Destroy(device));
}

LONG RefreshWindow(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return device.Finish(Display(device).Refresh(device, args.Long(0)));
}

LONG ReadCharacterAtCursor(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    LONG character = 0;
    const LONG code = device.Finish(Display(device).ReadAtCursor(device, character));
    args.SetByRef(0, com::Variant(character));
    return code;
}

LONG SetDescriptor(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Display(device).SetDescriptor(device, args.Long(0), args.Long(1)));
}

LONG ClearDescriptors(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(0, 0);
    return device.Finish(Display(device).ClearDescriptors(device));
}

LONG DefineGlyph(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return device.Finish(Display(device).DefineGlyph(device, args.Long(0), args.String(1)));
}

LONG DisplayBitmap(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(4, 4);
    return device.Finish(Display(device).Bitmap(device, args.String(0), args.Long(1)));
}

// SetBitmap(BitmapNumber, FileName, Width, AlignmentX, AlignmentY).
LONG SetBitmap(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(5, 5);
    if (args.Long(0) < 1 || args.Long(0) > 20)
        return device.Finish(device.Refusal() ? device.Refusal() : OPOS_E_ILLEGAL);
    return device.Finish(Display(device).Bitmap(device, args.String(1), args.Long(2)));
}

constexpr PropertyRow kProperties[] = {
    {Prop::CapBlink, Long(1)},
    {Prop::CapBrightness, Flag(true)},
    {Prop::CapCharacterSet, Long(DISP_CS_ASCII)},
    {Prop::CapDescriptors, Flag(true)},
    {Prop::CapHMarquee, Flag(true)},
    {Prop::CapICharWait, Flag(false)},
    {Prop::CapVMarquee, Flag(true)},
    {Prop::CharacterSet, Long(DISP_CS_ASCII), Access::Custom},
    {Prop::CharacterSetList, Text(u"998")},
    {Prop::Columns, Long(20)},
    {Prop::CurrentWindow, Long(0), Access::Custom},
    {Prop::CursorColumn, Long(0), Access::Custom},
    {Prop::CursorRow, Long(0), Access::Custom},
    {Prop::CursorUpdate, Flag(true), Access::Writable},
    {Prop::DeviceBrightness, Long(100), Access::Ranged, 0, 100},
    {Prop::DeviceColumns, Long(20)},
    {Prop::DeviceDescriptors, Long(kDescriptors)},
    {Prop::DeviceRows, Long(2)},
    {Prop::DeviceWindows, Long(kMostWindows)},
    {Prop::InterCharacterWait, Long(0), Access::Ranged, 0, 0},
    {Prop::MarqueeFormat, Long(0), Access::Ranged, 0, 1},
    {Prop::MarqueeRepeatWait, Long(0), Access::Ranged, 0, 60000},
    {Prop::MarqueeType, Long(0), Access::Custom},
    {Prop::MarqueeUnitWait, Long(0), Access::Ranged, 0, 60000},
    {Prop::Rows, Long(2)},
    {Prop::BlinkRate, Long(500), Access::Ranged, 1, 10000},
    {Prop::CapBlinkRate, Flag(true)},
    {Prop::CapCursorType, Long(0)},
    {Prop::CursorType, Long(0), Access::Ranged, 0, 0},
    {Prop::CapCustomGlyph, Flag(true)},
    {Prop::CustomGlyphList, Text(u"")},
    {Prop::GlyphHeight, Long(7)},
    {Prop::GlyphWidth, Long(5)},
    {Prop::CapReadBack, Long(1)},
    {Prop::CapReverse, Long(1)},
    {Prop::CapBitmap, Flag(false)},
    {Prop::CapMapCharacterSet, Flag(false)},
    {Prop::MapCharacterSet, Flag(false), Access::Ranged, 0, 0},
    {Prop::CapScreenMode, Flag(false)},
    {Prop::ScreenMode, Long(0), Access::Ranged, 0, 0},
    {Prop::ScreenModeList, Text(u"")},
    {Prop::MaximumX, Long(0)},
    {Prop::MaximumY, Long(0)},
};

constexpr MethodRow kMethods[] = {
    {u"DisplayText", DisplayText},     {u"DisplayTextAt", DisplayTextAt},
    {u"ClearText", ClearText},         {u"ScrollText", ScrollText},
    {u"CreateWindow", CreateWindow},   {u"DestroyWindow", DestroyWindow},
    {u"RefreshWindow", RefreshWindow}, {u"ReadCharacterAtCursor", ReadCharacterAtCursor},
    {u"SetDescriptor", SetDescriptor}, {u"ClearDescriptors", ClearDescriptors},
    {u"DefineGlyph", DefineGlyph},     {u"DisplayBitmap", DisplayBitmap},
    {u"SetBitmap", SetBitmap},
};

} // namespace

KindRows LineDisplayRows() {
    return {kProperties, kMethods, [] { return std::unique_ptr<KindBehaviour>(new LineDisplay); }};
}

} // namespace zorv::opos
