// Every code name the program shows, checked against the values the OPOS
// standard gives those names: the catalogues' code tables, the events' names,
// and the four common tables over their whole range and just beyond it.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "views/catalogues.h"
#include "views/event_names.h"
#include "views/opos_names.h"

using namespace zorv;
using namespace zorv::views;
using devices::DeviceKindId;

namespace {

// The standard's values, as its headers publish them.
const std::map<std::u16string_view, LONG>& Standard() {
    static const std::map<std::u16string_view, LONG> values = {
        {u"DISP_CB_NOBLINK", 0},
        {u"DISP_CB_BLINKALL", 1},
        {u"DISP_CB_BLINKEACH", 2},
        {u"DISP_CCS_NUMERIC", 0},
        {u"DISP_CCS_ALPHA", 1},
        {u"DISP_CCS_KANA", 10},
        {u"DISP_CCS_KANJI", 11},
        {u"DISP_CCS_ASCII", 998},
        {u"DISP_CS_ASCII", 998},
        {u"DISP_CS_WINDOWS", 999},
        {u"DISP_MF_WALK", 0},
        {u"DISP_MF_PLACE", 1},
        {u"DISP_MT_NONE", 0},
        {u"DISP_MT_UP", 1},
        {u"DISP_MT_DOWN", 2},
        {u"DISP_MT_LEFT", 3},
        {u"DISP_MT_RIGHT", 4},
        {u"DISP_MT_INIT", 5},
        {u"LOCK_KP_LOCK", 1},
        {u"LOCK_KP_NORM", 2},
        {u"LOCK_KP_SUPR", 3},
        {u"MSR_TR_1", 1},
        {u"MSR_TR_2", 2},
        {u"MSR_TR_3", 4},
        {u"MSR_TR_1_2", 3},
        {u"MSR_TR_1_3", 5},
        {u"MSR_TR_2_3", 6},
        {u"MSR_TR_1_2_3", 7},
        {u"MSR_ERT_CARD", 0},
        {u"MSR_ERT_TRACK", 1},
        {u"KBD_ET_DOWN", 1},
        {u"KBD_ET_DOWN_UP", 2},
        {u"OPOS_SUE_POWER_ONLINE", 2001},
        {u"OPOS_SUE_POWER_OFF", 2002},
        {u"OPOS_SUE_POWER_OFFLINE", 2003},
        {u"OPOS_SUE_POWER_OFF_OFFLINE", 2004},
        {u"PTR_SUE_COVER_OPEN", 11},
        {u"PTR_SUE_COVER_OK", 12},
        {u"PTR_SUE_JRN_EMPTY", 21},
        {u"PTR_SUE_JRN_NEAREMPTY", 22},
        {u"PTR_SUE_JRN_PAPEROK", 23},
        {u"PTR_SUE_REC_EMPTY", 24},
        {u"PTR_SUE_REC_NEAREMPTY", 25},
        {u"PTR_SUE_REC_PAPEROK", 26},
        {u"PTR_SUE_SLP_EMPTY", 27},
        {u"PTR_SUE_SLP_NEAREMPTY", 28},
        {u"PTR_SUE_SLP_PAPEROK", 29},
        {u"PTR_SUE_IDLE", 1001},
        {u"CASH_SUE_DRAWERCLOSED", 0},
        {u"CASH_SUE_DRAWEROPEN", 1},
        {u"OPOS_EPTR_COVER_OPEN", 201},
        {u"OPOS_EPTR_JRN_EMPTY", 202},
        {u"OPOS_EPTR_REC_EMPTY", 203},
        {u"OPOS_EPTR_SLP_EMPTY", 204},
        {u"OPOS_EPTR_SLP_FORM", 205},
        {u"OPOS_EPTR_TOOBIG", 206},
        {u"OPOS_EPTR_BADFORMAT", 207},
        {u"OPOS_EMSR_START", 201},
        {u"OPOS_EMSR_END", 202},
        {u"OPOS_EMSR_PARITY", 203},
        {u"OPOS_EMSR_LRC", 204},
        {u"OPOS_EL_OUTPUT", 1},
        {u"OPOS_EL_INPUT", 2},
        {u"OPOS_EL_INPUT_DATA", 3},
        {u"OPOS_ER_RETRY", 11},
        {u"OPOS_ER_CLEAR", 12},
        {u"OPOS_ER_CONTINUEINPUT", 13},
        {u"OPOS_S_CLOSED", 1},
        {u"OPOS_S_IDLE", 2},
        {u"OPOS_S_BUSY", 3},
        {u"OPOS_S_ERROR", 4},
        {u"OPOS_E_CLOSED", 101},
        {u"OPOS_E_CLAIMED", 102},
        {u"OPOS_E_NOTCLAIMED", 103},
        {u"OPOS_E_NOSERVICE", 104},
        {u"OPOS_E_DISABLED", 105},
        {u"OPOS_E_ILLEGAL", 106},
        {u"OPOS_E_NOHARDWARE", 107},
        {u"OPOS_E_OFFLINE", 108},
        {u"OPOS_E_NOEXIST", 109},
        {u"OPOS_E_EXISTS", 110},
        {u"OPOS_E_FAILURE", 111},
        {u"OPOS_E_TIMEOUT", 112},
        {u"OPOS_E_BUSY", 113},
        {u"OPOS_E_EXTENDED", 114},
        {u"OPOS_PR_NONE", 0},
        {u"OPOS_PR_STANDARD", 1},
        {u"OPOS_PR_ADVANCED", 2},
        {u"OPOS_PS_UNKNOWN", 2000},
        {u"OPOS_PS_ONLINE", 2001},
        {u"OPOS_PS_OFF", 2002},
        {u"OPOS_PS_OFFLINE", 2003},
        {u"OPOS_PS_OFF_OFFLINE", 2004},
    };
    return values;
}

// Each name at its standard value, and no code named twice.
void ExpectStandard(std::span<const CodeName> table, const std::string& where) {
    std::set<LONG> codes;
    for (const CodeName& entry : table) {
        const auto standard = Standard().find(entry.name);
        const std::string name(entry.name.begin(), entry.name.end());
        ASSERT_NE(standard, Standard().end()) << where << ": " << name << " is not a name of the standard";
        EXPECT_EQ(entry.code, standard->second) << where << ": " << name;
        EXPECT_TRUE(codes.insert(entry.code).second) << where << ": code " << entry.code << " named twice";
    }
}

std::string Named(DeviceKindId kind) {
    const std::u16string_view name = devices::KindOf(kind).displayName;
    return std::string(name.begin(), name.end());
}

} // namespace

TEST(NameTables, EveryCatalogueCodeTableNamesTheStandardsValues) {
    int tables = 0;
    for (const devices::DeviceKind& kind : devices::DeviceKinds())
        for (const CatalogueEntry& entry : CatalogueOf(kind.id))
            if (entry.kind == RowKind::Code) {
                ExpectStandard(entry.codes, Named(kind.id) + " " +
                                                std::string(entry.property.begin(), entry.property.end()));
                ++tables;
            }
    EXPECT_GE(tables, 9) << "the line display's, the keylock's, the MSR's and the keyboard's";
}

TEST(NameTables, EveryEventTableNamesTheStandardsValues) {
    for (const devices::DeviceKind& kind : devices::DeviceKinds()) {
        ExpectStandard(StatusUpdateNames(kind.id), Named(kind.id) + " status updates");
        ExpectStandard(ExtendedResultNames(kind.id), Named(kind.id) + " extended codes");
        // Every kind names the power codes in its status updates.
        for (LONG power = 2001; power <= 2004; ++power)
            EXPECT_TRUE(NameIn(StatusUpdateNames(kind.id), power)) << Named(kind.id) << " " << power;
    }
    ExpectStandard(ErrorLocusNames(), "loci");
    ExpectStandard(ErrorResponseNames(), "responses");
}

TEST(NameTables, TheCommonTablesNameEveryCodeOfTheirRangeAndOnlyThose) {
    struct Table {
        std::u16string (*format)(LONG);
        LONG first;
        LONG last;
    };
    const Table tables[] = {{StateToStr, 1, 4},
                            {ResultCodeToStr, 101, 114},
                            {PowerReportingToStr, 0, 2},
                            {PowerStateToStr, 2000, 2004}};
    for (const Table& table : tables) {
        for (LONG code = table.first - 3; code <= table.last + 3; ++code) {
            const std::u16string shown = table.format(code);
            const auto standard = Standard().find(shown);
            if (code >= table.first && code <= table.last) {
                ASSERT_NE(standard, Standard().end()) << "code " << code;
                EXPECT_EQ(standard->second, code);
            } else {
                const std::string digits = std::to_string(code);
                EXPECT_EQ(shown, std::u16string(digits.begin(), digits.end()))
                    << "outside its table, code " << code << " reads in decimal";
            }
        }
    }
}
