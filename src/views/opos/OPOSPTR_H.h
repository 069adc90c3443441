#pragma once
// OPOS constants of the POS printer that events carry.
#include "platform/com/types.h"

namespace zorv::views::opos {

// ResultCodeExtended after OPOS_E_EXTENDED
constexpr LONG OPOS_EPTR_COVER_OPEN = 201;
constexpr LONG OPOS_EPTR_JRN_EMPTY = 202;
constexpr LONG OPOS_EPTR_REC_EMPTY = 203;
constexpr LONG OPOS_EPTR_SLP_EMPTY = 204;
constexpr LONG OPOS_EPTR_SLP_FORM = 205;
constexpr LONG OPOS_EPTR_TOOBIG = 206;
constexpr LONG OPOS_EPTR_BADFORMAT = 207;

// StatusUpdateEvent
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

} // namespace zorv::views::opos
