#pragma once
// ISO 7811/7813 magnetic tracks as text: sentinels, the character sets that
// decide whether a track reads cleanly, the raw codes of undecoded data, and
// the fields of the financial tracks 1 and 2.
#include <optional>
#include <string>

#include "platform/com/types.h"

namespace zorv::opos {

// Without the start sentinel ('%' on track 1, ';' on tracks 2 and 3) and the end sentinel '?'.
std::u16string StripSentinels(std::u16string_view track, int number);

// The extended code of the error reading this track gives, or 0 when it reads cleanly.
LONG TrackError(std::u16string_view track, int number);

// Track data as the head delivers it before decoding: 6-bit codes on track
// 1, 4-bit codes on tracks 2 and 3.
std::u16string RawTrack(std::u16string_view track, int number);

struct CardFields {
    std::u16string accountNumber;
    std::u16string expirationDate;
    std::u16string serviceCode;
    std::u16string title;
    std::u16string firstName;
    std::u16string middleInitial;
    std::u16string surname;
    std::u16string suffix;
    std::u16string discretionary;
};

// Format B of track 1: B PAN ^ SURNAME[ SUFFIX]/FIRST[ MIDDLE][.TITLE] ^ YYMM SSS discretionary.
std::optional<CardFields> ParseTrack1(std::u16string_view track);
// Track 2: PAN = YYMM SSS discretionary.
std::optional<CardFields> ParseTrack2(std::u16string_view track);

} // namespace zorv::opos
