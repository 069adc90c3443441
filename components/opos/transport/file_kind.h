#pragma once
// What a path is, in words, for refusals that say why a device cannot be there.
#include <string>
#include <sys/stat.h>

namespace zorv::opos::transport {

// "a regular file", "a directory", "a named pipe", "a socket", "a block
// device", "a character device" or "a file of another kind".
std::string FileKind(const struct stat& info);

} // namespace zorv::opos::transport
