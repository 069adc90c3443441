#pragma once
// zorv-vbs --junit: a script's checks as test cases. Every procedure whose
// name starts with "Test_" (Sub or Function, taking no argument) is one
// case, run on its own in the order of the file after the script's own
// top-level code; a case fails on the error that ends it. The report is
// JUnit XML, which continuous integration servers read.
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::tools {

struct TestCase {
    std::string name;
    double seconds = 0;
    // The error's text, "LINE:COLUMN: description"; none when it passed.
    std::optional<std::string> failure;
};

// The Test_ procedures a script declares, in order, each once.
std::vector<std::u16string> FindTestProcedures(std::u16string_view source);

// `loadError`: the script did not compile or its top-level code failed,
// reported as an error of the suite itself.
void WriteJUnit(std::ostream& out, const std::string& suite, const std::vector<TestCase>& cases,
                const std::optional<std::string>& loadError);

} // namespace zorv::tools
