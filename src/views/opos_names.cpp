#include "views/opos_names.h"

#include <span>
#include <string_view>

#include "views/decimal_text.h"
#include "views/opos/OPOS_H.h"

namespace zorv::views {

using namespace opos;

namespace {

// Names of the contiguous codes first, first + 1, ...
struct NameTable {
    LONG first;
    std::span<const std::u16string_view> names;
};

constexpr std::u16string_view kStateNames[] = {u"OPOS_S_CLOSED", u"OPOS_S_IDLE", u"OPOS_S_BUSY",
                                               u"OPOS_S_ERROR"};
static_assert(std::size(kStateNames) == OPOS_S_ERROR - OPOS_S_CLOSED + 1);

constexpr std::u16string_view kResultCodeNames[] = {
    u"OPOS_E_CLOSED",  u"OPOS_E_CLAIMED",    u"OPOS_E_NOTCLAIMED", u"OPOS_E_NOSERVICE", u"OPOS_E_DISABLED",
    u"OPOS_E_ILLEGAL", u"OPOS_E_NOHARDWARE", u"OPOS_E_OFFLINE",    u"OPOS_E_NOEXIST",   u"OPOS_E_EXISTS",
    u"OPOS_E_FAILURE", u"OPOS_E_TIMEOUT",    u"OPOS_E_BUSY",       u"OPOS_E_EXTENDED"};
static_assert(std::size(kResultCodeNames) == OPOS_E_EXTENDED - OPOS_E_CLOSED + 1);

constexpr std::u16string_view kPowerReportingNames[] = {u"OPOS_PR_NONE", u"OPOS_PR_STANDARD",
                                                        u"OPOS_PR_ADVANCED"};
static_assert(std::size(kPowerReportingNames) == OPOS_PR_ADVANCED - OPOS_PR_NONE + 1);

constexpr std::u16string_view kPowerStateNames[] = {u"OPOS_PS_UNKNOWN", u"OPOS_PS_ONLINE", u"OPOS_PS_OFF",
                                                    u"OPOS_PS_OFFLINE", u"OPOS_PS_OFF_OFFLINE"};
static_assert(std::size(kPowerStateNames) == OPOS_PS_OFF_OFFLINE - OPOS_PS_UNKNOWN + 1);

std::u16string NameOf(const NameTable& table, LONG code) {
    // Widened so that no code, however far from the table, overflows the subtraction.
    const long long index = static_cast<long long>(code) - table.first;
    if (index < 0 || index >= static_cast<long long>(table.names.size()))
        return DecimalText(code);
    return std::u16string(table.names[static_cast<std::size_t>(index)]);
}

} // namespace

std::u16string StateToStr(LONG code) {
    return NameOf({OPOS_S_CLOSED, kStateNames}, code);
}
std::u16string ResultCodeToStr(LONG code) {
    return NameOf({OPOS_E_CLOSED, kResultCodeNames}, code);
}
std::u16string PowerReportingToStr(LONG code) {
    return NameOf({OPOS_PR_NONE, kPowerReportingNames}, code);
}
std::u16string PowerStateToStr(LONG code) {
    return NameOf({OPOS_PS_UNKNOWN, kPowerStateNames}, code);
}

} // namespace zorv::views
