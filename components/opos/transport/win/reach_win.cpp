#include "transport/reach.h"

#include "transport/win/port_name_win.h"

namespace zorv::opos::transport {
namespace {

const std::string kSerialHint =
    "sous Windows, un port série se nomme COM1, COM2... (\\\\.\\COM10 au-delà de COM9)";

std::string LinuxOnly(const Connection& connection, const std::string& what, const std::string& instead) {
    return ConnectionText(connection) + " : " + what + " n'existe que sous Linux ; " + instead;
}

std::string SerialProblem(const Connection& connection) {
    if (ParsePortName(connection.path))
        return {};
    if (!connection.path.empty() && connection.path.front() == '/')
        return LinuxOnly(connection, "un chemin de périphérique comme " + connection.path, kSerialHint);
    return "serial:" + connection.path + " : « " + connection.path + " » n'est pas un nom de port série ; " +
           kSerialHint;
}

} // namespace

std::string UnreachableHere(const Connection& connection) {
    switch (connection.scheme) {
    case Scheme::Input:
        return LinuxOnly(connection, "un périphérique d'entrée (input:)",
                         "sous Windows, un lecteur se branche sur un port série (serial:COM3)");
    case Scheme::Hidraw:
        return LinuxOnly(connection, "un nœud hidraw",
                         "sous Windows, un lecteur se branche sur un port série (serial:COM3)");
    case Scheme::File:
        return LinuxOnly(
            connection, "un périphérique caractère (file:)",
            "sous Windows, une imprimante se branche en tcp: ou sur un port série (serial:COM3)");
    case Scheme::Serial:
        return SerialProblem(connection);
    case Scheme::Tcp:
    case Scheme::Printer:
        return {};
    }
    return {};
}

} // namespace zorv::opos::transport
