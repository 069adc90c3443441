#pragma once
// A receipt printer that speaks ESC/POS, behind the OPOS model: output is
// translated to ESC/POS and written to the printer's port, status comes
// from real-time queries and automatic status back (or polling).
#include <map>
#include <memory>

#include "backends/escpos/port_backend.h"
#include "model/profile.h"

namespace zorv::opos::escpos_device {

class EscPosPrinter final : public PortBackend {
public:
    explicit EscPosPrinter(const Profile& profile);

    HealthReport Prepare() override;
    void Send(std::uint64_t ticket, const Output& output) override;
    Outcome StoreBitmap(LONG number, const Output& picture) override;
    HealthReport CheckHealth(LONG level) override;
    LONG CompareFirmware(std::u16string_view, LONG& result) override;
    LONG UpdateFirmware(std::u16string_view) override;
    std::optional<LONG> DirectIO(LONG command, LONG& data, std::u16string& text) override;
    std::u16string Interface() const override;
    std::u16string LastFailure() const override { return lastFailure_; }

private:
    void StatusChanged(const escpos::PrinterStatus& status) override;
    void LinkChanged(bool up, bool answering) override;
    // The bytes of one output, or the outcome that stops it.
    Outcome Encode(const Output& output, std::string& bytes);
    Outcome EncodeBarcode(const Output& output, std::string& bytes);
    Outcome EncodeBitmap(const Output& output, std::string& bytes);
    // escpos_printer_pictures.cpp: stored bitmaps and ruled lines.
    Outcome EncodeRuledLine(const Output& output, std::string& bytes);
    const std::string* StoredBitmap(int number) const;
    Outcome Fail(LONG code, LONG extended, std::u16string reason);
    std::string TestReceipt() const;

    Profile profile_;
    escpos::PrinterStatus shown_;
    std::u16string lastFailure_;
    LONG missing_ = 0;
    // SetBitmap's pictures as raster bytes, by number.
    std::map<LONG, std::string> bitmaps_;
    bool linkUp_ = true;
};

} // namespace zorv::opos::escpos_device
