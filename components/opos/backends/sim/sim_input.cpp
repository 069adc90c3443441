// What the simulated devices read: labels, swipes, key presses, key turns,
// a hand shutting the drawer, and read errors. Whether anybody takes the
// input is the model's business; the injector learns how many objects did.
#include <algorithm>

#include "kinds/msr/msr_tracks.h"
#include "model/opos_codes.h"
#include "platform/com/date_number_rules.h"
#include "platform/com/text.h"
#include "backends/sim/sim_backend.h"

namespace zorv::opos {
namespace {

constexpr std::size_t kLongestLabel = 4096;
constexpr std::size_t kLongestKey = 64;
constexpr std::size_t kLongestSwipe = 4096;

struct Symbology {
    LONG type;
    std::size_t digits; // 0: any text
};

constexpr Symbology kByLength[] = {
    {SCAN_SDT_UPCA, 12},
    {SCAN_SDT_EAN13, 13},
    {SCAN_SDT_EAN8, 8},
    {SCAN_SDT_UPCE, 6},
};

bool AllDigits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// A label given without a symbology is recognised the way a scanner would.
LONG GuessType(std::u16string_view label) {
    if (AllDigits(label))
        for (const Symbology& s : kByLength)
            if (s.digits == label.size())
                return s.type;
    return SCAN_SDT_Code128;
}

// The swipe command's text: the tracks separated by '|', which no ISO track can hold.
std::optional<std::array<std::u16string, 3>> SplitTracks(std::u16string_view text) {
    std::array<std::u16string, 3> tracks;
    for (int i = 0; i < 3; ++i) {
        const auto bar = text.find(u'|');
        tracks[i] = StripSentinels(text.substr(0, bar), i + 1);
        text = bar == std::u16string_view::npos ? std::u16string_view() : text.substr(bar + 1);
        if (bar == std::u16string_view::npos)
            return tracks;
    }
    if (!text.empty())
        return std::nullopt;
    return tracks;
}

// An electronic key as a script writes it ("0000015227AF"): the bytes it
// holds, one per character; none for a malformed or overlong text.
std::optional<std::u16string> KeyBytes(std::u16string_view hex) {
    if (hex.size() % 2 != 0 || hex.size() / 2 > kLongestKey)
        return std::nullopt;
    std::u16string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = com::HexDigitValue(hex[i]);
        const int low = com::HexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char16_t>(high * 16 + low);
    }
    return bytes;
}

} // namespace

std::optional<LONG> SimBackend::Inject(LONG& data, std::u16string& text) {
    switch (profile_.kind) {
    case Kind::Scanner:
        return InjectScan(data, text);
    case Kind::MSR:
        return InjectSwipe(data, text);
    case Kind::POSKeyboard:
        return InjectKey(data, text);
    case Kind::Keylock:
        if (Number(Prop::CapKeylockType) == LOCK_KT_ELECTRONIC)
            return InsertKey(data, text);
        if (data < LOCK_KP_LOCK || data > Number(Prop::PositionCount))
            return OPOS_E_ILLEGAL;
        data = TurnKey(data);
        return OPOS_SUCCESS;
    case Kind::CashDrawer:
        data = ShutDrawer();
        return OPOS_SUCCESS;
    default:
        return std::nullopt;
    }
}

LONG SimBackend::InjectScan(LONG& data, const std::u16string& text) {
    if (text.empty() || text.size() > kLongestLabel || data < 0)
        return OPOS_E_ILLEGAL;
    data = events_->InputArrived({data == 0 ? GuessType(text) : data, 0, {text}});
    return OPOS_SUCCESS;
}

// The head reads every track; the model keeps those the application asked
// for. Input::detail holds one error byte per track.
LONG SimBackend::InjectSwipe(LONG& data, const std::u16string& text) {
    auto tracks = text.size() <= kLongestSwipe ? SplitTracks(text) : std::nullopt;
    if (!tracks || std::all_of(tracks->begin(), tracks->end(), [](const auto& t) { return t.empty(); }))
        return OPOS_E_ILLEGAL;
    LONG errors = 0;
    for (int i = 0; i < 3; ++i)
        errors |= TrackError((*tracks)[i], i + 1) << (8 * i);
    data = events_->InputArrived({0, errors, {tracks->begin(), tracks->end()}});
    return OPOS_SUCCESS;
}

// pString says which edge: "down", "up", or empty for a whole press.
LONG SimBackend::InjectKey(LONG& data, const std::u16string& text) {
    const bool down = text.empty() || com::EqualsIgnoringCase(text, u"down");
    const bool up = text.empty() || com::EqualsIgnoringCase(text, u"up");
    if (data < 0 || (!down && !up))
        return OPOS_E_ILLEGAL;
    const LONG key = data;
    data = 0;
    if (down)
        data = events_->InputArrived({key, KBD_KET_KEYDOWN, {}});
    if (up)
        data = std::max<LONG>(data, events_->InputArrived({key, KBD_KET_KEYUP, {}}));
    return OPOS_SUCCESS;
}

LONG SimBackend::InjectError(LONG& data, std::u16string& text) {
    const LONG code = data == 0 ? OPOS_E_FAILURE : OPOS_E_EXTENDED;
    switch (profile_.kind) {
    case Kind::Printer:
        fault_ = Outcome{code, data};
        return OPOS_SUCCESS;
    case Kind::Scanner:
    case Kind::MSR:
    case Kind::POSKeyboard:
        data = events_->InputFailed(code, data, text, std::nullopt);
        return OPOS_SUCCESS;
    default:
        return OPOS_E_ILLEGAL;
    }
}

// The key moves whether or not anyone listens.
LONG SimBackend::TurnKey(LONG position) {
    if (keyPosition_ == position)
        return 0;
    keyPosition_ = position;
    return events_->SensorChanged(Prop::KeyPosition, position, position);
}

// pString holds the key now in the lock, in hexadecimal; empty when it is pulled out.
LONG SimBackend::InsertKey(LONG& data, const std::u16string& text) {
    const auto key = KeyBytes(text);
    if (!key)
        return OPOS_E_ILLEGAL;
    data = ChangeKey(*key);
    return OPOS_SUCCESS;
}

LONG SimBackend::ChangeKey(std::u16string key) {
    if (electronicKey_ == key)
        return 0;
    electronicKey_ = key;
    return events_->SensorChanged(Prop::ElectronicKeyValue, std::move(key), LOCK_KP_ELECTRONIC);
}

LONG SimBackend::ShutDrawer() {
    if (!drawerOpen_)
        return 0;
    drawerOpen_ = false;
    return events_->SensorChanged(Prop::DrawerOpened, false, CASH_SUE_DRAWERCLOSED);
}

LONG SimBackend::Arm(LONG data, const std::u16string& text) {
    if (profile_.kind == Kind::Keylock && Number(Prop::CapKeylockType) == LOCK_KT_ELECTRONIC) {
        armedKey_ = KeyBytes(text);
        return armedKey_ ? OPOS_SUCCESS : OPOS_E_ILLEGAL;
    }
    if (profile_.kind == Kind::Keylock) {
        if (data < LOCK_KP_LOCK || data > Number(Prop::PositionCount))
            return OPOS_E_ILLEGAL;
        armedPosition_ = data;
        return OPOS_SUCCESS;
    }
    if (profile_.kind == Kind::CashDrawer) {
        closeArmed_ = true;
        return OPOS_SUCCESS;
    }
    return OPOS_E_ILLEGAL;
}

} // namespace zorv::opos
