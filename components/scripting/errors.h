#pragma once
// The run-time errors these objects raise, numbered as the script engine
// numbers them so that On Error and Err.Number see the usual values.
#include <string>
#include <string_view>
#include <system_error>

namespace zorv::scripting {

enum ErrorNumber : int {
    kInvalidCall = 5,
    kSubscript = 9,
    kOutOfMemory = 7,
    kTypeMismatch = 13,
    kBadFileName = 52,
    kFileNotFound = 53,
    kBadFileMode = 54,
    kDeviceIo = 57,
    kFileExists = 58,
    kDiskFull = 61,
    kPastEndOfFile = 62,
    kTooManyFiles = 67,
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
// The number for a failed file operation; `missing` is what a missing
// entry means there (53 for a file, 76 for a folder or a path).
int NumberFor(const std::error_code& error, int missing = kFileNotFound);
[[noreturn]] void RaiseFor(const std::error_code& error, int missing = kFileNotFound);

} // namespace zorv::scripting
