#pragma once
// Registration files declare what a component library serves:
//
//   # comment
//   library libzorv_opos.so          (relative to the file's folder)
//   class {CLSID} ProgID
//
// One `library` line, any number of `class` lines, blank lines and comments.
#include <string>
#include <string_view>
#include <vector>

#include "guid.h"

namespace zorv::com {

struct RegisteredClass {
    CLSID clsid;
    std::u16string progId;
};

struct RegistrationFile {
    std::string library;
    std::vector<RegisteredClass> classes;
    // "name:line : what is wrong", one per rejected line, in French.
    std::vector<std::string> problems;
};

RegistrationFile ParseRegistrationFile(std::string_view text, const std::string& fileName);

} // namespace zorv::com
