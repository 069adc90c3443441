#include "script_locale.h"

#include "platform/com/text.h"

namespace zorv::vbs {
namespace {

// Windows writes French thousands with a no-break space.
constexpr Locale kFrench{
    0x040C,
    u"fr-fr",
    u',',
    u"Vrai",
    u"Faux",
    true,
    true,
    true,
    0xA0,
    u"€",
    false,
    false,
    2,
    2,
    {u"janvier", u"février", u"mars", u"avril", u"mai", u"juin", u"juillet", u"août", u"septembre",
     u"octobre", u"novembre", u"décembre"},
    {u"janv.", u"févr.", u"mars", u"avr.", u"mai", u"juin", u"juil.", u"août", u"sept.", u"oct.", u"nov.",
     u"déc."},
    {u"dimanche", u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi"},
    {u"dim.", u"lun.", u"mar.", u"mer.", u"jeu.", u"ven.", u"sam."},
};

constexpr Locale kEnglishUs{
    0x0409,
    u"en-us",
    u'.',
    u"True",
    u"False",
    false,
    false,
    false,
    u',',
    u"$",
    true,
    true,
    1,
    1,
    {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September",
     u"October", u"November", u"December"},
    {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"},
    {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"},
    {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"},
};

constexpr const Locale* kLocales[] = {&kFrench, &kEnglishUs};

thread_local const Locale* activeLocale = &kFrench;

} // namespace

const Locale& FrenchLocale() {
    return kFrench;
}
const Locale& EnglishUsLocale() {
    return kEnglishUs;
}

const Locale* FindLocale(std::uint32_t lcid) {
    for (const Locale* locale : kLocales)
        if (locale->lcid == lcid)
            return locale;
    return nullptr;
}

const Locale* FindLocale(std::u16string_view name) {
    for (const Locale* locale : kLocales)
        if (com::EqualsIgnoringCase(locale->name, name) ||
            com::EqualsIgnoringCase(locale->name.substr(0, 2), name))
            return locale;
    return nullptr;
}

const Locale& ActiveLocale() {
    return *activeLocale;
}
void SetActiveLocale(const Locale& locale) {
    activeLocale = &locale;
}

} // namespace zorv::vbs
