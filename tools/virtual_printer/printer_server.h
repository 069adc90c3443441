#pragma once
// The virtual printer on the network: a print port that takes ESC/POS like
// a network printer's port 9100 (one client at a time, as such printers
// do), a control port that takes one command per line, a transcript file
// and a PNG per receipt in the output folder.
#include <QDir>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include "printer_model.h"
#include "receipt_renderer.h"

namespace zorv::virtual_printer {

class PrinterServer : public QObject {
public:
    PrinterServer(QDir out, int paperDots, bool echo);
    ~PrinterServer() override;
    PrinterServer(const PrinterServer&) = delete;
    PrinterServer& operator=(const PrinterServer&) = delete;
    // Listens on 127.0.0.1 (port 0 picks a free one); false with a reason.
    bool Listen(quint16 printPort, quint16 controlPort, QString& error);
    quint16 printPort() const { return print_.serverPort(); }
    quint16 controlPort() const { return control_.serverPort(); }
    // Renders what was printed after the last cut, if anything.
    void Finish();

private:
    void AcceptPrintClient();
    void AcceptControlClient();
    void ReadPrintData();
    void ReadControl(QTcpSocket* socket);
    void SendToClient(const Bytes& bytes);
    void Log(const std::string& line);
    void SaveReceipt(const Receipt& receipt);
    // The next picture's name, after every receipt already in the folder.
    QString NextPictureName();
    void DropClients();

    QDir out_;
    QFile transcript_;
    PrinterModel model_;
    ReceiptRenderer renderer_;
    QTcpServer print_;
    QTcpServer control_;
    QPointer<QTcpSocket> client_;
    int pictures_ = 0;
    bool echo_ = true;
};

} // namespace zorv::virtual_printer
