#pragma once
// What VBScript formats or parses by locale: the decimal and grouping signs,
// the words for True and False, the order and separators of dates, month
// and day names, currency, the first day of the week. French (France) by
// default, the operators' language; SetLocale switches to English (US).
#include <array>
#include <cstdint>
#include <string_view>

namespace zorv::vbs {

struct Locale {
    std::uint32_t lcid;
    std::u16string_view name;
    char16_t decimal;
    std::u16string_view trueText;
    std::u16string_view falseText;
    bool dayFirst; // 31/12/2024 rather than 12/31/2024
    bool twoDigitDayMonth;
    bool clock24; // 14:05:00 rather than 2:05:00 PM
    char16_t thousands;
    std::u16string_view currency;
    bool currencyFirst;  // $1.00 rather than 1,00 €
    bool currencyParens; // ($1.00) for a negative amount
    int firstDayOfWeek;  // vbSunday (1) .. vbSaturday (7)
    int firstWeekOfYear; // vbFirstJan1 (1) .. vbFirstFullWeek (3)
    std::array<std::u16string_view, 12> months;
    std::array<std::u16string_view, 12> monthsShort;
    std::array<std::u16string_view, 7> days; // Sunday first
    std::array<std::u16string_view, 7> daysShort;
};

const Locale& FrenchLocale();
const Locale& EnglishUsLocale();
// By LCID or by name ("fr-fr", "en-us", "fr", "en"); null when unknown.
const Locale* FindLocale(std::uint32_t lcid);
const Locale* FindLocale(std::u16string_view name);

// The locale the running engine formats with; each engine installs its own
// when it starts running script code.
const Locale& ActiveLocale();
void SetActiveLocale(const Locale& locale);

} // namespace zorv::vbs
