#pragma once
// OPOS constants common to every device kind.
#include "platform/com/types.h"

namespace zorv::views::opos {

// State
constexpr LONG OPOS_S_CLOSED = 1;
constexpr LONG OPOS_S_IDLE = 2;
constexpr LONG OPOS_S_BUSY = 3;
constexpr LONG OPOS_S_ERROR = 4;

// ResultCode
constexpr LONG OPOS_SUCCESS = 0;
constexpr LONG OPOSERR = 100;
constexpr LONG OPOS_E_CLOSED = 1 + OPOSERR;
constexpr LONG OPOS_E_CLAIMED = 2 + OPOSERR;
constexpr LONG OPOS_E_NOTCLAIMED = 3 + OPOSERR;
constexpr LONG OPOS_E_NOSERVICE = 4 + OPOSERR;
constexpr LONG OPOS_E_DISABLED = 5 + OPOSERR;
constexpr LONG OPOS_E_ILLEGAL = 6 + OPOSERR;
constexpr LONG OPOS_E_NOHARDWARE = 7 + OPOSERR;
constexpr LONG OPOS_E_OFFLINE = 8 + OPOSERR;
constexpr LONG OPOS_E_NOEXIST = 9 + OPOSERR;
constexpr LONG OPOS_E_EXISTS = 10 + OPOSERR;
constexpr LONG OPOS_E_FAILURE = 11 + OPOSERR;
constexpr LONG OPOS_E_TIMEOUT = 12 + OPOSERR;
constexpr LONG OPOS_E_BUSY = 13 + OPOSERR;
constexpr LONG OPOS_E_EXTENDED = 14 + OPOSERR;

// CapPowerReporting
constexpr LONG OPOS_PR_NONE = 0;
constexpr LONG OPOS_PR_STANDARD = 1;
constexpr LONG OPOS_PR_ADVANCED = 2;

// PowerState
constexpr LONG OPOS_PS_UNKNOWN = 2000;
constexpr LONG OPOS_PS_ONLINE = 2001;
constexpr LONG OPOS_PS_OFF = 2002;
constexpr LONG OPOS_PS_OFFLINE = 2003;
constexpr LONG OPOS_PS_OFF_OFFLINE = 2004;

// StatusUpdateEvent's power codes, shared by every kind
constexpr LONG OPOS_SUE_POWER_ONLINE = 2001;
constexpr LONG OPOS_SUE_POWER_OFF = 2002;
constexpr LONG OPOS_SUE_POWER_OFFLINE = 2003;
constexpr LONG OPOS_SUE_POWER_OFF_OFFLINE = 2004;

// ErrorEvent's locus and response
constexpr LONG OPOS_EL_OUTPUT = 1;
constexpr LONG OPOS_EL_INPUT = 2;
constexpr LONG OPOS_EL_INPUT_DATA = 3;
constexpr LONG OPOS_ER_RETRY = 11;
constexpr LONG OPOS_ER_CLEAR = 12;
constexpr LONG OPOS_ER_CONTINUEINPUT = 13;

} // namespace zorv::views::opos
