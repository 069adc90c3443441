// zorv-virtual-display [--protocol escpos-display|cd5220] [--rows N] [--columns N]
//                      [--png FILE] [--link PATH]
// Plays a customer display on a pseudo-terminal: prints the terminal's path,
// then the screen each time the bytes a program sends change it. --png also
// keeps a picture of the screen up to date; --link makes PATH a symbolic link
// to the terminal, for a name that stays the same between runs. Stops on
// SIGINT or SIGTERM. Exit status: 0 stopped, 1 no terminal, 2 usage.
#include <QGuiApplication>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <poll.h>
#include <string>
#include <unistd.h>

#include "protocols/display/display_decoder.h"
#include "pseudo_terminal.h"
#include "screen_picture.h"
#include "screen_text.h"

namespace {

using namespace zorv;
using opos::display::DisplayDecoder;
using opos::display::Protocol;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

struct Options {
    Protocol protocol = Protocol::EscPosDisplay;
    int rows = 2;
    int columns = 20;
    std::string png;
    std::string link;
};

std::optional<int> Count(const char* text, int most) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1 || value > most)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (i + 1 >= argc)
            return std::nullopt;
        const char* value = argv[++i];
        if (flag == "--protocol") {
            const auto protocol = opos::display::ProtocolFromName(value);
            if (!protocol)
                return std::nullopt;
            options.protocol = *protocol;
        } else if (flag == "--rows" || flag == "--columns") {
            const std::optional<int> count = Count(value, flag == "--rows" ? 4 : 40);
            if (!count)
                return std::nullopt;
            (flag == "--rows" ? options.rows : options.columns) = *count;
        } else if (flag == "--png") {
            options.png = value;
        } else if (flag == "--link") {
            options.link = value;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

void Show(const DisplayDecoder& decoder, const Options& options) {
    std::cout << zorv::tools::FramedScreen(decoder.Current());
    if (decoder.State().unknownCommands + decoder.State().rejectedParameters > 0)
        std::cout << "commandes inconnues : " << decoder.State().unknownCommands
                  << ", paramètres refusés : " << decoder.State().rejectedParameters << "\n";
    std::cout << std::flush;
    if (!options.png.empty() &&
        !zorv::tools::SavePicture(decoder.Current(), QString::fromStdString(options.png)))
        std::cerr << "zorv-virtual-display: impossible d'écrire " << options.png << "\n";
}

int Serve(const Options& options) {
    zorv::tools::PseudoTerminal terminal;
    int error = 0;
    if (!terminal.Open(error)) {
        std::cerr << "zorv-virtual-display: pas de pseudo-terminal : " << std::strerror(error) << "\n";
        return 1;
    }
    if (!options.link.empty()) {
        unlink(options.link.c_str());
        if (symlink(terminal.SlavePath().c_str(), options.link.c_str()) != 0)
            std::cerr << "zorv-virtual-display: lien " << options.link << " : " << std::strerror(errno)
                      << "\n";
    }
    std::cout << "Afficheur virtuel " << opos::display::ProtocolName(options.protocol) << " " << options.rows
              << " x " << options.columns << " sur " << terminal.SlavePath() << "\n";
    DisplayDecoder decoder(options.protocol, options.rows, options.columns);
    Show(decoder, options);
    char buffer[4096];
    while (!stopRequested) {
        pollfd watched{terminal.Master(), POLLIN, 0};
        if (poll(&watched, 1, 250) <= 0)
            continue;
        const ssize_t n = read(terminal.Master(), buffer, sizeof buffer);
        if (n <= 0)
            continue; // the program on the other side closed its end; ours stays open
        const auto before = decoder.State().screen;
        const auto unknownBefore = decoder.State().unknownCommands + decoder.State().rejectedParameters;
        decoder.Feed({buffer, static_cast<std::size_t>(n)});
        if (!(decoder.Current() == before) ||
            decoder.State().unknownCommands + decoder.State().rejectedParameters != unknownBefore)
            Show(decoder, options);
    }
    if (!options.link.empty())
        unlink(options.link.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::optional<Options> options = ParseOptions(argc, argv);
        if (!options) {
            std::cerr
                << "usage: zorv-virtual-display [--protocol escpos-display|cd5220] [--rows N] [--columns N] "
                   "[--png FILE] [--link PATH]\n";
            return 2;
        }
        struct sigaction stop {};
        stop.sa_handler = RequestStop;
        sigaction(SIGINT, &stop, nullptr);
        sigaction(SIGTERM, &stop, nullptr);
        if (options->png.empty())
            return Serve(*options);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv); // fonts for the picture
        return Serve(*options);
    } catch (const std::exception& error) {
        std::cerr << "zorv-virtual-display: " << error.what() << "\n";
        return 1;
    } catch (...) {
        std::cerr << "zorv-virtual-display: erreur interne\n";
        return 1;
    }
}
