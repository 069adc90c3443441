#pragma once
// Keyboard layouts: which character a Linux key code gives with the shift,
// AltGr and caps-lock state. A wedge device types its data through one.
#include <linux/input.h>
#include <optional>
#include <string_view>
#include <vector>

namespace zorv::opos::input {

enum class Layout { Us, French };

std::optional<Layout> LayoutFromName(std::string_view name); // "us", "fr" / "azerty"

struct KeySymbol {
    char16_t ch = 0;   // 0: the key gives nothing in this state
    bool dead = false; // an accent waiting for the next key
};

struct Modifiers {
    bool shift = false;
    bool altGr = false;
    bool capsLock = false;
};

// nullopt: the layout does not know this key code.
std::optional<KeySymbol> Lookup(Layout layout, unsigned code, Modifiers modifiers);
// The accented letter for a dead key and a base letter; 0 when none.
char16_t Compose(char16_t accent, char16_t base);

// The key events that type `text` on `layout`, as a wedge device sends them
// (shift or AltGr held around a key, Enter after when `enter`); nullopt when
// a character cannot be typed without a dead key.
std::optional<std::vector<input_event>> Keystrokes(Layout layout, std::u16string_view text, bool enter);

} // namespace zorv::opos::input
