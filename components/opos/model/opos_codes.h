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
constexpr LONG OPOS_CH_EXTERNAL = 2;
constexpr LONG OPOS_CH_INTERACTIVE = 3;
constexpr LONG OPOS_BC_DECIMAL = 2;

// OpenResult.
constexpr LONG OPOS_OR_ALREADYOPEN = 301;
constexpr LONG OPOS_OR_REGBADNAME = 302;
// Set by the service: its configuration cannot be used.
constexpr LONG OPOS_ORS_CONFIG = 403;

// Firmware: CompareFirmwareVersion's result and UpdateFirmware's status updates.
constexpr LONG OPOS_CFV_FIRMWARE_OLDER = 1;
constexpr LONG OPOS_CFV_FIRMWARE_SAME = 2;
constexpr LONG OPOS_CFV_FIRMWARE_NEWER = 3;
constexpr LONG OPOS_CFV_FIRMWARE_DIFFERENT = 4;
constexpr LONG OPOS_CFV_FIRMWARE_UNKNOWN = 5;
constexpr LONG OPOS_SUE_UF_PROGRESS = 2100;
constexpr LONG OPOS_SUE_UF_COMPLETE = 2200;
constexpr LONG OPOS_SUE_UF_FAILED_DEV_OK = 2201;
constexpr LONG OPOS_SUE_UF_FAILED_DEV_UNRECOVERABLE = 2202;
constexpr LONG OPOS_SUE_UF_FAILED_DEV_NEEDS_FIRMWARE = 2203;
constexpr LONG OPOS_SUE_UF_FAILED_DEV_UNKNOWN = 2204;
constexpr LONG OPOS_SUE_UF_COMPLETE_DEV_NOT_RESTORED = 2205;

// Extended codes.
constexpr LONG OPOS_EPTR_COVER_OPEN = 201;
constexpr LONG OPOS_EPTR_JRN_EMPTY = 202;
constexpr LONG OPOS_EPTR_REC_EMPTY = 203;
constexpr LONG OPOS_EPTR_SLP_EMPTY = 204;
constexpr LONG OPOS_EPTR_TOOBIG = 206;
constexpr LONG OPOS_EPTR_BADFORMAT = 207;
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
constexpr LONG PTR_SUE_REC_CARTRIDGE_OK = 45;
constexpr LONG PTR_BC_LEFT = -1;
constexpr LONG PTR_BC_CENTER = -2;
constexpr LONG PTR_BM_ASIS = -11;
constexpr LONG PTR_EL_NONE = 1;
constexpr LONG PTR_EL_RECOVERABLE = 2;
constexpr LONG PTR_EL_FATAL = 3;
constexpr LONG PTR_MM_DOTS = 1;
constexpr LONG PTR_MM_METRIC = 4;
constexpr LONG PTR_RP_NORMAL = 0x0001;
constexpr LONG PTR_RP_RIGHT90 = 0x0101;
constexpr LONG PTR_RP_LEFT90 = 0x0102;
constexpr LONG PTR_RP_ROTATE180 = 0x0103;
constexpr LONG PTR_PM_PAGE_MODE = 1;
constexpr LONG PTR_PM_PRINT_SAVE = 2;
constexpr LONG PTR_PM_NORMAL = 3;
constexpr LONG PTR_PM_CANCEL = 4;
constexpr LONG PTR_MF_TO_TAKEUP = 1;
constexpr LONG PTR_MF_TO_CURRENT_TOF = 8;
constexpr LONG PTR_PS_SIDE1 = 1;
constexpr LONG PTR_PS_SIDE2 = 2;
constexpr LONG PTR_PS_OPPOSITE = 3;
constexpr LONG PTR_BMT_BMP = 1;
constexpr LONG PTR_BMT_JPEG = 2;
constexpr LONG PTR_BMT_GIF = 3;
constexpr LONG PTR_L_TOP = 1;
constexpr LONG PTR_L_BOTTOM = 2;
constexpr LONG PTR_BC_RIGHT = -3;
constexpr LONG PTR_BC_TEXT_NONE = -11;
constexpr LONG PTR_BC_TEXT_ABOVE = -12;
constexpr LONG PTR_BC_TEXT_BELOW = -13;
constexpr LONG PTR_S_JOURNAL_RECEIPT = 0x0003;
constexpr LONG PTR_S_JOURNAL_SLIP = 0x0005;
constexpr LONG PTR_S_RECEIPT_SLIP = 0x0006;
constexpr LONG PTR_TWO_RECEIPT_JOURNAL = 0x8003;
constexpr LONG PTR_TWO_SLIP_JOURNAL = 0x8005;
constexpr LONG PTR_TWO_SLIP_RECEIPT = 0x8006;
constexpr LONG OPOS_EPTR_SLP_FORM = 205;
constexpr LONG PTR_RL_HORIZONTAL = 1;
constexpr LONG PTR_RL_VERTICAL = 2;
constexpr LONG PTR_LS_SINGLE_SOLID_LINE = 1;
constexpr LONG PTR_LS_CHAIN_LINE = 4;

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
// An electronic key's value changed (status update, wait); the same number as ANY.
constexpr LONG LOCK_KP_ELECTRONIC = 0;
constexpr LONG LOCK_KP_LOCK = 1;
constexpr LONG LOCK_KP_NORM = 2;
constexpr LONG LOCK_KP_SUPR = 3;
constexpr LONG LOCK_KT_STANDARD = 1;
constexpr LONG LOCK_KT_ELECTRONIC = 2;

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
