#pragma once
// The one exception type of the engine: a VBScript error number with its
// description and, once known, where in the script it happened.
#include <cstdint>
#include <string>

#include "error_texts.h"

namespace zorv::vbs {

struct SourcePos {
    std::uint32_t line = 0; // 1-based; 0 when unknown
    std::uint32_t column = 0;
};

class ScriptError {
public:
    // The standard description of `number`, optionally followed by ": 'detail'".
    explicit ScriptError(int number, std::u16string_view detail = {});
    // A description given by the script (Err.Raise) or by an object.
    static ScriptError Custom(int number, std::u16string description, std::u16string source = {});

    int number = 0;
    std::u16string description;
    std::u16string source;
    // Err.Raise's help file and context, or what an object reported.
    std::u16string helpFile;
    std::int32_t helpContext = 0;
    SourcePos pos;
    std::u16string text; // the line of the script where it happened
    bool compile = false;
    bool positioned = false;
    // The script was stopped (runaway guard): On Error Resume Next cannot hold it.
    bool fatal = false;
    // An HRESULT reported by an object, kept so that it reaches the host intact.
    std::int32_t scode = 0;
};

// The HRESULT under which a VBScript error number travels (0x800A0000 | n).
std::int32_t ScodeOf(int number);

} // namespace zorv::vbs
