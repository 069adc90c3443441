// zorv-virtual-printer as a user runs it: started on free loopback ports,
// driven through a device link and its control channel, leaving a
// transcript and a picture per receipt.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <thread>

#include "protocols/escpos/commands.h"
#include "protocols/escpos/status.h"
#include "transport/link.h"

namespace escpos = zorv::opos::escpos;
namespace transport = zorv::opos::transport;

namespace {

class VirtualPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "virtual_printer_test";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QGuiApplication(argc, argv);
        process.setProgram(ZORV_VIRTUAL_PRINTER);
        process.setArguments({"--port", "0", "--out", out.path(), "--quiet"});
        process.start();
        ASSERT_TRUE(process.waitForStarted(5000));
        ASSERT_TRUE(process.waitForReadyRead(5000));
        const QString first = QString::fromUtf8(process.readLine());
        const auto match =
            QRegularExpression("print port 127.0.0.1:(\\d+), control port 127.0.0.1:(\\d+)").match(first);
        ASSERT_TRUE(match.hasMatch()) << first.toStdString();
        printPort = static_cast<uint16_t>(match.captured(1).toUInt());
        controlPort = static_cast<uint16_t>(match.captured(2).toUInt());
    }
    void TearDown() override {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
    }

    std::unique_ptr<transport::Link> Connect(uint16_t port) {
        transport::Connection connection;
        connection.host = "127.0.0.1";
        connection.port = port;
        transport::LinkStatus status;
        auto link = transport::Link::Open(connection, 2000, status);
        EXPECT_TRUE(link) << status.text;
        return link;
    }

    // One line from the control channel.
    std::string Control(transport::Link& control, const std::string& line) {
        EXPECT_TRUE(control.Send(line + "\n", 1000).status.ok());
        std::string answer;
        while (answer.find('\n') == std::string::npos)
            if (!control.Receive(answer, 256, 2000).status.ok())
                break;
        return answer;
    }

    // Exactly n bytes from the print link, or what came before the timeout.
    std::string Read(transport::Link& link, size_t n) {
        std::string in;
        while (in.size() < n)
            if (!link.Receive(in, n - in.size(), 2000).status.ok())
                break;
        return in;
    }

    QTemporaryDir out;
    QProcess process;
    uint16_t printPort = 0;
    uint16_t controlPort = 0;
};

TEST_F(VirtualPrinter, AnswersStatusAndFollowsItsSensors) {
    auto printer = Connect(printPort);
    auto control = Connect(controlPort);
    ASSERT_TRUE(printer && control);
    ASSERT_TRUE(printer->Send(escpos::RealTimeStatus(escpos::StatusQuery::OfflineCause), 1000).status.ok());
    EXPECT_EQ(Read(*printer, 1), "\x12");
    EXPECT_EQ(Control(*control, "cover open").substr(0, 13), "ok cover open");
    printer->Send(escpos::RealTimeStatus(escpos::StatusQuery::OfflineCause), 1000);
    const std::string answer = Read(*printer, 1);
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(escpos::DecodeRealTimeStatus(escpos::StatusQuery::OfflineCause, answer[0]).status.coverOpen,
              true);

    printer->Send(escpos::AutomaticStatusBack(escpos::kAsbAll), 1000);
    EXPECT_EQ(escpos::DecodeAutomaticStatus(Read(*printer, 4)).status.coverOpen, true);
    Control(*control, "cover closed");
    EXPECT_EQ(escpos::DecodeAutomaticStatus(Read(*printer, 4)).status.coverOpen, false);
    Control(*control, "send 01 02");
    EXPECT_EQ(Read(*printer, 2), "\x01\x02");
    Control(*control, "disconnect");
    std::string rest;
    EXPECT_EQ(printer->Receive(rest, 16, 2000).status.failure, transport::Failure::Closed);
}

TEST_F(VirtualPrinter, WritesATranscriptAndAPicturePerReceipt) {
    auto printer = Connect(printPort);
    ASSERT_TRUE(printer);
    const std::string job = escpos::Initialize() + escpos::Emphasis(true) + "TOTAL 9,99\n" +
                            escpos::Emphasis(false) + escpos::FeedLines(2) +
                            escpos::Cut(escpos::CutKind::Partial) + "second\n" +
                            escpos::Cut(escpos::CutKind::Full);
    ASSERT_TRUE(printer->Send(job, 1000).status.ok());
    // The status answer comes after everything before it was handled.
    printer->Send(escpos::RealTimeStatus(escpos::StatusQuery::Printer), 1000);
    EXPECT_EQ(Read(*printer, 1), "\x12");
    const QDir folder(out.path());
    for (int i = 0; i < 50 && !folder.exists("receipt-0002.png"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(folder.exists("receipt-0001.png"));
    EXPECT_TRUE(folder.exists("receipt-0002.png"));
    QFile transcript(folder.filePath("transcript.txt"));
    ASSERT_TRUE(transcript.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(transcript.readAll());
    for (const char* line :
         {"bold on", "text \"TOTAL 9,99\"", "feed 2 lines", "cut partial", "cut full", "status query 1"})
        EXPECT_TRUE(text.contains(line)) << line;
}

TEST_F(VirtualPrinter, ServesOneClientAtATime) {
    auto first = Connect(printPort);
    auto second = Connect(printPort);
    ASSERT_TRUE(first && second);
    second->Send(escpos::RealTimeStatus(escpos::StatusQuery::Printer), 1000);
    std::string waiting;
    EXPECT_EQ(second->Receive(waiting, 1, 300).status.failure, transport::Failure::TimedOut);
    first->Close();
    EXPECT_EQ(Read(*second, 1), "\x12");
}

TEST(VirtualPrinterCommandLine, RefusesBadArguments) {
    QProcess process;
    process.start(ZORV_VIRTUAL_PRINTER, {"--port", "notaport"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 2);
    process.start(ZORV_VIRTUAL_PRINTER, {"--port", "0", "--paper", "62"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 2);
}

} // namespace
