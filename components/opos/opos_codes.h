#pragma once
// The OPOS standard's numeric codes that the simulated devices answer with.
#include "platform/com/types.h"

namespace zorv::opos {

// State.
constexpr LONG OPOS_S_CLOSED = 1;
constexpr LONG OPOS_S_IDLE = 2;
constexpr LONG OPOS_S_BUSY = 3;
constexpr LONG OPOS_S_ERROR = 4;

// ResultCode.
constexpr LONG OPOS_SUCCESS = 0;
constexpr LONG OPOS_E_CLOSED = 101;
constexpr LONG OPOS_E_CLAIMED = 102;
constexpr LONG OPOS_E_NOTCLAIMED = 103;
constexpr LONG OPOS_E_NOSERVICE = 104;
constexpr LONG OPOS_E_DISABLED = 105;
constexpr LONG OPOS_E_ILLEGAL = 106;
constexpr LONG OPOS_E_NOHARDWARE = 107;
constexpr LONG OPOS_E_OFFLINE = 108;
constexpr LONG OPOS_E_NOEXIST = 109;
constexpr LONG OPOS_E_EXISTS = 110;
constexpr LONG OPOS_E_FAILURE = 111;
constexpr LONG OPOS_E_TIMEOUT = 112;
constexpr LONG OPOS_E_BUSY = 113;
constexpr LONG OPOS_E_EXTENDED = 114;

constexpr LONG OPOS_FOREVER = -1;

// Power reporting, notification and states.
constexpr LONG OPOS_PR_NONE = 0;
constexpr LONG OPOS_PR_STANDARD = 1;
constexpr LONG OPOS_PR_ADVANCED = 2;
constexpr LONG OPOS_PN_DISABLED = 0;
constexpr LONG OPOS_PN_ENABLED = 1;
constexpr LONG OPOS_PS_UNKNOWN = 2000;
constexpr LONG OPOS_PS_ONLINE = 2001;
constexpr LONG OPOS_PS_OFF = 2002;
constexpr LONG OPOS_PS_OFFLINE = 2003;
constexpr LONG OPOS_PS_OFF_OFFLINE = 2004;

// ErrorEvent locus and response.
constexpr LONG OPOS_EL_OUTPUT = 1;
constexpr LONG OPOS_EL_INPUT = 2;
constexpr LONG OPOS_EL_INPUT_DATA = 3;
constexpr LONG OPOS_ER_RETRY = 11;
constexpr LONG OPOS_ER_CLEAR = 12;
constexpr LONG OPOS_ER_CONTINUEINPUT = 13;

// CheckHealth levels and BinaryConversion.
constexpr LONG OPOS_CH_INTERNAL = 1;
constexpr LONG OPOS_CH_INTERACTIVE = 3;
constexpr LONG OPOS_BC_DECIMAL = 2;

// Extended codes.
constexpr LONG OPOS_EPTR_COVER_OPEN = 201;
constexpr LONG OPOS_EPTR_JRN_EMPTY = 202;
constexpr LONG OPOS_EPTR_REC_EMPTY = 203;
constexpr LONG OPOS_EPTR_SLP_EMPTY = 204;
constexpr LONG OPOS_EMSR_START = 201;
constexpr LONG OPOS_EMSR_END = 202;
constexpr LONG OPOS_EMSR_PARITY = 203;
constexpr LONG OPOS_EMSR_LRC = 204;

// Printer.
constexpr LONG PTR_S_JOURNAL = 1;
constexpr LONG PTR_S_RECEIPT = 2;
constexpr LONG PTR_S_SLIP = 4;
constexpr LONG PTR_TP_TRANSACTION = 11;
constexpr LONG PTR_TP_NORMAL = 12;
constexpr LONG PTR_SUE_COVER_OPEN = 11;
constexpr LONG PTR_SUE_COVER_OK = 12;
constexpr LONG PTR_SUE_JRN_EMPTY = 21;
constexpr LONG PTR_SUE_JRN_NEAREMPTY = 22;
constexpr LONG PTR_SUE_JRN_PAPEROK = 23;
constexpr LONG PTR_SUE_REC_EMPTY = 24;
constexpr LONG PTR_SUE_REC_NEAREMPTY = 25;
constexpr LONG PTR_SUE_REC_PAPEROK = 26;
constexpr LONG PTR_SUE_SLP_EMPTY = 27;
constexpr LONG PTR_SUE_SLP_NEAREMPTY = 28;
constexpr LONG PTR_SUE_SLP_PAPEROK = 29;
constexpr LONG PTR_SUE_IDLE = 1001;
constexpr LONG PTR_BC_LEFT = -1;
constexpr LONG PTR_BC_RIGHT = -3;
constexpr LONG PTR_BC_TEXT_NONE = -11;
constexpr LONG PTR_BC_TEXT_BELOW = -13;

// Scanner symbologies.
constexpr LONG SCAN_SDT_UNKNOWN = 0;
constexpr LONG SCAN_SDT_UPCA = 101;
constexpr LONG SCAN_SDT_UPCE = 102;
constexpr LONG SCAN_SDT_EAN8 = 103;
constexpr LONG SCAN_SDT_EAN13 = 104;
constexpr LONG SCAN_SDT_Code39 = 108;
constexpr LONG SCAN_SDT_Code128 = 110;

// Line display.
constexpr LONG DISP_DT_NORMAL = 0;
constexpr LONG DISP_DT_BLINK_REVERSE = 3;
constexpr LONG DISP_CS_ASCII = 998;

// Keylock.
constexpr LONG LOCK_KP_ANY = 0;
constexpr LONG LOCK_KP_LOCK = 1;
constexpr LONG LOCK_KP_NORM = 2;
constexpr LONG LOCK_KP_SUPR = 3;

// MSR.
constexpr LONG MSR_TR_1_2_3 = 7;
constexpr LONG MSR_ERT_CARD = 0;
constexpr LONG MSR_ERT_TRACK = 1;

// POS keyboard.
constexpr LONG KBD_ET_DOWN = 1;
constexpr LONG KBD_ET_DOWN_UP = 2;
constexpr LONG KBD_KET_KEYDOWN = 1;
constexpr LONG KBD_KET_KEYUP = 2;

// Cash drawer status updates.
constexpr LONG CASH_SUE_DRAWERCLOSED = 0;
constexpr LONG CASH_SUE_DRAWEROPEN = 1;

// Versions, encoded major * 1,000,000 + minor * 1,000 + build.
constexpr LONG kControlObjectVersion = 1014001;
constexpr LONG kServiceObjectVersion = 1014001;

} // namespace zorv::opos
