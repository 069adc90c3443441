// zorv-virtual-printer [--port N] [--control-port N] [--out DIR] [--paper 58|80] [--quiet]
// A network receipt printer on 127.0.0.1 for the bench and its tests.
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

#include "printer_server.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &byte, 1);
}

bool ReadPort(const QString& text, quint16& port) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    port = static_cast<quint16>(value);
    return ok && value <= 65535;
}

int Run(int argc, char** argv) {
    // Pictures are drawn without any display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("A network ESC/POS receipt printer on 127.0.0.1.");
    parser.addHelpOption();
    parser.addOption({"port", "Print port (0: any free port).", "N", "9100"});
    parser.addOption(
        {"control-port", "Control port (default: print port + 1, any free one with --port 0).", "N"});
    parser.addOption({"out", "Folder for transcript.txt and the receipt pictures.", "DIR", "."});
    parser.addOption({"paper", "Paper width in millimetres: 80 (576 dots) or 58 (384 dots).", "MM", "80"});
    parser.addOption({"quiet", "Writes the transcript to its file only, not to standard output."});
    parser.process(app);

    quint16 port = 0, controlPort = 0;
    if (!ReadPort(parser.value("port"), port)) {
        std::fprintf(stderr, "zorv-virtual-printer: bad --port\n");
        return 2;
    }
    const QString control = parser.value("control-port");
    if (!control.isEmpty() ? !ReadPort(control, controlPort) : false) {
        std::fprintf(stderr, "zorv-virtual-printer: bad --control-port\n");
        return 2;
    }
    if (control.isEmpty() && port != 0)
        controlPort = port + 1;
    const QString paper = parser.value("paper");
    if (paper != "80" && paper != "58") {
        std::fprintf(stderr, "zorv-virtual-printer: --paper is 80 or 58\n");
        return 2;
    }

    zorv::virtual_printer::PrinterServer server(QDir(parser.value("out")), paper == "80" ? 576 : 384,
                                                !parser.isSet("quiet"));
    QString error;
    if (!server.Listen(port, controlPort, error)) {
        std::fprintf(stderr, "zorv-virtual-printer: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("zorv-virtual-printer: print port 127.0.0.1:%u, control port 127.0.0.1:%u\n",
                server.printPort(), server.controlPort());
    std::fflush(stdout);

    if (pipe(signalPipe) == 0) {
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
    }
    QSocketNotifier stop(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stop, &QSocketNotifier::activated, &app, [&] { QCoreApplication::quit(); });
    const int status = app.exec();
    server.Finish();
    return status;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorv-virtual-printer: %s\n", e.what());
        return 1;
    }
}
