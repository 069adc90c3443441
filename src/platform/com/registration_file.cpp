#include "registration_file.h"

#include "text.h"

namespace zorv::com {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Splits off the first word of `rest`.
std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    const auto end = rest.find_first_of(" \t");
    const std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : Trim(rest.substr(end));
    return word;
}

bool IsProgIdCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == '-';
}

bool IsValidProgId(std::string_view text) {
    if (text.empty() || text.size() > 255)
        return false;
    for (char c : text)
        if (!IsProgIdCharacter(c))
            return false;
    return true;
}

class Parser {
public:
    explicit Parser(const std::string& fileName) : fileName_(fileName) {}

    void Line(std::string_view line) {
        ++lineNumber_;
        line = Trim(line);
        if (line.empty() || line.front() == '#')
            return;
        std::string_view rest = line;
        const std::string_view keyword = NextWord(rest);
        if (keyword == "library")
            Library(rest);
        else if (keyword == "class")
            Class(rest);
        else
            Problem("unknown keyword '" + std::string(keyword) + "'");
    }

    RegistrationFile Finish() {
        if (file_.library.empty() && !file_.classes.empty()) {
            lineNumber_ = 0;
            Problem("no library line: its classes are ignored");
            file_.classes.clear();
        }
        return std::move(file_);
    }

private:
    void Library(std::string_view rest) {
        if (!file_.library.empty())
            Problem("a second library line");
        else if (rest.empty())
            Problem("library line without a file name");
        else
            file_.library = std::string(rest);
    }

    void Class(std::string_view rest) {
        const std::string_view guidText = NextWord(rest);
        const auto clsid = ParseGuid(guidText);
        if (!clsid)
            return Problem("class identifier '" + std::string(guidText) + "' is not valid");
        const std::string_view progId = NextWord(rest);
        if (!IsValidProgId(progId))
            return Problem("ProgID '" + std::string(progId) + "' is not valid");
        if (!rest.empty())
            return Problem("unexpected text after the ProgID");
        file_.classes.push_back({*clsid, Utf8ToUtf16(progId)});
    }

    void Problem(const std::string& what) {
        file_.problems.push_back(fileName_ + ":" + std::to_string(lineNumber_) + ": " + what);
    }

    const std::string& fileName_;
    int lineNumber_ = 0;
    RegistrationFile file_;
};

} // namespace

RegistrationFile ParseRegistrationFile(std::string_view text, const std::string& fileName) {
    Parser parser(fileName);
    while (!text.empty()) {
        const auto end = text.find('\n');
        parser.Line(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return parser.Finish();
}

} // namespace zorv::com
