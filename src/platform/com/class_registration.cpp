#include "class_registration.h"

#include "text.h"

namespace zorv::com {
namespace {

std::u16string BracedText(const CLSID& clsid) {
    return Utf8ToUtf16(GuidToString(clsid));
}

bool Names(const std::optional<CLSID>& current, const CLSID& clsid) {
    return current && IsEqualCLSID(*current, clsid);
}

void AddProgId(std::vector<RegistryValue>& values, const std::u16string& progId,
               const std::u16string& clsid) {
    values.push_back({progId, u"", u"ZORV " + progId});
    values.push_back({progId + u"\\CLSID", u"", clsid});
}

// Lower case, without the spaces around.
std::u16string Trimmed(std::u16string_view text) {
    const auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    std::u16string lower(text);
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return lower;
}

} // namespace

std::optional<RegistrationScope> RegistrationScopeNamed(std::u16string_view commandLine) {
    const std::u16string word = Trimmed(commandLine);
    if (word.empty() || word == u"user")
        return RegistrationScope::CurrentUser;
    if (word == u"machine")
        return RegistrationScope::Machine;
    return std::nullopt;
}

std::u16string OwnProgIdOf(const std::u16string& standardProgId) {
    const std::size_t dot = standardProgId.rfind(u'.');
    return u"ZORV." + (dot == std::u16string::npos ? standardProgId : standardProgId.substr(dot + 1));
}

std::vector<RegistryValue> RegistrationValues(const std::vector<ClassToRegister>& classes,
                                              const std::u16string& libraryPath,
                                              const ProgIdLookup& current) {
    std::vector<RegistryValue> values;
    for (const ClassToRegister& cls : classes) {
        const std::u16string clsid = BracedText(cls.clsid);
        const std::u16string own = OwnProgIdOf(cls.progId);
        const std::optional<CLSID> holder = current(cls.progId);
        const bool standardIsFree = !holder || IsEqualCLSID(*holder, cls.clsid);
        const std::u16string classKey = u"CLSID\\" + clsid;
        values.push_back({classKey, u"", u"ZORV " + cls.progId});
        values.push_back({classKey + u"\\InprocServer32", u"", libraryPath});
        values.push_back({classKey + u"\\InprocServer32", u"ThreadingModel", u"Apartment"});
        values.push_back({classKey + u"\\ProgID", u"", standardIsFree ? cls.progId : own});
        AddProgId(values, own, clsid);
        if (standardIsFree)
            AddProgId(values, cls.progId, clsid);
    }
    return values;
}

std::vector<std::u16string> UnregistrationKeys(const std::vector<ClassToRegister>& classes,
                                               const ProgIdLookup& current) {
    std::vector<std::u16string> keys;
    for (const ClassToRegister& cls : classes) {
        for (const std::u16string& progId : {cls.progId, OwnProgIdOf(cls.progId)})
            if (Names(current(progId), cls.clsid))
                keys.push_back(progId);
        keys.push_back(u"CLSID\\" + BracedText(cls.clsid));
    }
    return keys;
}

} // namespace zorv::com
