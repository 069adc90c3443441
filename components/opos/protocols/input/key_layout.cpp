#include "protocols/input/key_layout.h"

#include <linux/input-event-codes.h>

namespace zorv::opos::input {
namespace {

struct KeyRow {
    unsigned code;
    char16_t base, shifted, altGr;
    bool deadBase = false, deadShifted = false;
};

// Keys both layouts share: space, tab and the keypad (num lock on).
constexpr KeyRow kCommon[] = {
    {KEY_SPACE, u' ', u' ', u' '}, {KEY_TAB, u'\t', u'\t', 0},   {KEY_KP0, u'0', u'0', 0},
    {KEY_KP1, u'1', u'1', 0},      {KEY_KP2, u'2', u'2', 0},     {KEY_KP3, u'3', u'3', 0},
    {KEY_KP4, u'4', u'4', 0},      {KEY_KP5, u'5', u'5', 0},     {KEY_KP6, u'6', u'6', 0},
    {KEY_KP7, u'7', u'7', 0},      {KEY_KP8, u'8', u'8', 0},     {KEY_KP9, u'9', u'9', 0},
    {KEY_KPDOT, u'.', u'.', 0},    {KEY_KPSLASH, u'/', u'/', 0}, {KEY_KPASTERISK, u'*', u'*', 0},
    {KEY_KPMINUS, u'-', u'-', 0},  {KEY_KPPLUS, u'+', u'+', 0},
};

constexpr KeyRow kUs[] = {
    {KEY_1, u'1', u'!', 0},          {KEY_2, u'2', u'@', 0},           {KEY_3, u'3', u'#', 0},
    {KEY_4, u'4', u'$', 0},          {KEY_5, u'5', u'%', 0},           {KEY_6, u'6', u'^', 0},
    {KEY_7, u'7', u'&', 0},          {KEY_8, u'8', u'*', 0},           {KEY_9, u'9', u'(', 0},
    {KEY_0, u'0', u')', 0},          {KEY_MINUS, u'-', u'_', 0},       {KEY_EQUAL, u'=', u'+', 0},
    {KEY_Q, u'q', u'Q', 0},          {KEY_W, u'w', u'W', 0},           {KEY_E, u'e', u'E', 0},
    {KEY_R, u'r', u'R', 0},          {KEY_T, u't', u'T', 0},           {KEY_Y, u'y', u'Y', 0},
    {KEY_U, u'u', u'U', 0},          {KEY_I, u'i', u'I', 0},           {KEY_O, u'o', u'O', 0},
    {KEY_P, u'p', u'P', 0},          {KEY_LEFTBRACE, u'[', u'{', 0},   {KEY_RIGHTBRACE, u']', u'}', 0},
    {KEY_A, u'a', u'A', 0},          {KEY_S, u's', u'S', 0},           {KEY_D, u'd', u'D', 0},
    {KEY_F, u'f', u'F', 0},          {KEY_G, u'g', u'G', 0},           {KEY_H, u'h', u'H', 0},
    {KEY_J, u'j', u'J', 0},          {KEY_K, u'k', u'K', 0},           {KEY_L, u'l', u'L', 0},
    {KEY_SEMICOLON, u';', u':', 0},  {KEY_APOSTROPHE, u'\'', u'"', 0}, {KEY_GRAVE, u'`', u'~', 0},
    {KEY_BACKSLASH, u'\\', u'|', 0}, {KEY_Z, u'z', u'Z', 0},           {KEY_X, u'x', u'X', 0},
    {KEY_C, u'c', u'C', 0},          {KEY_V, u'v', u'V', 0},           {KEY_B, u'b', u'B', 0},
    {KEY_N, u'n', u'N', 0},          {KEY_M, u'm', u'M', 0},           {KEY_COMMA, u',', u'<', 0},
    {KEY_DOT, u'.', u'>', 0},        {KEY_SLASH, u'/', u'?', 0},       {KEY_102ND, u'<', u'>', 0},
};

// French AZERTY as Linux's "fr" layout has it.
constexpr KeyRow kFrench[] = {
    {KEY_1, u'&', u'1', 0},
    {KEY_2, u'é', u'2', u'~'},
    {KEY_3, u'"', u'3', u'#'},
    {KEY_4, u'\'', u'4', u'{'},
    {KEY_5, u'(', u'5', u'['},
    {KEY_6, u'-', u'6', u'|'},
    {KEY_7, u'è', u'7', u'`'},
    {KEY_8, u'_', u'8', u'\\'},
    {KEY_9, u'ç', u'9', u'^'},
    {KEY_0, u'à', u'0', u'@'},
    {KEY_MINUS, u')', u'°', u']'},
    {KEY_EQUAL, u'=', u'+', u'}'},
    {KEY_Q, u'a', u'A', 0},
    {KEY_W, u'z', u'Z', 0},
    {KEY_E, u'e', u'E', u'€'},
    {KEY_R, u'r', u'R', 0},
    {KEY_T, u't', u'T', 0},
    {KEY_Y, u'y', u'Y', 0},
    {KEY_U, u'u', u'U', 0},
    {KEY_I, u'i', u'I', 0},
    {KEY_O, u'o', u'O', 0},
    {KEY_P, u'p', u'P', 0},
    {KEY_LEFTBRACE, u'^', u'¨', 0, true, true},
    {KEY_RIGHTBRACE, u'$', u'£', u'¤'},
    {KEY_A, u'q', u'Q', 0},
    {KEY_S, u's', u'S', 0},
    {KEY_D, u'd', u'D', 0},
    {KEY_F, u'f', u'F', 0},
    {KEY_G, u'g', u'G', 0},
    {KEY_H, u'h', u'H', 0},
    {KEY_J, u'j', u'J', 0},
    {KEY_K, u'k', u'K', 0},
    {KEY_L, u'l', u'L', 0},
    {KEY_SEMICOLON, u'm', u'M', 0},
    {KEY_APOSTROPHE, u'ù', u'%', 0},
    {KEY_GRAVE, u'²', 0, 0},
    {KEY_BACKSLASH, u'*', u'µ', 0},
    {KEY_Z, u'w', u'W', 0},
    {KEY_X, u'x', u'X', 0},
    {KEY_C, u'c', u'C', 0},
    {KEY_V, u'v', u'V', 0},
    {KEY_B, u'b', u'B', 0},
    {KEY_N, u'n', u'N', 0},
    {KEY_M, u',', u'?', 0},
    {KEY_COMMA, u';', u'.', 0},
    {KEY_DOT, u':', u'/', 0},
    {KEY_SLASH, u'!', u'§', 0},
    {KEY_102ND, u'<', u'>', 0},
};

struct Composition {
    char16_t accent;
    std::u16string_view bases, results;
};
constexpr Composition kCompositions[] = {
    {u'^', u"aeiouAEIOU", u"âêîôûÂÊÎÔÛ"},
    {u'¨', u"aeiouyAEIOU", u"äëïöüÿÄËÏÖÜ"},
};

const KeyRow* Find(Layout layout, unsigned code) {
    for (const KeyRow& row : kCommon)
        if (row.code == code)
            return &row;
    if (layout == Layout::Us) {
        for (const KeyRow& row : kUs)
            if (row.code == code)
                return &row;
    } else {
        for (const KeyRow& row : kFrench)
            if (row.code == code)
                return &row;
    }
    return nullptr;
}

bool IsLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

void Stroke(std::vector<input_event>& events, unsigned code, int value) {
    input_event event{};
    event.type = EV_KEY;
    event.code = static_cast<__u16>(code);
    event.value = value;
    events.push_back(event);
    events.push_back(input_event{}); // EV_SYN, as evdev reports
}

// A key and the modifier to hold for `c`, trying plain, shift, then AltGr.
std::optional<std::pair<unsigned, unsigned>> KeyFor(Layout layout, char16_t c) {
    constexpr std::pair<unsigned, Modifiers> kStates[] = {
        {0, {}}, {KEY_LEFTSHIFT, {true, false, false}}, {KEY_RIGHTALT, {false, true, false}}};
    for (unsigned code = 1; code < KEY_MAX; ++code)
        for (const auto& [modifier, modifiers] : kStates) {
            const std::optional<KeySymbol> symbol = Lookup(layout, code, modifiers);
            if (symbol && !symbol->dead && symbol->ch == c)
                return std::make_pair(code, modifier);
        }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<input_event>> Keystrokes(Layout layout, std::u16string_view text, bool enter) {
    std::vector<input_event> events;
    for (char16_t c : text) {
        const auto key = KeyFor(layout, c);
        if (!key)
            return std::nullopt;
        if (key->second)
            Stroke(events, key->second, 1);
        Stroke(events, key->first, 1);
        Stroke(events, key->first, 0);
        if (key->second)
            Stroke(events, key->second, 0);
    }
    if (enter) {
        Stroke(events, KEY_ENTER, 1);
        Stroke(events, KEY_ENTER, 0);
    }
    return events;
}

std::optional<Layout> LayoutFromName(std::string_view name) {
    if (name == "us" || name == "US" || name == "qwerty")
        return Layout::Us;
    if (name == "fr" || name == "FR" || name == "azerty")
        return Layout::French;
    return std::nullopt;
}

std::optional<KeySymbol> Lookup(Layout layout, unsigned code, Modifiers modifiers) {
    const KeyRow* row = Find(layout, code);
    if (!row)
        return std::nullopt;
    if (modifiers.altGr)
        return KeySymbol{row->altGr, false};
    bool shifted = modifiers.shift;
    if (modifiers.capsLock && IsLetter(row->base))
        shifted = !shifted;
    return KeySymbol{shifted ? row->shifted : row->base, shifted ? row->deadShifted : row->deadBase};
}

char16_t Compose(char16_t accent, char16_t base) {
    for (const Composition& entry : kCompositions) {
        if (entry.accent != accent)
            continue;
        const std::size_t at = entry.bases.find(base);
        return at == std::u16string_view::npos ? 0 : entry.results[at];
    }
    return 0;
}

} // namespace zorv::opos::input
