#include "script_locale.h"

#include "platform/com/text.h"

namespace zorv::vbs {
namespace {

constexpr Locale kFrench{0x040C, u"fr-fr", u',', u"Vrai", u"Faux", true, true, true};
constexpr Locale kEnglishUs{0x0409, u"en-us", u'.', u"True", u"False", false, false, false};
constexpr const Locale* kLocales[] = {&kFrench, &kEnglishUs};

thread_local const Locale* activeLocale = &kFrench;

} // namespace

const Locale& FrenchLocale() { return kFrench; }
const Locale& EnglishUsLocale() { return kEnglishUs; }

const Locale* FindLocale(std::uint32_t lcid) {
    for (const Locale* locale : kLocales)
        if (locale->lcid == lcid)
            return locale;
    return nullptr;
}

const Locale* FindLocale(std::u16string_view name) {
    for (const Locale* locale : kLocales)
        if (com::EqualsIgnoringCase(locale->name, name))
            return locale;
    return nullptr;
}

const Locale& ActiveLocale() { return *activeLocale; }
void SetActiveLocale(const Locale& locale) { activeLocale = &locale; }

} // namespace zorv::vbs
