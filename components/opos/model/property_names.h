#pragma once
// Every property name that some simulated kind has, as one list: the enum
// that the code uses and the names that late-bound callers use come from it.
#include <cstdint>
#include <optional>
#include <string_view>

// clang-format off
#define ZORV_OPOS_PROPERTIES(X)                                                                              \
    /* common */                                                                                             \
    X(State) X(ResultCode) X(ResultCodeExtended) X(DeviceName) X(DeviceDescription)                          \
    X(ServiceObjectDescription) X(ServiceObjectVersion) X(ControlObjectDescription) X(ControlObjectVersion)  \
    X(Claimed) X(DeviceEnabled) X(DataEventEnabled) X(FreezeEvents) X(AutoDisable) X(DataCount)              \
    X(BinaryConversion) X(CapPowerReporting) X(PowerState) X(PowerNotify) X(CheckHealthText)                 \
    X(OpenResult) X(CapStatisticsReporting) X(CapUpdateStatistics) X(CapCompareFirmwareVersion)             \
    X(CapUpdateFirmware)                                                                                     \
    /* scanner, MSR */                                                                                       \
    X(DecodeData) X(ScanData) X(ScanDataLabel) X(ScanDataType)                                               \
    /* printer */                                                                                            \
    X(CapConcurrentJrnSlp) X(CapConcurrentRecSlp) X(CapCoverSensor) X(CapJrn2Color) X(CapJrnBold)            \
    X(CapJrnDhigh) X(CapJrnDwide) X(CapJrnDwideDhigh) X(CapJrnEmptySensor) X(CapJrnItalic)                   \
    X(CapJrnNearEndSensor) X(CapJrnPresent) X(CapJrnUnderline) X(CapRec2Color) X(CapRecBarCode)              \
    X(CapRecBitmap) X(CapRecBold) X(CapRecDhigh) X(CapRecDwide) X(CapRecDwideDhigh) X(CapRecEmptySensor)     \
    X(CapRecItalic) X(CapRecLeft90) X(CapRecNearEndSensor) X(CapRecPaperCut) X(CapRecPresent)                \
    X(CapRecRight90) X(CapRecRotate180) X(CapRecStamp) X(CapRecUnderline) X(CapSlp2Color) X(CapSlpBitmap)    \
    X(CapSlpBold) X(CapSlpDhigh) X(CapSlpDwide) X(CapSlpDwideDhigh) X(CapSlpEmptySensor) X(CapSlpFullslip)   \
    X(CapSlpItalic) X(CapSlpLeft90) X(CapSlpNearEndSensor) X(CapSlpPresent) X(CapSlpRight90)                 \
    X(CapSlpRotate180) X(CapSlpUnderline) X(CapTransaction) X(CoverOpen) X(FlagWhenIdle) X(JrnEmpty)         \
    X(JrnLetterQuality) X(JrnNearEnd) X(RecEmpty) X(RecLetterQuality) X(RecNearEnd) X(SlpEmpty)              \
    X(SlpLetterQuality) X(SlpNearEnd) X(FontTypefaceList) X(JrnLineChars) X(JrnLineCharsList)                \
    X(JrnLineHeight) X(JrnLineSpacing) X(JrnLineWidth) X(RecBarCodeRotationList) X(RecLineChars)             \
    X(RecLineCharsList) X(RecLineHeight) X(RecLineSpacing) X(RecLinesToPaperCut) X(RecLineWidth)             \
    X(RecSidewaysMaxChars) X(RecSidewaysMaxLines) X(SlpBarCodeRotationList) X(SlpLineChars)                  \
    X(SlpLineCharsList) X(SlpLineHeight) X(SlpLinesNearEndToEnd) X(SlpLineSpacing) X(SlpLineWidth)           \
    X(SlpMaxLines) X(SlpSidewaysMaxChars) X(SlpSidewaysMaxLines) X(AsyncMode) X(OutputID)                    \
    X(ErrorStation) X(ErrorLevel) X(ErrorString) X(MapMode) X(CapRecPageMode) X(CapSlpPageMode)              \
    X(PageModeArea) X(PageModeDescriptor) X(PageModeHorizontalPosition) X(PageModePrintArea)                 \
    X(PageModePrintDirection) X(PageModeStation) X(PageModeVerticalPosition) X(CapRecMarkFeed)               \
    X(CapSlpBothSidesPrint) X(SlpPrintSide) X(RotateSpecial) X(RecBitmapRotationList)                        \
    X(SlpBitmapRotationList) X(CapRecCartridgeSensor) X(CapJrnCartridgeSensor) X(CapSlpCartridgeSensor)      \
    X(RecCartridgeState) X(JrnCartridgeState) X(SlpCartridgeState) X(CartridgeNotify) X(CapRecColor)         \
    X(CapJrnColor) X(CapSlpColor) X(RecCurrentCartridge) X(JrnCurrentCartridge) X(SlpCurrentCartridge)       \
    X(CapRecRuledLine) X(CapSlpRuledLine) X(CapConcurrentPageMode) X(CapConcurrentJrnRec)           \
    /* printer, line display */                                                                              \
    X(CharacterSet) X(CharacterSetList) X(CapCharacterSetMap) X(CapMapCharacterSet) X(MapCharacterSet)        \
    /* line display */                                                                                       \
    X(CapBlink) X(CapBrightness) X(CapCharacterSet) X(CapDescriptors) X(CapHMarquee) X(CapICharWait)         \
    X(CapVMarquee) X(Columns) X(CurrentWindow) X(CursorColumn) X(CursorRow) X(CursorUpdate)                  \
    X(DeviceBrightness) X(DeviceColumns) X(DeviceDescriptors) X(DeviceRows) X(DeviceWindows)                 \
    X(InterCharacterWait) X(MarqueeFormat) X(MarqueeRepeatWait) X(MarqueeType) X(MarqueeUnitWait) X(Rows)    \
    X(BlinkRate) X(CapBlinkRate) X(CapCursorType) X(CursorType) X(CapCustomGlyph) X(CustomGlyphList)         \
    X(GlyphHeight) X(GlyphWidth) X(CapReadBack) X(CapReverse) X(CapBitmap) X(CapScreenMode) X(ScreenMode)    \
    X(ScreenModeList) X(MaximumX) X(MaximumY)                                                                \
    /* keylock */                                                                                            \
    X(KeyPosition) X(PositionCount) X(CapKeylockType) X(KeylockType) X(ElectronicKeyValue)                   \
    /* MSR */                                                                                                \
    X(CapISO) X(CapJISOne) X(CapJISTwo) X(ParseDecodeData) X(TracksToRead) X(ErrorReportingType)             \
    X(Track1Data) X(Track2Data) X(Track3Data) X(AccountNumber) X(ExpirationDate) X(Title) X(FirstName)       \
    X(MiddleInitial) X(Surname) X(Suffix) X(ServiceCode) X(Track1DiscretionaryData)                          \
    X(Track2DiscretionaryData) X(Track4Data) X(CapTransmitSentinels) X(TransmitSentinels)                    \
    X(CapWritableTracks) X(TracksToWrite) X(EncodingMaxLength) X(CapCardAuthentication)                      \
    X(CapDataEncryption) X(CapDeviceAuthentication) X(CardAuthenticationData)                                \
    X(CardAuthenticationDataLength) X(CardPropertyList) X(CardType) X(CardTypeList)                          \
    X(DataEncryptionAlgorithm) X(DeviceAuthenticated) X(DeviceAuthenticationProtocol)                        \
    X(Track1EncryptedData) X(Track1EncryptedDataLength) X(Track2EncryptedData) X(Track2EncryptedDataLength)  \
    X(Track3EncryptedData) X(Track3EncryptedDataLength) X(Track4EncryptedData) X(Track4EncryptedDataLength)  \
    X(AdditionalSecurityInformation)                                                                         \
    /* POS keyboard */                                                                                       \
    X(CapKeyUp) X(EventTypes) X(POSKeyData) X(POSKeyEventType)                                               \
    /* cash drawer */                                                                                        \
    X(CapStatus) X(DrawerOpened) X(CapStatusMultiDrawerDetect)
// clang-format on

namespace zorv::opos {

enum class Prop : std::uint16_t {
#define ZORV_OPOS_ENUM(name) name,
    ZORV_OPOS_PROPERTIES(ZORV_OPOS_ENUM)
#undef ZORV_OPOS_ENUM
        Count
};

constexpr std::size_t kPropCount = static_cast<std::size_t>(Prop::Count);

std::u16string_view PropName(Prop prop);
// Without regard to case, as late-bound names are matched.
std::optional<Prop> PropByName(std::u16string_view name);

} // namespace zorv::opos
