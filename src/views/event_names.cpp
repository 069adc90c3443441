#include "views/event_names.h"

#include "views/decimal_text.h"
#include "views/opos/OPOSCASH_H.h"
#include "views/opos/OPOSLOCK_H.h"
#include "views/opos/OPOSMSR_H.h"
#include "views/opos/OPOSPTR_H.h"
#include "views/opos/OPOS_H.h"
#include "views/opos_names.h"

#define ZORV_NAMED(constant)                                                                                 \
    CodeName {                                                                                               \
        opos::constant, u"" #constant                                                                        \
    }

namespace zorv::views {
namespace {

using devices::DeviceKindId;

constexpr CodeName kPowerStatus[] = {ZORV_NAMED(OPOS_SUE_POWER_ONLINE), ZORV_NAMED(OPOS_SUE_POWER_OFF),
                                     ZORV_NAMED(OPOS_SUE_POWER_OFFLINE),
                                     ZORV_NAMED(OPOS_SUE_POWER_OFF_OFFLINE)};

constexpr CodeName kPrinterStatus[] = {
    ZORV_NAMED(PTR_SUE_COVER_OPEN),     ZORV_NAMED(PTR_SUE_COVER_OK),
    ZORV_NAMED(PTR_SUE_JRN_EMPTY),      ZORV_NAMED(PTR_SUE_JRN_NEAREMPTY),
    ZORV_NAMED(PTR_SUE_JRN_PAPEROK),    ZORV_NAMED(PTR_SUE_REC_EMPTY),
    ZORV_NAMED(PTR_SUE_REC_NEAREMPTY),  ZORV_NAMED(PTR_SUE_REC_PAPEROK),
    ZORV_NAMED(PTR_SUE_SLP_EMPTY),      ZORV_NAMED(PTR_SUE_SLP_NEAREMPTY),
    ZORV_NAMED(PTR_SUE_SLP_PAPEROK),    ZORV_NAMED(PTR_SUE_IDLE),
    ZORV_NAMED(OPOS_SUE_POWER_ONLINE),  ZORV_NAMED(OPOS_SUE_POWER_OFF),
    ZORV_NAMED(OPOS_SUE_POWER_OFFLINE), ZORV_NAMED(OPOS_SUE_POWER_OFF_OFFLINE)};

constexpr CodeName kKeylockStatus[] = {ZORV_NAMED(LOCK_KP_LOCK),
                                       ZORV_NAMED(LOCK_KP_NORM),
                                       ZORV_NAMED(LOCK_KP_SUPR),
                                       ZORV_NAMED(OPOS_SUE_POWER_ONLINE),
                                       ZORV_NAMED(OPOS_SUE_POWER_OFF),
                                       ZORV_NAMED(OPOS_SUE_POWER_OFFLINE),
                                       ZORV_NAMED(OPOS_SUE_POWER_OFF_OFFLINE)};

constexpr CodeName kCashDrawerStatus[] = {
    ZORV_NAMED(CASH_SUE_DRAWERCLOSED),  ZORV_NAMED(CASH_SUE_DRAWEROPEN),
    ZORV_NAMED(OPOS_SUE_POWER_ONLINE),  ZORV_NAMED(OPOS_SUE_POWER_OFF),
    ZORV_NAMED(OPOS_SUE_POWER_OFFLINE), ZORV_NAMED(OPOS_SUE_POWER_OFF_OFFLINE)};

constexpr CodeName kPrinterExtended[] = {ZORV_NAMED(OPOS_EPTR_COVER_OPEN), ZORV_NAMED(OPOS_EPTR_JRN_EMPTY),
                                         ZORV_NAMED(OPOS_EPTR_REC_EMPTY),  ZORV_NAMED(OPOS_EPTR_SLP_EMPTY),
                                         ZORV_NAMED(OPOS_EPTR_SLP_FORM),   ZORV_NAMED(OPOS_EPTR_TOOBIG),
                                         ZORV_NAMED(OPOS_EPTR_BADFORMAT)};

constexpr CodeName kMSRExtended[] = {ZORV_NAMED(OPOS_EMSR_START), ZORV_NAMED(OPOS_EMSR_END),
                                     ZORV_NAMED(OPOS_EMSR_PARITY), ZORV_NAMED(OPOS_EMSR_LRC)};

// The scanner's symbologies; its header is not among those the window carries.
constexpr CodeName kSymbologies[] = {
    {0, u"SCAN_SDT_UNKNOWN"},  {101, u"SCAN_SDT_UPCA"},       {102, u"SCAN_SDT_UPCE"},
    {103, u"SCAN_SDT_EAN8"},   {104, u"SCAN_SDT_EAN13"},      {105, u"SCAN_SDT_TF"},
    {106, u"SCAN_SDT_ITF"},    {107, u"SCAN_SDT_Codabar"},    {108, u"SCAN_SDT_Code39"},
    {109, u"SCAN_SDT_Code93"}, {110, u"SCAN_SDT_Code128"},    {120, u"SCAN_SDT_EAN128"},
    {201, u"SCAN_SDT_PDF417"}, {203, u"SCAN_SDT_DATAMATRIX"}, {204, u"SCAN_SDT_QRCODE"},
    {501, u"SCAN_SDT_OTHER"}};

constexpr CodeName kLoci[] = {ZORV_NAMED(OPOS_EL_OUTPUT), ZORV_NAMED(OPOS_EL_INPUT),
                              ZORV_NAMED(OPOS_EL_INPUT_DATA)};

constexpr CodeName kResponses[] = {ZORV_NAMED(OPOS_ER_RETRY), ZORV_NAMED(OPOS_ER_CLEAR),
                                   ZORV_NAMED(OPOS_ER_CONTINUEINPUT)};

} // namespace

std::span<const CodeName> StatusUpdateNames(DeviceKindId kind) {
    switch (kind) {
    case DeviceKindId::Printer:
        return kPrinterStatus;
    case DeviceKindId::Keylock:
        return kKeylockStatus;
    case DeviceKindId::CashDrawer:
        return kCashDrawerStatus;
    default:
        return kPowerStatus;
    }
}

std::span<const CodeName> ScanDataTypeNames() {
    return kSymbologies;
}

std::span<const CodeName> ExtendedResultNames(DeviceKindId kind) {
    switch (kind) {
    case DeviceKindId::Printer:
        return kPrinterExtended;
    case DeviceKindId::MSR:
        return kMSRExtended;
    default:
        return {};
    }
}

std::span<const CodeName> ErrorLocusNames() {
    return kLoci;
}

std::span<const CodeName> ErrorResponseNames() {
    return kResponses;
}

std::optional<std::u16string_view> NameIn(std::span<const CodeName> table, LONG code) {
    for (const CodeName& entry : table)
        if (entry.code == code)
            return entry.name;
    return std::nullopt;
}

std::u16string NamedCode(std::span<const CodeName> table, LONG code) {
    const std::optional<std::u16string_view> name = NameIn(table, code);
    if (!name)
        return DecimalText(code);
    return std::u16string(*name) + u" (" + DecimalText(code) + u")";
}

std::u16string NamedResultCode(LONG code) {
    if (code == opos::OPOS_SUCCESS)
        return u"OPOS_SUCCESS (0)";
    const std::u16string name = ResultCodeToStr(code);
    const std::u16string digits = DecimalText(code);
    return name == digits ? digits : name + u" (" + digits + u")";
}

} // namespace zorv::views
