// The line display: windows over one shared screen, text written at each
// window's cursor, wrapping at the end of a row and scrolling up past the
// last one, and the screen sent whole to the back end after each change.
// Blinking text and marquees run on apartment timers while the device is
// enabled; each beat sends the screen as it now looks.
#include <algorithm>
#include <filesystem>
#include <vector>

#include "kinds/kind_table.h"
#include "kinds/line_display/line_display_grid.h"
#include "kinds/line_display/line_display_marquee.h"
#include "kinds/list_text.h"
#include "model/device.h"
#include "platform/com/apartment.h"
#include "platform/com/text.h"

namespace zorv::opos {
namespace {

// A profile may give any size; the screen kept in memory stays sensible.
constexpr LONG kMostRows = 64;
constexpr LONG kMostColumns = 256;
constexpr std::size_t kLongestText = 65536;
constexpr LONG kMostWindows = 4;
constexpr LONG kDescriptors = 8;
constexpr LONG DISP_MT_NONE = 0, DISP_MT_UP = 1, DISP_MT_DOWN = 2, DISP_MT_LEFT = 3, DISP_MT_RIGHT = 4,
               DISP_MT_INIT = 5;
constexpr LONG DISP_MF_WALK = 0;
constexpr LONG DISP_SD_OFF = 0, DISP_SD_BLINK = 2;
constexpr LONG DISP_DT_BLINK = 1;
constexpr LONG DISP_CB_NOBLINK = 0, DISP_CB_BLINKALL = 1;
constexpr LONG DISP_CT_BLINK = 0x10000000, DISP_CCT_BLINK = 0x40;
// No screen changes faster than this, whatever the waits say: a serial
// display could not follow, and a wait of 0 must not spin the apartment.
constexpr std::chrono::milliseconds kFastestBeat{20};

// What the device shows, shared by every object opened on it.
struct Screen {
    Grid cells;
};

struct Window {
    LONG viewportRow = 0, viewportColumn = 0, viewportHeight = 0, viewportWidth = 0;
    Grid cells; // window 0 keeps its cells in the shared screen
    LONG cursorRow = 0, cursorColumn = 0;
    // The part of the window the viewport shows; a marquee may reach past
    // the window's edges, where blanks show.
    LONG top = 0, left = 0;
    // Each window's own marquee settings, as the properties show the current one's.
    LONG marqueeType = DISP_MT_NONE, marqueeFormat = DISP_MF_WALK, unitWait = 0, repeatWait = 0;
    bool walking = true;      // the format the running marquee started with
    bool displayRuns = false; // the display scrolls it by itself
    LONG marqueeStep = 0;
    com::TimerId marqueeTimer = 0;
    int serial = 0; // finds the window again from a timer, whatever was destroyed meanwhile
};

bool Moving(LONG marqueeType) {
    return marqueeType >= DISP_MT_UP && marqueeType <= DISP_MT_RIGHT;
}

class LineDisplay final : public KindBehaviour {
public:
    ~LineDisplay() override { StopTimers(); }

    void Opened(Device& device) override {
        device_ = &device;
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
            state = std::make_shared<Screen>(Screen{Grid::Blank(rows, columns)});
        screen_ = std::any_cast<std::shared_ptr<Screen>>(state);
        windows_.assign(1, Window{0, 0, rows, columns, Grid{}});
        current_ = 0;
        descriptors_.assign(kDescriptors, DISP_SD_OFF);
        Select(device, 0);
        if (fresh)
            Show(device);
    }

    // The display is left showing its text, not caught in a blink.
    void Closing(Device& device) override {
        StopTimers();
        if (std::exchange(blinkOff_, false))
            Send(device);
        screen_.reset();
    }

    // Animations run only while enabled; disabled, the screen holds still,
    // blinking text shown.
    void EnabledChanged(Device& device, bool enabled) override {
        StopTimers();
        blinkOff_ = false;
        bool displayRuns = false;
        for (Window& window : windows_) {
            displayRuns = displayRuns || window.displayRuns;
            if (enabled && Moving(window.marqueeType) && !window.displayRuns)
                ScheduleMarquee(window, std::chrono::milliseconds(window.unitWait));
        }
        UpdateBlink(device);
        // A display that blinks or scrolls by itself is told to start or stop too.
        if (screen_->cells.Blinks() || displayRuns)
            Send(device);
    }

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
        case Prop::MarqueeFormat:
        case Prop::MarqueeUnitWait:
        case Prop::MarqueeRepeatWait:
            return SetMarqueeTiming(device, prop, number);
        case Prop::BlinkRate:
            return SetBlinkRate(device, number);
        case Prop::CursorType:
            return SetCursorType(device, number);
        default:
            return OPOS_E_ILLEGAL;
        }
        device.Set(prop, number);
        return OPOS_SUCCESS;
    }

    // A marquee that runs stops to take new text, which builds it again.
    LONG Display(Device& device, std::u16string_view text, LONG attribute) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (attribute < DISP_DT_NORMAL || attribute > DISP_DT_BLINK_REVERSE)
            return OPOS_E_ILLEGAL;
        if (text.size() > kLongestText) {
            // The display has no error text of its own; the health text carries the reason.
            device.SetHealthText(u"DisplayText: " + com::Utf8ToUtf16(std::to_string(text.size())) +
                                 u" characters, more than the " +
                                 com::Utf8ToUtf16(std::to_string(kLongestText)) + u" a call may carry");
            return OPOS_E_ILLEGAL;
        }
        Window& window = windows_[current_];
        if (Moving(window.marqueeType))
            SetMarquee(device, DISP_MT_INIT);
        const LONG row = window.cursorRow;
        const LONG column = window.cursorColumn;
        Write(window, text, (attribute & DISP_DT_BLINK) != 0);
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

    // A running marquee cannot be cleared; stop it first.
    LONG ClearText(Device& device) {
        if (const LONG refused = device.Refusal())
            return refused;
        Window& window = windows_[current_];
        if (Moving(window.marqueeType))
            return OPOS_E_ILLEGAL;
        Cells(window) = Grid::Blank(Height(window), Width(window));
        window.cursorRow = window.cursorColumn = window.top = window.left = 0;
        return Show(device);
    }

    // The window's content moves under its viewport, blanks coming in.
    LONG Scroll(Device& device, LONG direction, LONG units) {
        if (const LONG refused = device.Refusal())
            return refused;
        Window& window = windows_[current_];
        if (direction < DISP_ST_UP || direction > DISP_ST_RIGHT || units < 1 || Moving(window.marqueeType))
            return OPOS_E_ILLEGAL;
        for (LONG i = 0; i < std::min(units, std::max(Height(window), Width(window))); ++i)
            Cells(window).Shift(direction);
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
        Window window{vpRow, vpColumn, vpHeight, vpWidth, Grid::Blank(height, width)};
        window.serial = ++lastSerial_;
        windows_.push_back(std::move(window));
        Select(device, static_cast<LONG>(windows_.size()) - 1);
        return OPOS_SUCCESS;
    }

    LONG Destroy(Device& device) {
        if (const LONG refused = device.Refusal())
            return refused;
        if (current_ == 0)
            return OPOS_E_ILLEGAL;
        com::CancelTimer(windows_[current_].marqueeTimer);
        windows_.erase(windows_.begin() + static_cast<std::ptrdiff_t>(current_));
        current_ = 0;
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
            Cells(window).text[static_cast<std::size_t>(window.cursorRow)][static_cast<std::size_t>(column)];
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
    // Window 0 is the device's own screen, which every object shares.
    Grid& Cells(const Window& w) {
        return &w == &windows_.front() ? screen_->cells : const_cast<Window&>(w).cells;
    }
    LONG Height(const Window& w) { return Cells(w).Height(); }
    LONG Width(const Window& w) { return Cells(w).Width(); }

    // Rows, Columns, the cursor and the marquee properties are the current
    // window's; each window keeps what the application set for it.
    void Select(Device& device, LONG index) {
        current_ = static_cast<std::size_t>(index);
        const Window& window = windows_[current_];
        device.Set(Prop::CurrentWindow, index);
        device.Set(Prop::Rows, Height(window));
        device.Set(Prop::Columns, Width(window));
        device.Set(Prop::DeviceWindows, kMostWindows);
        device.Set(Prop::MarqueeType, window.marqueeType);
        device.Set(Prop::MarqueeFormat, window.marqueeFormat);
        device.Set(Prop::MarqueeUnitWait, window.unitWait);
        device.Set(Prop::MarqueeRepeatWait, window.repeatWait);
        SyncCursor(device);
    }

    void SyncCursor(Device& device) {
        device.Set(Prop::CursorRow, windows_[current_].cursorRow);
        device.Set(Prop::CursorColumn, windows_[current_].cursorColumn);
    }

    // Init mode collects text without showing it; a direction starts the
    // marquee from its first step (with the format then in force); none
    // shows the window as it stands.
    LONG SetMarquee(Device& device, LONG type) {
        Window& window = windows_[current_];
        if (type < DISP_MT_NONE || type > DISP_MT_INIT || (type != DISP_MT_NONE && current_ == 0))
            return OPOS_E_ILLEGAL;
        const bool vertical = type == DISP_MT_UP || type == DISP_MT_DOWN;
        if (Moving(type) &&
            (vertical ? !device.Bool(Prop::CapVMarquee) || Height(window) <= window.viewportHeight
                      : !device.Bool(Prop::CapHMarquee) || Width(window) <= window.viewportWidth))
            return OPOS_E_ILLEGAL;
        com::CancelTimer(std::exchange(window.marqueeTimer, 0));
        const bool displayRan = std::exchange(window.displayRuns, false);
        window.marqueeType = type;
        device.Set(Prop::MarqueeType, type);
        window.walking = window.marqueeFormat == DISP_MF_WALK;
        window.marqueeStep = 0;
        if (type == DISP_MT_INIT)
            return displayRan ? Send(device) : OPOS_SUCCESS;
        if (type == DISP_MT_NONE) {
            window.top = window.left = 0;
            return Show(device);
        }
        if (DisplayCanRun(device, window)) {
            window.displayRuns = true;
            window.top = window.left = 0;
            Paint(window);
            return Send(device);
        }
        return MarqueeBeat(device, window);
    }

    // A display that scrolls by itself does it leftward over its whole top
    // row, at its own pace: the waits and the format are then its own.
    bool DisplayCanRun(Device& device, const Window& window) {
        return window.marqueeType == DISP_MT_LEFT && window.viewportRow == 0 && window.viewportColumn == 0 &&
               window.viewportHeight == 1 && window.viewportWidth == device.Long(Prop::DeviceColumns) &&
               Height(window) == 1 && Width(window) <= device.Hardware().Hardware().LongestOwnMarquee();
    }

    // The waits of a running marquee change from its next step; the
    // format is read when it starts.
    LONG SetMarqueeTiming(Device& device, Prop prop, LONG value) {
        if (value < 0 || value > (prop == Prop::MarqueeFormat ? 1 : 60000))
            return OPOS_E_ILLEGAL;
        device.Set(prop, value);
        Window& window = windows_[current_];
        (prop == Prop::MarqueeFormat     ? window.marqueeFormat
         : prop == Prop::MarqueeUnitWait ? window.unitWait
                                         : window.repeatWait) = value;
        return OPOS_SUCCESS;
    }

    // The viewport shows the marquee's current step, then the next is timed.
    LONG MarqueeBeat(Device& device, Window& window) {
        const bool vertical = window.marqueeType == DISP_MT_UP || window.marqueeType == DISP_MT_DOWN;
        const bool forward = window.marqueeType == DISP_MT_UP || window.marqueeType == DISP_MT_LEFT;
        const MarqueeTrack track{window.walking, vertical ? Height(window) : Width(window),
                                 vertical ? window.viewportHeight : window.viewportWidth};
        (vertical ? window.top : window.left) = MarqueeOffset(track, forward, window.marqueeStep);
        (vertical ? window.left : window.top) = 0;
        std::chrono::milliseconds wait(window.unitWait);
        if (++window.marqueeStep >= MarqueeSteps(track)) {
            window.marqueeStep = 0;
            wait += std::chrono::milliseconds(window.repeatWait);
        }
        if (device.IsEnabled())
            ScheduleMarquee(window, wait);
        Paint(window);
        return Send(device);
    }

    void ScheduleMarquee(Window& window, std::chrono::milliseconds wait) {
        com::CancelTimer(window.marqueeTimer);
        window.marqueeTimer = com::PostDelayedCall(
            [this, serial = window.serial] {
                for (Window& w : windows_)
                    if (w.serial == serial && device_ != nullptr) {
                        w.marqueeTimer = 0;
                        MarqueeBeat(*device_, w);
                    }
            },
            std::max(wait, kFastestBeat));
    }

    LONG SetBlinkRate(Device& device, LONG rate) {
        if (rate < 1 || rate > 10000)
            return OPOS_E_ILLEGAL;
        device.Set(Prop::BlinkRate, rate);
        com::CancelTimer(std::exchange(blinkTimer_, 0));
        UpdateBlink(device);
        return SendIfEnabled(device);
    }

    // The cursor types CapCursorType lists, each maybe blinking.
    LONG SetCursorType(Device& device, LONG type) {
        const LONG capable = device.Long(Prop::CapCursorType);
        const LONG shape = type & ~DISP_CT_BLINK;
        const bool blinks = (type & DISP_CT_BLINK) != 0;
        if (shape < 0 || shape > 6 || (shape > 0 && (capable & (1 << (shape - 1))) == 0) ||
            (blinks && (shape == 0 || (capable & DISP_CCT_BLINK) == 0)))
            return OPOS_E_ILLEGAL;
        device.Set(Prop::CursorType, type);
        return SendIfEnabled(device);
    }

    // A setting reaches the display with the next change when it is not enabled.
    LONG SendIfEnabled(Device& device) { return device.IsEnabled() ? Send(device) : OPOS_SUCCESS; }

    bool BlinkAll(Device& device) const {
        return device.Long(Prop::CapBlink) == DISP_CB_BLINKALL && screen_->cells.Blinks();
    }

    // Blinking needs the program's beat unless the display blinks by itself.
    void UpdateBlink(Device& device) {
        const LONG capability = device.Long(Prop::CapBlink);
        const bool itself = BlinkAll(device) && device.Hardware().Hardware().BlinksByItself();
        const bool wanted =
            device.IsEnabled() && capability != DISP_CB_NOBLINK && screen_->cells.Blinks() && !itself;
        if (wanted == (blinkTimer_ != 0))
            return;
        if (!wanted) {
            com::CancelTimer(std::exchange(blinkTimer_, 0));
            blinkOff_ = false;
            return;
        }
        const std::chrono::milliseconds half(device.Long(Prop::BlinkRate) / 2);
        blinkTimer_ = com::StartTimer(
            [this] {
                if (device_ == nullptr)
                    return;
                blinkOff_ = !blinkOff_;
                Send(*device_);
            },
            std::max(half, kFastestBeat));
    }

    void StopTimers() {
        com::CancelTimer(std::exchange(blinkTimer_, 0));
        for (Window& window : windows_)
            com::CancelTimer(std::exchange(window.marqueeTimer, 0));
    }

    void Write(Window& window, std::u16string_view text, bool blinks) {
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
            Cells(window).Put(window.cursorRow, window.cursorColumn++, c, blinks);
        }
    }

    void NextRow(Window& window) {
        if (window.cursorRow + 1 < Height(window)) {
            ++window.cursorRow;
            return;
        }
        Cells(window).Shift(DISP_ST_UP);
    }

    // A window's viewport goes onto the shared screen; where the viewport
    // reaches past the window (a marquee walking in), blanks show.
    void Paint(const Window& window) {
        if (&window == &windows_.front())
            return;
        const Grid& from = Cells(window);
        Grid& to = screen_->cells;
        for (LONG r = 0; r < window.viewportHeight; ++r)
            for (LONG c = 0; c < window.viewportWidth; ++c) {
                const LONG row = window.top + r, column = window.left + c;
                const bool inside = row >= 0 && row < from.Height() && column >= 0 && column < from.Width();
                const auto at = [&](const std::vector<std::u16string>& layer) {
                    return inside ? layer[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]
                                  : u' ';
                };
                to.Put(window.viewportRow + r, window.viewportColumn + c, at(from.text),
                       at(from.blink) == kBlinks);
            }
    }

    // The current window (unless it collects a marquee) goes onto the
    // screen, which goes to the device.
    LONG Show(Device& device) {
        SyncCursor(device);
        const Window& window = windows_[current_];
        if (window.marqueeType == DISP_MT_INIT)
            return OPOS_SUCCESS;
        Paint(window);
        UpdateBlink(device);
        return Send(device);
    }

    // The screen whole, as it looks at this beat: blinking cells blank in
    // the off half (every cell, on a display that blinks all or nothing).
    LONG Send(Device& device) {
        const bool all = BlinkAll(device);
        const Grid& cells = screen_->cells;
        std::u16string rows;
        for (std::size_t r = 0; r < cells.text.size(); ++r) {
            std::u16string row = cells.text[r];
            for (std::size_t c = 0; blinkOff_ && c < row.size(); ++c)
                if (all || cells.blink[r][c] == kBlinks)
                    row[c] = u' ';
            rows += row + u"\n";
        }
        for (const Window& running : windows_)
            if (running.displayRuns && device.IsEnabled())
                rows += Cells(running).text.front() + u"\n";
        const Window& window = windows_[current_];
        Output output = Output::Of(Output::What::Screen);
        output.data = std::move(rows);
        output.params[0] = window.viewportRow + window.cursorRow - window.top;
        output.params[1] = window.viewportColumn + window.cursorColumn - window.left;
        output.params[2] = device.Long(Prop::DeviceBrightness);
        output.params[3] = device.Long(Prop::CursorType);
        output.params[4] = all && blinkTimer_ == 0 && device.IsEnabled() ? device.Long(Prop::BlinkRate) : 0;
        return device.SendNow(output).code;
    }

    Device* device_ = nullptr;
    std::shared_ptr<Screen> screen_;
    std::vector<Window> windows_;
    std::size_t current_ = 0;
    int lastSerial_ = 0;
    std::vector<LONG> descriptors_;
    com::TimerId blinkTimer_ = 0;
    bool blinkOff_ = false;
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

LONG CreateDisplayWindow(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(6, 6);
    return device.Finish(Display(device).Create(device, args.Long(0), args.Long(1), args.Long(2),
                                                args.Long(3), args.Long(4), args.Long(5)));
}

LONG DestroyDisplayWindow(Device& device, const com::DispatchArgs& args) {
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
    {Prop::CapBlink, Long(2)},
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
    {Prop::MarqueeFormat, Long(0), Access::Custom},
    {Prop::MarqueeRepeatWait, Long(0), Access::Custom},
    {Prop::MarqueeType, Long(0), Access::Custom},
    {Prop::MarqueeUnitWait, Long(0), Access::Custom},
    {Prop::Rows, Long(2)},
    {Prop::BlinkRate, Long(500), Access::Custom},
    {Prop::CapBlinkRate, Flag(true)},
    {Prop::CapCursorType, Long(0)},
    {Prop::CursorType, Long(0), Access::Custom},
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
    {u"DisplayText", DisplayText},
    {u"DisplayTextAt", DisplayTextAt},
    {u"ClearText", ClearText},
    {u"ScrollText", ScrollText},
    {u"CreateWindow", CreateDisplayWindow},
    {u"DestroyWindow", DestroyDisplayWindow},
    {u"RefreshWindow", RefreshWindow},
    {u"ReadCharacterAtCursor", ReadCharacterAtCursor},
    {u"SetDescriptor", SetDescriptor},
    {u"ClearDescriptors", ClearDescriptors},
    {u"DefineGlyph", DefineGlyph},
    {u"DisplayBitmap", DisplayBitmap},
    {u"SetBitmap", SetBitmap},
};

} // namespace

KindRows LineDisplayRows() {
    return {kProperties, kMethods, [] { return std::unique_ptr<KindBehaviour>(new LineDisplay); }};
}

} // namespace zorv::opos
