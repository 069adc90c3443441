#pragma once
// Upper and lower case of one UTF-16 unit, for UCase/LCase, text-mode
// comparison (the script engine's and the dictionary's), and RegExp's
// IgnoreCase: Unicode's simple case mapping, so that accented, Greek and
// Cyrillic letters fold as the script's author expects. Surrogate halves are
// left as they are.
namespace zorv::com {

char16_t UpperChar(char16_t c);
char16_t LowerChar(char16_t c);

} // namespace zorv::com
