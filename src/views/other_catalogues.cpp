#include "views/catalogues.h"

#include "views/opos/OPOSDISP_H.h"
#include "views/opos/OPOSKBD_H.h"
#include "views/opos/OPOSLOCK_H.h"
#include "views/opos/OPOSMSR_H.h"

// A code shown by the very name of its OPOS constant.
#define ZORV_NAMED(constant)                                                                                 \
    CodeName {                                                                                               \
        opos::constant, u"" #constant                                                                        \
    }

namespace zorv::views {

namespace {

constexpr CatalogueEntry kScanner[] = {
    Flag(u"DecodeData"),
    Text(u"ScanData"),
    Text(u"ScanDataLabel"),
    // Shown as the plain decimal code; no symbolic name.
    Text(u"ScanDataType"),
};

constexpr CodeName kCapBlink[] = {ZORV_NAMED(DISP_CB_NOBLINK), ZORV_NAMED(DISP_CB_BLINKALL),
                                  ZORV_NAMED(DISP_CB_BLINKEACH)};
constexpr CodeName kCapCharacterSet[] = {ZORV_NAMED(DISP_CCS_NUMERIC), ZORV_NAMED(DISP_CCS_ALPHA),
                                         ZORV_NAMED(DISP_CCS_KANA), ZORV_NAMED(DISP_CCS_KANJI),
                                         ZORV_NAMED(DISP_CCS_ASCII)};
constexpr CodeName kCharacterSet[] = {ZORV_NAMED(DISP_CS_ASCII), ZORV_NAMED(DISP_CS_WINDOWS)};
constexpr CodeName kMarqueeFormat[] = {ZORV_NAMED(DISP_MF_WALK), ZORV_NAMED(DISP_MF_PLACE)};
constexpr CodeName kMarqueeType[] = {ZORV_NAMED(DISP_MT_NONE),  ZORV_NAMED(DISP_MT_UP),
                                     ZORV_NAMED(DISP_MT_DOWN),  ZORV_NAMED(DISP_MT_LEFT),
                                     ZORV_NAMED(DISP_MT_RIGHT), ZORV_NAMED(DISP_MT_INIT)};

constexpr CatalogueEntry kLineDisplay[] = {
    Code(u"CapBlink", kCapBlink, OutsideCode::NoRow),
    Flag(u"CapBrightness"),
    Code(u"CapCharacterSet", kCapCharacterSet, OutsideCode::NoRow),
    Flag(u"CapDescriptors"),
    Flag(u"CapHMarquee"),
    Flag(u"CapICharWait"),
    Flag(u"CapVMarquee"),
    Code(u"CharacterSet", kCharacterSet, OutsideCode::Number),
    Text(u"CharacterSetList"),
    Number(u"Columns"),
    Number(u"CurrentWindow"),
    Number(u"CursorColumn"),
    Number(u"CursorRow"),
    Flag(u"CursorUpdate"),
    Number(u"DeviceBrightness"),
    Number(u"DeviceColumns"),
    Number(u"DeviceDescriptors"),
    Number(u"DeviceRows"),
    Number(u"DeviceWindows"),
    Number(u"InterCharacterWait"),
    Code(u"MarqueeFormat", kMarqueeFormat, OutsideCode::NoRow),
    Number(u"MarqueeRepeatWait"),
    Code(u"MarqueeType", kMarqueeType, OutsideCode::NoRow),
    Number(u"MarqueeUnitWait"),
    Number(u"Rows"),
};

constexpr CodeName kKeyPosition[] = {ZORV_NAMED(LOCK_KP_LOCK), ZORV_NAMED(LOCK_KP_NORM),
                                     ZORV_NAMED(LOCK_KP_SUPR)};

constexpr CatalogueEntry kKeylock[] = {
    Code(u"KeyPosition", kKeyPosition, OutsideCode::Number),
    Number(u"PositionCount"),
};

constexpr CodeName kTracksToRead[] = {ZORV_NAMED(MSR_TR_1),    ZORV_NAMED(MSR_TR_2),   ZORV_NAMED(MSR_TR_1_2),
                                      ZORV_NAMED(MSR_TR_3),    ZORV_NAMED(MSR_TR_1_3), ZORV_NAMED(MSR_TR_2_3),
                                      ZORV_NAMED(MSR_TR_1_2_3)};
constexpr CodeName kErrorReportingType[] = {ZORV_NAMED(MSR_ERT_CARD), ZORV_NAMED(MSR_ERT_TRACK)};

constexpr CatalogueEntry kMSR[] = {
    Flag(u"CapISO"),
    Flag(u"CapJISOne"),
    Flag(u"CapJISTwo"),
    Flag(u"DecodeData"),
    Flag(u"ParseDecodeData"),
    Code(u"TracksToRead", kTracksToRead, OutsideCode::NoRow),
    Code(u"ErrorReportingType", kErrorReportingType, OutsideCode::NoRow),
    Text(u"Track1Data"),
    Text(u"Track2Data"),
    Text(u"Track3Data"),
    Text(u"AccountNumber"),
    Text(u"ExpirationDate"),
    Text(u"Title"),
    Text(u"FirstName"),
    // The one entry shown under another name than the property it reads.
    {u"MiddleName", u"MiddleInitial", RowKind::Text},
    Text(u"Surname"),
    Text(u"Suffix"),
    Text(u"ServiceCode"),
    Text(u"Track1DiscretionaryData"),
    Text(u"Track2DiscretionaryData"),
};

// POSKeyEventType is named with the same two constants as EventTypes.
constexpr CodeName kKeyEvents[] = {ZORV_NAMED(KBD_ET_DOWN), ZORV_NAMED(KBD_ET_DOWN_UP)};

constexpr CatalogueEntry kPOSKeyboard[] = {
    Flag(u"CapKeyUp"),
    Code(u"EventTypes", kKeyEvents, OutsideCode::NoRow),
    Number(u"POSKeyData"),
    Code(u"POSKeyEventType", kKeyEvents, OutsideCode::NoRow),
};

constexpr CatalogueEntry kCashDrawer[] = {
    Flag(u"CapStatus"),
    Flag(u"DrawerOpened"),
};

} // namespace

Catalogue ScannerCatalogue() {
    return kScanner;
}
Catalogue LineDisplayCatalogue() {
    return kLineDisplay;
}
Catalogue KeylockCatalogue() {
    return kKeylock;
}
Catalogue MSRCatalogue() {
    return kMSR;
}
Catalogue POSKeyboardCatalogue() {
    return kPOSKeyboard;
}
Catalogue CashDrawerCatalogue() {
    return kCashDrawer;
}

} // namespace zorv::views
