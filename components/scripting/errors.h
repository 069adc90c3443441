#pragma once
// The run-time errors these objects raise, numbered as the script engine
// numbers them so that On Error and Err.Number see the usual values.
#include <string>
#include <string_view>

namespace zorv::scripting {

enum ErrorNumber : int {
    kInvalidCall = 5,
    kSubscript = 9,
    kTypeMismatch = 13,
    kBadFileName = 52,
    kFileNotFound = 53,
    kBadFileMode = 54,
    kFileExists = 58,
    kDiskFull = 61,
    kPastEndOfFile = 62,
    kPermissionDenied = 70,
    kDiskNotReady = 71,
    kPathFileAccess = 75,
    kPathNotFound = 76,
    kKeyExists = 457,
    kElementNotFound = 32811,
};

std::u16string_view ErrorText(int number);
// Fails the current Invoke with that number and its French description.
[[noreturn]] void Raise(int number);

} // namespace zorv::scripting
