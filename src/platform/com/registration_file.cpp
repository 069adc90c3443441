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
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

// Echoed text stays one printable line, whatever bytes the file held.
std::string Printable(std::string_view text) {
    std::string shown(text);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return shown;
}

bool HasControlCharacter(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
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
            Problem("mot-clé « " + Printable(keyword) + " » inconnu");
    }

    RegistrationFile Finish() {
        if (file_.library.empty() && !file_.classes.empty()) {
            lineNumber_ = 0;
            Problem("aucune ligne library : ses classes sont ignorées");
            file_.classes.clear();
        }
        return std::move(file_);
    }

private:
    void Library(std::string_view rest) {
        if (!file_.library.empty())
            Problem("une seconde ligne library");
        else if (rest.empty())
            Problem("ligne library sans nom de fichier");
        // A NUL would cut the name short when it reaches the system.
        else if (HasControlCharacter(rest))
            Problem("le nom de la bibliothèque contient un caractère de contrôle");
        else
            file_.library = std::string(rest);
    }

    void Class(std::string_view rest) {
        const std::string_view guidText = NextWord(rest);
        const auto clsid = ParseGuid(guidText);
        if (!clsid)
            return Problem("identifiant de classe « " + Printable(guidText) + " » non valide");
        const std::string_view progId = NextWord(rest);
        if (!IsValidProgId(progId))
            return Problem("ProgID « " + Printable(progId) + " » non valide");
        if (!rest.empty())
            return Problem("texte inattendu après le ProgID");
        std::u16string name = Utf8ToUtf16(progId);
        for (const RegisteredClass& earlier : file_.classes)
            if (EqualsIgnoringCase(earlier.progId, name))
                return Problem("ProgID « " + std::string(progId) + " » déclaré deux fois");
        file_.classes.push_back({*clsid, std::move(name)});
    }

    void Problem(const std::string& what) {
        file_.problems.push_back(fileName_ + ":" + std::to_string(lineNumber_) + " : " + what);
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
