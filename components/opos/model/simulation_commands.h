#pragma once
// DirectIO command numbers through which a test or a script plays the
// hardware; README.md has the table of what each does per kind.
#include "platform/com/types.h"

namespace zorv::opos {

constexpr LONG kSimInput = 1;
constexpr LONG kSimError = 2;
constexpr LONG kSimPower = 3;
constexpr LONG kSimReadBack = 4;
constexpr LONG kSimSensor = 5;
constexpr LONG kSimDirectIOEvent = 6;
constexpr LONG kSimDirectIOReply = 7;
constexpr LONG kSimArmWait = 8;
constexpr LONG kSimProfileNotes = 9;
constexpr LONG kSimReadBackRendered = 10;
constexpr LONG kSimSlipForm = 11;

} // namespace zorv::opos
