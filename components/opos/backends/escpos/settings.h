#pragma once
// What varies between ESC/POS printer models, read from a device's profile
// settings. Every key has a default that fits the common 80 mm thermal
// receipt printers; README.md lists them.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "protocols/escpos/barcodes.h"
#include "protocols/escpos/code_pages.h"
#include "transport/connection_string.h"

namespace zorv::opos::escpos_device {

struct Settings {
    transport::Connection connection;
    std::string connectionText;
    escpos::CodePage codePage = escpos::CodePage::Pc858;
    int paperWidthMm = 80;
    // Characters per line of font A and font B.
    int fontAChars = 48;
    int fontBChars = 64;
    bool cutter = true;
    escpos::DrawerPin drawerPin = escpos::DrawerPin::Pin2;
    int drawerPulseMs = 100;
    // The drawer sensor (pin 3) reads high while the drawer is open.
    bool drawerOpenHigh = true;
    bool statusBack = true;
    int timeoutMs = 3000;
    // How often a printer without automatic status back is asked.
    int statusPollMs = 500;

    int PaperDots() const { return paperWidthMm == 58 ? 384 : 576; }
};

// Settings as the profile gives them, keys in lower case; the values were
// checked when the profile was read.
Settings ReadSettings(const std::vector<std::pair<std::string, std::string>>& entries);

} // namespace zorv::opos::escpos_device
