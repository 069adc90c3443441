#include "kinds/msr/msr_tracks.h"

#include <algorithm>
#include <array>

#include "model/opos_codes.h"

namespace zorv::opos {
namespace {

constexpr std::size_t kLongestAccount = 19;

// Track 1 holds the 64 characters from space to '_'; tracks 2 and 3 the 16 from '0' to '?'.
char16_t FirstCode(int number) {
    return number == 1 ? u' ' : u'0';
}
char16_t LastCode(int number) {
    return number == 1 ? u'_' : u'?';
}

bool Digits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

bool IsSuffix(std::u16string_view word) {
    static constexpr std::array<std::u16string_view, 5> suffixes = {u"JR", u"SR", u"II", u"III", u"IV"};
    return std::find(suffixes.begin(), suffixes.end(), word) != suffixes.end();
}

// The account, expiry and service code that follow the account number on both tracks.
std::optional<CardFields> ParseAfterAccount(std::u16string_view account, std::u16string_view rest) {
    if (account.empty() || account.size() > kLongestAccount || !Digits(account) || rest.size() < 7 ||
        !Digits(rest.substr(0, 7)))
        return std::nullopt;
    CardFields fields;
    fields.accountNumber = account;
    fields.expirationDate = rest.substr(0, 4);
    fields.serviceCode = rest.substr(4, 3);
    fields.discretionary = rest.substr(7);
    return fields;
}

void ParseName(std::u16string_view name, CardFields& fields) {
    const auto slash = name.find(u'/');
    std::u16string_view family = Trimmed(name.substr(0, slash));
    const auto space = family.rfind(u' ');
    if (space != std::u16string_view::npos && IsSuffix(family.substr(space + 1))) {
        fields.suffix = family.substr(space + 1);
        family = Trimmed(family.substr(0, space));
    }
    fields.surname = family;
    if (slash == std::u16string_view::npos)
        return;
    std::u16string_view given = name.substr(slash + 1);
    const auto dot = given.find(u'.');
    if (dot != std::u16string_view::npos) {
        fields.title = Trimmed(given.substr(dot + 1));
        given = given.substr(0, dot);
    }
    given = Trimmed(given);
    const auto gap = given.find(u' ');
    fields.firstName = Trimmed(given.substr(0, gap));
    if (gap != std::u16string_view::npos)
        fields.middleInitial = Trimmed(given.substr(gap + 1));
}

} // namespace

std::u16string StripSentinels(std::u16string_view track, int number) {
    const char16_t start = number == 1 ? u'%' : u';';
    if (!track.empty() && track.front() == start)
        track.remove_prefix(1);
    if (!track.empty() && track.back() == u'?')
        track.remove_suffix(1);
    return std::u16string(track);
}

// A character outside the track's set is what a parity error looks like
// once decoded; a sentinel inside the data is a misplaced end.
LONG TrackError(std::u16string_view track, int number) {
    for (char16_t c : track) {
        if (c < FirstCode(number) || c > LastCode(number))
            return OPOS_EMSR_PARITY;
        if (c == u'?')
            return OPOS_EMSR_END;
    }
    return 0;
}

std::u16string RawTrack(std::u16string_view track, int number) {
    std::u16string raw(track);
    for (char16_t& c : raw)
        c = static_cast<char16_t>(c - FirstCode(number));
    return raw;
}

std::optional<CardFields> ParseTrack1(std::u16string_view track) {
    if (track.empty() || track.front() != u'B')
        return std::nullopt;
    const auto first = track.find(u'^');
    const auto second = first == std::u16string_view::npos ? first : track.find(u'^', first + 1);
    if (second == std::u16string_view::npos)
        return std::nullopt;
    auto fields = ParseAfterAccount(track.substr(1, first - 1), track.substr(second + 1));
    if (fields)
        ParseName(track.substr(first + 1, second - first - 1), *fields);
    return fields;
}

std::optional<CardFields> ParseTrack2(std::u16string_view track) {
    const auto separator = track.find(u'=');
    if (separator == std::u16string_view::npos)
        return std::nullopt;
    return ParseAfterAccount(track.substr(0, separator), track.substr(separator + 1));
}

} // namespace zorv::opos
