#include "backends/input/key_map_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zorv::opos::real {

KeyMapFile ReadKeyMap(std::string_view path) {
    constexpr std::uintmax_t kLargestKeyMap = 1 << 20;
    KeyMapFile file;
    std::error_code error;
    const std::filesystem::path where{std::string(path)};
    if (!std::filesystem::is_regular_file(where, error) ||
        std::filesystem::file_size(where, error) > kLargestKeyMap || error) {
        file.problem = "key_map: " + std::string(path) + " is not a readable file of at most 1 MB";
        return file;
    }
    std::ifstream in(where, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) {
        file.problem = "key_map: " + std::string(path) + " cannot be read";
        return file;
    }
    input::ParsedKeyMap parsed = input::ParseKeyMap(text.str());
    if (!parsed.errors.empty()) {
        std::string lines = input::DescribeErrors(parsed.errors);
        lines.pop_back();
        std::replace(lines.begin(), lines.end(), '\n', ';');
        file.problem = "key_map " + std::string(path) + ": " + lines;
    } else
        file.keys = std::move(parsed.keys);
    return file;
}

} // namespace zorv::opos::real
