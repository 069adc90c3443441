#pragma once
// Reading a whole file that must be a regular one, up to a bound: a folder,
// a FIFO or a device given in place of a file is refused at once instead of
// blocking or reading without end.
#include <cstddef>
#include <string>

namespace zorv::com {

enum class FileFailure {
    None,
    Missing,    // no such file
    NotRegular, // a folder, a FIFO, a device...
    TooLarge,   // more than the bound
    System,     // any other error; `error` holds errno
};

struct FileBytes {
    std::string bytes;
    FileFailure failure = FileFailure::None;
    int error = 0;
    bool Read() const { return failure == FileFailure::None; }
};

FileBytes ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Why the read failed, in French ("permission refusée", "c'est un dossier"...).
std::string FileFailureText(const FileBytes& file, std::size_t maxBytes);

} // namespace zorv::com
