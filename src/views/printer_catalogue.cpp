#include "views/catalogues.h"

#include <iterator>

namespace zorv::views {

namespace {

// Flags first, then texts; each group alphabetical, letter case ignored.
constexpr CatalogueEntry kPrinter[] = {
    Flag(u"CapConcurrentJrnSlp"),
    Flag(u"CapConcurrentRecSlp"),
    Flag(u"CapCoverSensor"),
    Flag(u"CapJrn2Color"),
    Flag(u"CapJrnBold"),
    Flag(u"CapJrnDhigh"),
    Flag(u"CapJrnDwide"),
    Flag(u"CapJrnDwideDhigh"),
    Flag(u"CapJrnEmptySensor"),
    Flag(u"CapJrnItalic"),
    Flag(u"CapJrnNearEndSensor"),
    Flag(u"CapJrnPresent"),
    Flag(u"CapJrnUnderline"),
    Flag(u"CapRec2Color"),
    Flag(u"CapRecBarCode"),
    Flag(u"CapRecBitmap"),
    Flag(u"CapRecBold"),
    Flag(u"CapRecDhigh"),
    Flag(u"CapRecDwide"),
    Flag(u"CapRecDwideDhigh"),
    Flag(u"CapRecEmptySensor"),
    Flag(u"CapRecItalic"),
    Flag(u"CapRecLeft90"),
    Flag(u"CapRecNearEndSensor"),
    Flag(u"CapRecPaperCut"),
    Flag(u"CapRecPresent"),
    Flag(u"CapRecRight90"),
    Flag(u"CapRecRotate180"),
    Flag(u"CapRecStamp"),
    Flag(u"CapRecUnderline"),
    Flag(u"CapSlp2Color"),
    Flag(u"CapSlpBitmap"),
    Flag(u"CapSlpBold"),
    Flag(u"CapSlpDhigh"),
    Flag(u"CapSlpDwide"),
    Flag(u"CapSlpDwideDhigh"),
    Flag(u"CapSlpEmptySensor"),
    Flag(u"CapSlpFullslip"),
    Flag(u"CapSlpItalic"),
    Flag(u"CapSlpLeft90"),
    Flag(u"CapSlpNearEndSensor"),
    Flag(u"CapSlpPresent"),
    Flag(u"CapSlpRight90"),
    Flag(u"CapSlpRotate180"),
    Flag(u"CapSlpUnderline"),
    Flag(u"CapTransaction"),
    Flag(u"CoverOpen"),
    Flag(u"FlagWhenIdle"),
    Flag(u"JrnEmpty"),
    Flag(u"JrnLetterQuality"),
    Flag(u"JrnNearEnd"),
    Flag(u"RecLetterQuality"),
    Flag(u"RecNearEnd"),
    Flag(u"SlpEmpty"),
    Flag(u"SlpLetterQuality"),
    Flag(u"SlpNearEnd"),
    Text(u"CharacterSetList"),
    Text(u"FontTypefaceList"),
    Text(u"JrnLineChars"),
    Text(u"JrnLineCharsList"),
    Text(u"JrnLineHeight"),
    Text(u"JrnLineSpacing"),
    Text(u"JrnLineWidth"),
    Text(u"RecBarCodeRotationList"),
    Text(u"RecLineChars"),
    Text(u"RecLineCharsList"),
    Text(u"RecLineHeight"),
    Text(u"RecLineSpacing"),
    Text(u"RecLinesToPaperCut"),
    Text(u"RecLineWidth"),
    Text(u"RecSidewaysMaxChars"),
    Text(u"RecSidewaysMaxLines"),
    Text(u"SlpBarCodeRotationList"),
    Text(u"SlpLineChars"),
    Text(u"SlpLineCharsList"),
    Text(u"SlpLineHeight"),
    Text(u"SlpLinesNearEndToEnd"),
    Text(u"SlpLineSpacing"),
    Text(u"SlpLineWidth"),
    Text(u"SlpMaxLines"),
    Text(u"SlpSidewaysMaxChars"),
    Text(u"SlpSidewaysMaxLines"),
};
static_assert(std::size(kPrinter) == 82);

} // namespace

Catalogue PrinterCatalogue() {
    return kPrinter;
}

} // namespace zorv::views
