#pragma once
// The seven device kinds as one table: each kind's file contributes its rows
// and behaviour, kind_table.cpp joins them.
#include "model/kind_info.h"

namespace zorv::opos {

// Each kind's own rows.
KindRows ScannerRows();
KindRows PrinterRows();
KindRows LineDisplayRows();
KindRows KeylockRows();
KindRows MSRRows();
KindRows POSKeyboardRows();
KindRows CashDrawerRows();

} // namespace zorv::opos
