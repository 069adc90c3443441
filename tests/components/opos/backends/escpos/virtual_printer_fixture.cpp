#include "virtual_printer_fixture.h"

#include <QRegularExpression>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/com/apartment.h"
#include "platform/com/text.h"
#include "transport/link.h"

namespace escpos_device_test {

namespace transport = zorv::opos::transport;

VirtualPrinter::VirtualPrinter() {
    process_.start(ZORV_VIRTUAL_PRINTER, {"--port", "0", "--out", out_.path(), "--quiet"});
    if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000))
        return;
    const auto match = QRegularExpression("print port 127.0.0.1:(\\d+), control port 127.0.0.1:(\\d+)")
                           .match(QString::fromUtf8(process_.readLine()));
    if (!match.hasMatch())
        return;
    printPort_ = match.captured(1).toInt();
    controlPort_ = match.captured(2).toInt();
}

VirtualPrinter::~VirtualPrinter() {
    Stop();
}

void VirtualPrinter::Stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000))
        process_.kill();
    process_.waitForFinished(2000);
}

std::u16string VirtualPrinter::Connection() const {
    return u"tcp:127.0.0.1:" + zorv::com::Utf8ToUtf16(std::to_string(printPort_));
}

std::string VirtualPrinter::Control(const std::string& command) {
    transport::Connection connection;
    connection.host = "127.0.0.1";
    connection.port = static_cast<uint16_t>(controlPort_);
    transport::LinkStatus status;
    auto link = transport::Link::Open(connection, 2000, status);
    if (!link)
        return "error " + status.text;
    link->Send(command + "\n", 2000);
    std::string reply;
    while (reply.find('\n') == std::string::npos && link->Receive(reply, 256, 2000).status.ok()) {
    }
    return reply.substr(0, reply.find('\n'));
}

std::string VirtualPrinter::Transcript(const std::string& wanted) {
    std::string text;
    PumpUntil(
        [&] {
            std::ifstream file((out_.path() + "/transcript.txt").toStdString());
            std::ostringstream read;
            read << file.rdbuf();
            text = read.str();
            return text.find(wanted) != std::string::npos;
        },
        3000);
    return text;
}

namespace {

std::filesystem::path ProfilePath() {
    return std::filesystem::path(ZORV_COMPONENTS_DIR) / "zorv_opos.profiles";
}

} // namespace

ProfileFile::ProfileFile(const std::string& text) {
    std::ofstream(ProfilePath(), std::ios::binary) << text;
}

ProfileFile::~ProfileFile() {
    std::filesystem::remove(ProfilePath());
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    return zorv::com::WaitPumping(done, std::chrono::milliseconds(timeoutMs));
}

} // namespace escpos_device_test
