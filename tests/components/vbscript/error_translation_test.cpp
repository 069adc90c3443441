// Failures objects report without words of their own reach the script as the
// language's errors (number and text); described ones keep what they said.
#include <gtest/gtest.h>

#include "components/vbscript/com_bridge.h"
#include "components/vbscript/error_texts.h"
#include "components/vbscript/script_error.h"
#include "platform/com/bstr_value.h"

using namespace zorv;
using namespace zorv::vbs;

namespace {

TEST(ErrorTranslation, BareResultsBecomeTheLanguagesErrors) {
    const struct {
        HRESULT hr;
        int number;
    } cases[] = {
        {E_INVALIDARG, 5},
        {E_NOTIMPL, 445},
        {E_NOINTERFACE, 430},
        {E_ACCESSDENIED, 70},
        {DISP_E_ARRAYISLOCKED, 10},
        {DISP_E_BADVARTYPE, 458},
        {DISP_E_NOTACOLLECTION, 451},
        {DISP_E_PARAMNOTFOUND, 448},
        {MakeHresult(0x80070002), 53},
    };
    for (const auto& c : cases) {
        const ScriptError error = ErrorFromInvoke(c.hr, EXCEPINFO{}, u"Membre");
        EXPECT_EQ(error.number, c.number) << std::hex << c.hr;
        EXPECT_EQ(error.description, ErrorText(c.number)) << std::hex << c.hr;
        EXPECT_EQ(error.scode, c.hr); // the host still sees the object's own code
    }
    // One the language has no word for stays as it came.
    EXPECT_EQ(ErrorFromInvoke(E_FAIL, EXCEPINFO{}, u"Membre").number, E_FAIL);
}

TEST(ErrorTranslation, ExceptionsKeepTheirDescriptionOrTakeTheLanguagesText) {
    EXCEPINFO bare{};
    bare.scode = E_ACCESSDENIED;
    const ScriptError translated = ErrorFromInvoke(DISP_E_EXCEPTION, bare, u"Membre");
    EXPECT_EQ(translated.number, 70);
    EXPECT_EQ(translated.description, ErrorText(70));

    EXCEPINFO described{};
    described.scode = E_ACCESSDENIED;
    described.bstrDescription = com::Bstr(u"Le tiroir est verrouillé").Detach();
    described.bstrSource = com::Bstr(u"Tiroir").Detach();
    described.bstrHelpFile = com::Bstr(u"tiroir.hlp").Detach();
    described.dwHelpContext = 12;
    const ScriptError kept = ErrorFromInvoke(DISP_E_EXCEPTION, described, u"Membre");
    SysFreeString(described.bstrDescription);
    SysFreeString(described.bstrSource);
    SysFreeString(described.bstrHelpFile);
    EXPECT_EQ(kept.number, E_ACCESSDENIED);
    EXPECT_EQ(kept.description, u"Le tiroir est verrouillé");
    EXPECT_EQ(kept.source, u"Tiroir");
    EXPECT_EQ(kept.helpFile, u"tiroir.hlp");
    EXPECT_EQ(kept.helpContext, 12);
}

} // namespace
