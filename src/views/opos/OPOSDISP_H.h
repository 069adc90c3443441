#pragma once
// OPOS constants of the line display.
#include "platform/com/types.h"

namespace zorv::views::opos {

// CapBlink
constexpr LONG DISP_CB_NOBLINK = 0;
constexpr LONG DISP_CB_BLINKALL = 1;
constexpr LONG DISP_CB_BLINKEACH = 2;

// CapCharacterSet
constexpr LONG DISP_CCS_NUMERIC = 0;
constexpr LONG DISP_CCS_ALPHA = 1;
constexpr LONG DISP_CCS_KANA = 10;
constexpr LONG DISP_CCS_KANJI = 11;
constexpr LONG DISP_CCS_ASCII = 998;

// CharacterSet
constexpr LONG DISP_CS_ASCII = 998;
constexpr LONG DISP_CS_WINDOWS = 999;

// MarqueeFormat
constexpr LONG DISP_MF_WALK = 0;
constexpr LONG DISP_MF_PLACE = 1;

// MarqueeType
constexpr LONG DISP_MT_NONE = 0;
constexpr LONG DISP_MT_UP = 1;
constexpr LONG DISP_MT_DOWN = 2;
constexpr LONG DISP_MT_LEFT = 3;
constexpr LONG DISP_MT_RIGHT = 4;
constexpr LONG DISP_MT_INIT = 5;

} // namespace zorv::views::opos
