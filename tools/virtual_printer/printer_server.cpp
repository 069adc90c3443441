#include "printer_server.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <cstdio>

namespace zorv::virtual_printer {

PrinterServer::PrinterServer(QDir out, int paperDots, bool echo)
    : out_(std::move(out)), renderer_(paperDots), echo_(echo) {
    transcript_.setFileName(out_.filePath("transcript.txt"));
    connect(&print_, &QTcpServer::newConnection, this, [this] { AcceptPrintClient(); });
    connect(&control_, &QTcpServer::newConnection, this, [this] { AcceptControlClient(); });
}

// The sockets are the servers' children and would go with them, calling back
// into a server half destroyed: they leave first, without a word.
PrinterServer::~PrinterServer() {
    DropClients();
}

void PrinterServer::DropClients() {
    for (QTcpServer* server : {&print_, &control_}) {
        for (QTcpSocket* socket : server->findChildren<QTcpSocket*>()) {
            socket->disconnect(this);
            socket->abort();
            delete socket;
        }
    }
    client_ = nullptr;
}

bool PrinterServer::Listen(quint16 printPort, quint16 controlPort, QString& error) {
    if (!out_.exists() && !out_.mkpath(".")) {
        error = "cannot create the output folder " + out_.path();
        return false;
    }
    if (!transcript_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        error = "cannot write " + transcript_.fileName();
        return false;
    }
    if (!print_.listen(QHostAddress::LocalHost, printPort)) {
        error = "print port " + QString::number(printPort) + ": " + print_.errorString();
        return false;
    }
    if (!control_.listen(QHostAddress::LocalHost, controlPort)) {
        error = "control port " + QString::number(controlPort) + ": " + control_.errorString();
        return false;
    }
    return true;
}

// A second client waits in the queue until the first one leaves, as on a
// printer whose port serves one job at a time.
void PrinterServer::AcceptPrintClient() {
    if (client_ != nullptr)
        return;
    QTcpSocket* socket = print_.nextPendingConnection();
    if (socket == nullptr)
        return;
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    client_ = socket;
    model_.Connected();
    Log("-- client connected");
    connect(socket, &QTcpSocket::readyRead, this, [this] { ReadPrintData(); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        Log("-- client disconnected");
        socket->deleteLater();
        client_ = nullptr;
        AcceptPrintClient();
    });
    // A client that waited may have sent its job already.
    if (socket->bytesAvailable() > 0)
        ReadPrintData();
}

void PrinterServer::ReadPrintData() {
    if (client_ == nullptr)
        return;
    const QByteArray bytes = client_->readAll();
    Output out = model_.Receive(std::string_view(bytes.constData(), bytes.size()));
    for (const std::string& line : out.transcript)
        Log(line);
    SendToClient(out.reply);
    for (const Receipt& receipt : out.receipts)
        SaveReceipt(receipt);
}

void PrinterServer::AcceptControlClient() {
    while (QTcpSocket* socket = control_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { ReadControl(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void PrinterServer::ReadControl(QTcpSocket* socket) {
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine().trimmed();
        const ControlAnswer answer = model_.Control(line.toStdString());
        Log("-- control: " + line.toStdString() + " -> " + answer.text);
        SendToClient(answer.toClient);
        if (answer.disconnect && client_ != nullptr)
            client_->abort();
        socket->write(QByteArray::fromStdString(answer.text + "\n"));
    }
}

void PrinterServer::SendToClient(const Bytes& bytes) {
    if (client_ != nullptr && !bytes.empty()) {
        client_->write(bytes.data(), static_cast<qint64>(bytes.size()));
        client_->flush();
    }
}

void PrinterServer::Log(const std::string& line) {
    transcript_.write(QByteArray::fromStdString(line + "\n"));
    transcript_.flush();
    if (!echo_)
        return;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

QString PrinterServer::NextPictureName() {
    if (pictures_ == 0) {
        static const QRegularExpression numbered("^receipt-(\\d+)\\.png$");
        for (const QString& name : out_.entryList({"receipt-*.png"}, QDir::Files)) {
            const QRegularExpressionMatch match = numbered.match(name);
            if (match.hasMatch())
                pictures_ = std::max(pictures_, match.captured(1).toInt());
        }
    }
    QString name;
    do
        name = QString("receipt-%1.png").arg(++pictures_, 4, 10, QChar('0'));
    while (out_.exists(name));
    return name;
}

void PrinterServer::SaveReceipt(const Receipt& receipt) {
    const QString name = NextPictureName();
    const QImage picture = renderer_.Render(receipt);
    // Written aside and renamed: whoever watches the folder never opens half a picture.
    QSaveFile file(out_.filePath(name));
    if (file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit())
        Log("-- receipt saved as " + out_.filePath(name).toStdString());
    else
        Log("-- cannot save " + out_.filePath(name).toStdString());
}

void PrinterServer::Finish() {
    DropClients();
    const Receipt rest = model_.TakeUnfinished();
    if (!rest.empty())
        SaveReceipt(rest);
}

} // namespace zorv::virtual_printer
