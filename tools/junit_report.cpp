#include "junit_report.h"

#include <algorithm>
#include <cstdio>

#include "platform/com/text.h"

namespace zorv::tools {
namespace {

bool IsNameCharacter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// Skips one word (case-blind) and the blanks after it; false when the line
// does not start with it.
bool Take(std::u16string_view& line, std::u16string_view word) {
    if (line.size() <= word.size() || !com::EqualsIgnoringCase(line.substr(0, word.size()), word) ||
        !IsBlank(line[word.size()]))
        return false;
    line.remove_prefix(word.size());
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    return true;
}

// "[Public|Private] [Default] Sub|Function Test_Name": the name, or nothing.
std::u16string TestNameOn(std::u16string_view line) {
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    if (!Take(line, u"Public"))
        Take(line, u"Private");
    if (!Take(line, u"Sub") && !Take(line, u"Function"))
        return {};
    std::size_t end = 0;
    while (end < line.size() && IsNameCharacter(line[end]))
        ++end;
    const std::u16string_view name = line.substr(0, end);
    if (name.size() <= 5 || !com::EqualsIgnoringCase(name.substr(0, 5), u"Test_"))
        return {};
    return std::u16string(name);
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            // Control characters other than tab and line ends are not allowed in XML 1.0.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
        }
    }
    return out;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

} // namespace

std::vector<std::u16string> FindTestProcedures(std::u16string_view source) {
    std::vector<std::u16string> names;
    std::size_t start = 0;
    while (start <= source.size()) {
        std::size_t end = source.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos)
            end = source.size();
        std::u16string name = TestNameOn(source.substr(start, end - start));
        const bool known = std::any_of(names.begin(), names.end(), [&](const std::u16string& seen) {
            return com::EqualsIgnoringCase(seen, name);
        });
        if (!name.empty() && !known)
            names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

void WriteJUnit(std::ostream& out, const std::string& suite, const std::vector<TestCase>& cases,
                const std::optional<std::string>& loadError) {
    const auto failures =
        std::count_if(cases.begin(), cases.end(), [](const TestCase& c) { return c.failure.has_value(); });
    double total = 0;
    for (const TestCase& c : cases)
        total += c.seconds;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<testsuites tests=\"" << cases.size() << "\" failures=\"" << failures << "\" errors=\""
        << (loadError ? 1 : 0) << "\" time=\"" << Seconds(total) << "\">\n";
    out << "  <testsuite name=\"" << Escaped(suite) << "\" tests=\"" << cases.size() << "\" failures=\""
        << failures << "\" errors=\"" << (loadError ? 1 : 0) << "\" time=\"" << Seconds(total) << "\">\n";
    if (loadError) {
        out << "    <testcase classname=\"" << Escaped(suite) << "\" name=\"(chargement)\" time=\"0.000\">\n"
            << "      <error message=\"" << Escaped(*loadError) << "\"/>\n    </testcase>\n";
    }
    for (const TestCase& c : cases) {
        out << "    <testcase classname=\"" << Escaped(suite) << "\" name=\"" << Escaped(c.name)
            << "\" time=\"" << Seconds(c.seconds) << "\"";
        if (!c.failure) {
            out << "/>\n";
            continue;
        }
        out << ">\n      <failure message=\"" << Escaped(*c.failure) << "\"/>\n    </testcase>\n";
    }
    out << "  </testsuite>\n</testsuites>\n";
}

} // namespace zorv::tools
