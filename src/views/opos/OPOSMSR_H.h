#pragma once
// OPOS constants of the magnetic stripe reader.
#include "platform/com/types.h"

namespace zorv::views::opos {

// TracksToRead: one bit per track.
constexpr LONG MSR_TR_1 = 1;
constexpr LONG MSR_TR_2 = 2;
constexpr LONG MSR_TR_3 = 4;
constexpr LONG MSR_TR_1_2 = MSR_TR_1 | MSR_TR_2;
constexpr LONG MSR_TR_1_3 = MSR_TR_1 | MSR_TR_3;
constexpr LONG MSR_TR_2_3 = MSR_TR_2 | MSR_TR_3;
constexpr LONG MSR_TR_1_2_3 = MSR_TR_1 | MSR_TR_2 | MSR_TR_3;

// ErrorReportingType
constexpr LONG MSR_ERT_CARD = 0;
constexpr LONG MSR_ERT_TRACK = 1;

// ResultCodeExtended after OPOS_E_EXTENDED
constexpr LONG OPOS_EMSR_START = 201;
constexpr LONG OPOS_EMSR_END = 202;
constexpr LONG OPOS_EMSR_PARITY = 203;
constexpr LONG OPOS_EMSR_LRC = 204;

} // namespace zorv::views::opos
