#pragma once
// The virtual printer without its sockets: what it does with the bytes a
// client sends (answers status queries, keeps automatic status back, opens
// the drawer, collects receipts up to each cut) and with the lines of the
// control channel that flip its sensors.
#include <string>
#include <string_view>
#include <vector>

#include "protocols/escpos/decoder.h"
#include "protocols/escpos/status.h"

namespace zorv::virtual_printer {

namespace escpos = zorv::opos::escpos;

using escpos::Bytes;

struct Sensors {
    bool coverOpen = false;
    bool paperNearEnd = false;
    bool paperEmpty = false;
    bool drawerOpen = false;
    bool forcedOffline = false;
    bool mute = false; // stops answering, as a printer that hangs
};

using Receipt = std::vector<escpos::Command>;

struct Output {
    Bytes reply; // for the print client
    std::vector<std::string> transcript;
    std::vector<Receipt> receipts; // finished by a cut
};

struct ControlAnswer {
    std::string text; // one line for the control client
    Bytes toClient;   // bytes for the print client (status back, raw bytes)
    bool disconnect = false;
};

class PrinterModel {
public:
    // A new print connection starts like a printer just switched on,
    // sensors apart: automatic status back off, nothing pending.
    void Connected();
    Output Receive(std::string_view bytes);
    ControlAnswer Control(std::string_view line);

    escpos::PrinterStatus Status() const;
    const Sensors& sensors() const { return sensors_; }
    bool Offline() const;
    // What was printed since the last cut, for a receipt that never got one.
    Receipt TakeUnfinished();
    int receiptsDone() const { return receiptsDone_; }

private:
    void Handle(escpos::Command command, Output& out);
    Bytes StatusBack() const;
    std::string Summary() const;

    escpos::Decoder decoder_;
    Sensors sensors_;
    uint8_t automaticStatus_ = 0;
    Receipt current_;
    int receiptsDone_ = 0;
    int drawerKicks_ = 0;
};

// The control channel's commands, one per line, for "help" and the README.
extern const char* const kControlHelp;

} // namespace zorv::virtual_printer
