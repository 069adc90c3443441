#include <gtest/gtest.h>

#include "outside/error_report_text.h"
#include "outside/ole_error.h"
#include "platform/com/error_text.h"
#include "platform/com/hresult.h"

using zorv::outside::ErrorReportText;

TEST(ErrorReportText, AppendsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ErrorReportText(u""), u"");
    EXPECT_EQ(ErrorReportText(u"Classe non enregistrée"), u"Classe non enregistrée.");
    EXPECT_EQ(ErrorReportText(u"Code 7"), u"Code 7.");
    EXPECT_EQ(ErrorReportText(u"OPOS Keylock : "), u"OPOS Keylock : ");
    EXPECT_EQ(ErrorReportText(u"Attention:"), u"Attention:.");
    EXPECT_EQ(ErrorReportText(u"Vraiment ?"), u"Vraiment ?.");
    for (const char16_t* unchanged : {u"Fini.", u"Stop!", u"(ligne 3)", u"a-", u"x,"})
        EXPECT_EQ(ErrorReportText(unchanged), unchanged);
}

TEST(PlatformErrorText, KnowsTheCodesTheSystemMeetsAndNoOthers) {
    using zorv::com::PlatformErrorText;
    EXPECT_EQ(PlatformErrorText(CO_E_CLASSSTRING), "Chaîne de classe non valide");
    EXPECT_EQ(PlatformErrorText(REGDB_E_CLASSNOTREG), "Classe non enregistrée");
    EXPECT_EQ(PlatformErrorText(DISP_E_MEMBERNOTFOUND), "Membre introuvable");
    EXPECT_EQ(PlatformErrorText(DISP_E_UNKNOWNNAME), "Nom inconnu");
    EXPECT_EQ(PlatformErrorText(DISP_E_TYPEMISMATCH), "Type incompatible");
    for (HRESULT code : {E_NOTIMPL, E_NOINTERFACE, E_POINTER, E_INVALIDARG, E_FAIL, E_OUTOFMEMORY, E_UNEXPECTED,
                         CLASS_E_NOAGGREGATION, CONNECT_E_NOCONNECTION, CONNECT_E_CANNOTCONNECT, DISP_E_EXCEPTION,
                         DISP_E_OVERFLOW, DISP_E_BADPARAMCOUNT, DISP_E_PARAMNOTFOUND, DISP_E_BADVARTYPE,
                         DISP_E_NONAMEDARGS, OLE_E_NOCONNECTION}) {
        const auto text = PlatformErrorText(code);
        ASSERT_TRUE(text) << std::hex << code;
        EXPECT_NE(text->back(), '.');
    }
    EXPECT_FALSE(PlatformErrorText(S_OK));
    EXPECT_FALSE(PlatformErrorText(static_cast<HRESULT>(0x80001234)));
    EXPECT_EQ(zorv::outside::FailureText(static_cast<HRESULT>(0x80001234)), "Erreur OLE 80001234");
}
