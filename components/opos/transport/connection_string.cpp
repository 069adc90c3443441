#include "transport/connection_string.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

namespace zorv::opos::transport {
namespace {

struct SchemeName {
    Scheme scheme;
    std::string_view prefix;
};

constexpr std::array kSchemes{SchemeName{Scheme::Tcp, "tcp:"},     SchemeName{Scheme::Serial, "serial:"},
                              SchemeName{Scheme::File, "file:"},   SchemeName{Scheme::Printer, "printer:"},
                              SchemeName{Scheme::Input, "input:"}, SchemeName{Scheme::Hidraw, "hidraw:"}};

constexpr std::array kBauds{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && Lower(text.substr(0, prefix.size())) == prefix;
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Host names: letters, digits, '-', '.', '_'; IPv6 addresses come in brackets.
bool ValidHost(std::string_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == ':';
    });
}

std::string ParseTcp(std::string_view rest, Connection& connection) {
    std::string_view host = rest;
    std::string_view port;
    if (!rest.empty() && rest.front() == '[') {
        const size_t close = rest.find(']');
        if (close == std::string_view::npos)
            return "tcp: missing ] after the IPv6 address";
        host = rest.substr(1, close - 1);
        const std::string_view after = rest.substr(close + 1);
        if (!after.empty() && after.front() != ':')
            return "tcp: expected :PORT after the IPv6 address";
        port = after.empty() ? after : after.substr(1);
        if (!after.empty() && port.empty())
            return "tcp: the port is empty";
    } else if (const size_t colon = rest.rfind(':'); colon != std::string_view::npos) {
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        if (port.empty())
            return "tcp: the port is empty";
        if (host.find(':') != std::string_view::npos)
            return "tcp: write an IPv6 address in brackets, as [::1]:9100";
    }
    if (host.empty())
        return "tcp: the host name is missing";
    if (!ValidHost(host))
        return "tcp: \"" + std::string(host) + "\" is not a host name";
    if (!port.empty()) {
        const auto value = Number(port);
        if (!value || *value < 1 || *value > 65535)
            return "tcp: the port must be a number from 1 to 65535";
        connection.port = static_cast<uint16_t>(*value);
    }
    connection.host = std::string(host);
    return {};
}

// "8N1": data bits 5 to 8, parity N, E or O, stop bits 1 or 2.
bool ParseFrame(std::string_view field, Connection& connection) {
    if (field.size() != 3)
        return false;
    const char parity = static_cast<char>(std::toupper(static_cast<unsigned char>(field[1])));
    if (field[0] < '5' || field[0] > '8' || std::string_view("NEO").find(parity) == std::string_view::npos ||
        (field[2] != '1' && field[2] != '2'))
        return false;
    connection.dataBits = field[0] - '0';
    connection.parity = parity;
    connection.stopBits = field[2] - '0';
    return true;
}

std::string ParseSerial(std::string_view rest, Connection& connection) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t comma = rest.find(',', start);
        fields.push_back(rest.substr(start, comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    connection.path = std::string(fields[0]);
    if (connection.path.empty())
        return "serial: the device path is missing";
    size_t i = 1;
    if (i < fields.size() && Number(fields[i])) {
        const int baud = *Number(fields[i++]);
        if (std::find(kBauds.begin(), kBauds.end(), baud) == kBauds.end())
            return "serial: unsupported speed " + std::to_string(baud) + " (1200 to 230400 baud)";
        connection.baud = baud;
    }
    if (i < fields.size() && ParseFrame(fields[i], connection))
        ++i;
    if (i < fields.size()) {
        const std::string flow = Lower(fields[i]);
        if (flow == "rtscts")
            connection.flow = FlowControl::RtsCts;
        else if (flow == "xonxoff")
            connection.flow = FlowControl::XonXoff;
        else
            return "serial: \"" + std::string(fields[i]) +
                   "\" is neither a speed, a frame like 8N1, nor rtscts or xonxoff";
        ++i;
    }
    if (i < fields.size())
        return "serial: unexpected \"" + std::string(fields[i]) + "\" after the flow control";
    return {};
}

} // namespace

bool LooksLikeConnection(std::string_view text) {
    return std::any_of(kSchemes.begin(), kSchemes.end(),
                       [&](const SchemeName& s) { return StartsWithNoCase(text, s.prefix); });
}

ParsedConnection ParseConnection(std::string_view text) {
    ParsedConnection parsed;
    const auto scheme = std::find_if(kSchemes.begin(), kSchemes.end(),
                                     [&](const SchemeName& s) { return StartsWithNoCase(text, s.prefix); });
    if (scheme == kSchemes.end()) {
        parsed.error = "\"" + std::string(text) +
                       "\" is not a connection (tcp:, serial:, file:, printer:, input: or hidraw:)";
        return parsed;
    }
    parsed.connection.scheme = scheme->scheme;
    const std::string_view rest = text.substr(scheme->prefix.size());
    switch (scheme->scheme) {
    case Scheme::Tcp:
        parsed.error = ParseTcp(rest, parsed.connection);
        break;
    case Scheme::Serial:
        parsed.error = ParseSerial(rest, parsed.connection);
        break;
    case Scheme::File:
    case Scheme::Input:
    case Scheme::Hidraw:
        parsed.connection.path = std::string(rest);
        if (rest.empty())
            parsed.error = std::string(scheme->prefix) + " the device path is missing";
        break;
    case Scheme::Printer:
        parsed.connection.printer = std::string(rest);
        if (rest.empty())
            parsed.error = "printer: the printer's logical device name is missing";
        break;
    }
    return parsed;
}

std::string ConnectionText(const Connection& c) {
    switch (c.scheme) {
    case Scheme::Tcp: {
        const bool v6 = c.host.find(':') != std::string::npos;
        return "tcp:" + (v6 ? "[" + c.host + "]" : c.host) + ":" + std::to_string(c.port);
    }
    case Scheme::Serial: {
        std::string text = "serial:" + c.path + "," + std::to_string(c.baud) + "," +
                           std::to_string(c.dataBits) + c.parity + std::to_string(c.stopBits);
        if (c.flow == FlowControl::RtsCts)
            text += ",rtscts";
        else if (c.flow == FlowControl::XonXoff)
            text += ",xonxoff";
        return text;
    }
    case Scheme::File:
        return "file:" + c.path;
    case Scheme::Printer:
        return "printer:" + c.printer;
    case Scheme::Input:
        return "input:" + c.path;
    case Scheme::Hidraw:
        return "hidraw:" + c.path;
    }
    return {};
}

} // namespace zorv::opos::transport
