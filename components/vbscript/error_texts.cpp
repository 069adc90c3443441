#include "error_texts.h"

#include "script_error.h"

namespace zorv::vbs {

std::u16string_view ErrorText(int number) {
    switch (number) {
#define VBS_ERROR_TEXT(name, value, text)                                                                    \
    case value:                                                                                              \
        return text;
        VBS_ERRORS(VBS_ERROR_TEXT)
#undef VBS_ERROR_TEXT
    default:
        return u"Erreur d'exécution inconnue";
    }
}

ScriptError::ScriptError(int n, std::u16string_view detail) : number(n), description(ErrorText(n)) {
    if (!detail.empty()) {
        description += u": '";
        description += detail;
        description += u"'";
    }
    compile = IsCompileError(n);
    source = compile ? kCompileErrorSource : kRuntimeErrorSource;
}

ScriptError ScriptError::Custom(int n, std::u16string description, std::u16string source) {
    ScriptError error(n);
    error.description = std::move(description);
    error.source = std::move(source);
    return error;
}

std::int32_t ScodeOf(int number) {
    if (number > 0 && number <= 0xFFFF)
        return static_cast<std::int32_t>(0x800A0000u | static_cast<unsigned>(number));
    return number;
}

} // namespace zorv::vbs
