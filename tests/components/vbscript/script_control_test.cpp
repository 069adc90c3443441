// The script control's dispatch contract, reached through the class table
// as the program reaches it.
#include <gtest/gtest.h>

#include <chrono>

#include "outside/late_bound.h"
#include "platform/com/class_table.h"
#include "platform/com/table_dispatch.h"
#include "platform/ui/recording_user_interface.h"

using namespace zorv::com;
using namespace zorv::outside;

namespace {

ComPtr<IDispatch> NewControl() {
    CLSID clsid;
    EXPECT_EQ(FindClass(OwnClass(u"ScriptControl"), &clsid), S_OK);
    ComPtr<IDispatch> control;
    EXPECT_EQ(CreateInstance(clsid, CLSCTX_INPROC_SERVER, IID_IDispatch, control.ReleaseAndGetVoidAddress()),
              S_OK);
    return control;
}

ComPtr<IDispatch> VBScript() {
    ComPtr<IDispatch> control = NewControl();
    PutProperty(control.Get(), u"Language", u"vbscript");
    return control;
}

LONG Number(const Variant& v) {
    return ToLong(v);
}

std::string FailureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const EOleError& error) {
        return error.Text();
    }
    return "(no error)";
}

// A device-like object whose DirectIO writes back into its by-reference arguments.
class Device final : public TableDispatch<Device> {
public:
    static const DispatchTable<Device>& DispatchMembers() {
        static const DispatchTable<Device> table{
            {u"DirectIO", 1, nullptr, nullptr, &Device::DirectIO},
            {u"Name", 2, &Device::GetName},
            {u"Fail", 3, nullptr, nullptr, &Device::Fail},
        };
        return table;
    }

private:
    void DirectIO(const DispatchArgs& args, VARIANT& result) {
        args.ExpectCount(3, 3);
        args.SetByRef(1, Variant(LONG{args.Long(1) + 1}));
        args.SetByRef(2, Variant(u"lu:" + args.String(2)));
        result = Variant(LONG{0}).Detach();
    }
    void GetName(VARIANT& result) { result = Variant(u"SimScanner").Detach(); }
    void Fail(const DispatchArgs&, VARIANT&) { throw DispatchException(u"Périphérique non ouvert", E_FAIL); }
};

} // namespace

TEST(ScriptControl, IsRegisteredUnderItsProgId) {
    CLSID clsid;
    EXPECT_EQ(FindClass(OwnClass(u"scriptcontrol"), &clsid), S_OK);
}

TEST(ScriptControl, LanguageAcceptsVBScriptInAnyCase) {
    auto control = NewControl();
    PutProperty(control.Get(), u"LANGUAGE", u"VbScript");
    EXPECT_EQ(ToText(GetProperty(control.Get(), u"Language")), u"VBScript");
}

TEST(ScriptControl, OtherLanguagesAreRefusedClearly) {
    auto control = NewControl();
    const std::string text = FailureOf([&] { PutProperty(control.Get(), u"Language", u"JScript"); });
    EXPECT_NE(text.find("JScript"), std::string::npos);
}

TEST(ScriptControl, AddCodeKeepsGlobalsForLaterCode) {
    auto control = VBScript();
    CallMethod(control.Get(), u"AddCode", {u"Dim counter\r\ncounter = 41"});
    CallMethod(control.Get(), u"AddCode", {u"counter = counter + 1"});
    EXPECT_EQ(Number(CallMethod(control.Get(), u"Eval", {u"counter"})), 42);
}

TEST(ScriptControl, ProceduresAddedEarlierCanBeRunWithArguments) {
    auto control = VBScript();
    CallMethod(control.Get(), u"AddCode", {u"Function Add(a, b)\nAdd = a + b\nEnd Function"});
    EXPECT_EQ(Number(CallMethod(control.Get(), u"Run", {u"Add", LONG{2}, LONG{3}})), 5);
}

TEST(ScriptControl, RunOfAnUnknownProcedureFails) {
    auto control = VBScript();
    const std::string text = FailureOf([&] { CallMethod(control.Get(), u"Run", {u"Missing"}); });
    EXPECT_NE(text.find("Missing"), std::string::npos);
    auto error = GetProperty(control.Get(), u"Error");
    EXPECT_EQ(Number(GetProperty(error.pdispVal, u"Number")), 35);
}

TEST(ScriptControl, RuntimeErrorGivesDescriptionWithFrenchLocation) {
    auto control = VBScript();
    CallMethod(control.Get(), u"AddCode", {u"Sub Go\n  Dim x\n  x = CInt(\"z\")\nEnd Sub"});
    const std::string text = FailureOf([&] { CallMethod(control.Get(), u"Run", {u"Go"}); });
    EXPECT_EQ(text, "Type incompatible: 'CInt' (ligne 3, colonne 7)");
}

TEST(ScriptControl, ExcepInfoCarriesTheDescriptionAndVBScriptCode) {
    auto control = VBScript();
    DISPID id = MemberId(control.Get(), u"AddCode");
    Variant code(u"x = 1 / 0");
    DISPPARAMS params{code.Raw(), nullptr, 1, 0};
    EXCEPINFO info{};
    const HRESULT hr = control->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, &info, nullptr);
    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    EXPECT_EQ(BstrView(info.bstrDescription), u"Division par zéro (ligne 1, colonne 7)");
    EXPECT_EQ(info.scode, static_cast<SCODE>(0x800A000B));
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
}

TEST(ScriptControl, ErrorObjectHoldsTheFactsFieldByField) {
    auto control = VBScript();
    FailureOf([&] { CallMethod(control.Get(), u"AddCode", {u"Dim a\r\nIf a Then\r\n"}); });
    auto error = GetProperty(control.Get(), u"Error");
    EXPECT_EQ(Number(GetProperty(error.pdispVal, u"Number")), 1014);
    EXPECT_EQ(Number(GetProperty(error.pdispVal, u"Line")), 3);
    EXPECT_EQ(ToText(GetProperty(error.pdispVal, u"Description")), u"'End' attendu");
    CallMethod(error.pdispVal, u"Clear");
    EXPECT_EQ(Number(GetProperty(error.pdispVal, u"Number")), 0);
}

TEST(ScriptControl, ErrorTextIsTheFailingLine) {
    auto control = VBScript();
    FailureOf([&] { CallMethod(control.Get(), u"AddCode", {u"a = 1\n  b = 2 +\nc = 3"}); });
    auto error = GetProperty(control.Get(), u"Error");
    EXPECT_EQ(ToText(GetProperty(error.pdispVal, u"Text")), u"  b = 2 +");
}

TEST(ScriptControl, CodeThatDoesNotCompileRunsNothing) {
    auto control = VBScript();
    CallMethod(control.Get(), u"AddCode", {u"Dim ran\nran = 0"});
    FailureOf([&] { CallMethod(control.Get(), u"AddCode", {u"ran = 1\nIf Then"}); });
    EXPECT_EQ(Number(CallMethod(control.Get(), u"Eval", {u"ran"})), 0);
}

TEST(ScriptControl, ResetForgetsCode) {
    auto control = VBScript();
    CallMethod(control.Get(), u"AddCode", {u"Sub S\nEnd Sub"});
    CallMethod(control.Get(), u"Reset");
    EXPECT_NE(FailureOf([&] { CallMethod(control.Get(), u"Run", {u"S"}); }), "(no error)");
}

TEST(ScriptControl, AddObjectMakesTheObjectAGlobal) {
    auto control = VBScript();
    auto device = MakeObject<Device>();
    CallMethod(control.Get(), u"AddObject", {u"Scanner", static_cast<IDispatch*>(device.Get())});
    EXPECT_EQ(ToText(CallMethod(control.Get(), u"Eval", {u"Scanner.Name"})), u"SimScanner");
}

TEST(ScriptControl, ObjectOutParametersComeBackIntoScriptVariables) {
    auto control = VBScript();
    auto device = MakeObject<Device>();
    CallMethod(control.Get(), u"AddObject", {u"Scanner", static_cast<IDispatch*>(device.Get())});
    CallMethod(control.Get(), u"AddCode", {u"Dim d, s\nd = 1 : s = \"x\"\nScanner.DirectIO 7, d, s"});
    EXPECT_EQ(Number(CallMethod(control.Get(), u"Eval", {u"d"})), 2);
    EXPECT_EQ(ToText(CallMethod(control.Get(), u"Eval", {u"s"})), u"lu:x");
}

TEST(ScriptControl, ObjectFailuresBecomeCatchableScriptErrors) {
    auto control = VBScript();
    auto device = MakeObject<Device>();
    CallMethod(control.Get(), u"AddObject", {u"Scanner", static_cast<IDispatch*>(device.Get())});
    CallMethod(control.Get(), u"AddCode",
               {u"On Error Resume Next\nScanner.Fail\nDim n, d\nn = Err.Number : d = Err.Description"});
    EXPECT_EQ(Number(CallMethod(control.Get(), u"Eval", {u"n"})), static_cast<LONG>(E_FAIL));
    EXPECT_EQ(ToText(CallMethod(control.Get(), u"Eval", {u"d"})), u"Périphérique non ouvert");
    const std::string text =
        FailureOf([&] { CallMethod(control.Get(), u"ExecuteStatement", {u"Scanner.Fail"}); });
    EXPECT_EQ(text, "Périphérique non ouvert (ligne 1, colonne 9)");
}

TEST(ScriptControl, MsgBoxGoesThroughTheUserInterfaceSeam) {
    zorv::ui::RecordingUserInterface ui;
    ui.QueueAnswer(zorv::ui::Answer::No);
    auto control = VBScript();
    CallMethod(control.Get(), u"AddCode",
               {u"Dim r\nr = MsgBox(\"Ouvrir ?\", vbYesNo + vbQuestion, \"Titre\")"});
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, u"Ouvrir ?");
    EXPECT_EQ(ui.Messages()[0].caption, u"Titre");
    EXPECT_EQ(ui.Messages()[0].buttons, zorv::ui::Buttons::YesNo);
    EXPECT_EQ(ui.Messages()[0].icon, zorv::ui::Icon::Question);
    EXPECT_EQ(Number(CallMethod(control.Get(), u"Eval", {u"r"})), 7);
}

TEST(ScriptControl, AllowUIFalseRefusesBoxes) {
    zorv::ui::RecordingUserInterface ui;
    auto control = VBScript();
    PutProperty(control.Get(), u"AllowUI", false);
    EXPECT_NE(FailureOf([&] { CallMethod(control.Get(), u"AddCode", {u"MsgBox 1"}); }), "(no error)");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(ScriptControl, ScriptObjectsCanBeCalledFromOutside) {
    auto control = VBScript();
    CallMethod(
        control.Get(), u"AddCode",
        {u"Class Greeter\nPublic Function Hello(n)\nHello = \"Bonjour \" & n\nEnd Function\nEnd Class"});
    Variant greeter = CallMethod(control.Get(), u"Eval", {u"New Greeter"});
    ASSERT_EQ(greeter.vt, VT_DISPATCH);
    EXPECT_EQ(ToText(CallMethod(greeter.pdispVal, u"Hello", {u"Léa"})), u"Bonjour Léa");
}

TEST(ScriptControl, HugeOrBinaryInputIsACompileErrorNotACrash) {
    auto control = VBScript();
    std::u16string junk;
    for (int i = 0; i < 200000; ++i)
        junk += static_cast<char16_t>((i * 7919) % 65536);
    EXPECT_NE(FailureOf([&] { CallMethod(control.Get(), u"AddCode", {std::u16string_view(junk)}); }),
              "(no error)");
    std::u16string nested(100000, u'(');
    EXPECT_NE(FailureOf([&] { CallMethod(control.Get(), u"AddCode", {u"x = " + nested}); }), "(no error)");
}

TEST(ScriptControl, ResetEndsLiveInstancesWithClassTerminate) {
    zorv::ui::RecordingUserInterface ui;
    auto control = VBScript();
    CallMethod(
        control.Get(), u"AddCode",
        {u"Class T\nPublic Name, Other\nSub Class_Terminate\nMsgBox \"fin \" & Name\nEnd Sub\nEnd Class\n"
         u"Dim a, b\nSet a = New T : a.Name = \"a\"\nSet b = New T : b.Name = \"b\"\n"
         u"Set a.Other = b\nSet b.Other = a"});
    CallMethod(control.Get(), u"Reset");
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].text, u"fin a");
    EXPECT_EQ(ui.Messages()[1].text, u"fin b");
}

TEST(ScriptControl, ReleasingTheControlEndsLiveInstances) {
    zorv::ui::RecordingUserInterface ui;
    {
        auto control = VBScript();
        CallMethod(control.Get(), u"AddCode",
                   {u"Class T\nSub Class_Terminate\nMsgBox \"fin\"\nErr.Raise 5\nEnd Sub\nEnd Class\nDim "
                    u"a\nSet a = New T"});
    }
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, u"fin");
}

TEST(ScriptControl, AnInstanceHeldByTheHostIsInertAfterReset) {
    zorv::ui::RecordingUserInterface ui;
    auto control = VBScript();
    CallMethod(control.Get(), u"AddCode",
               {u"Class T\nFunction Hello\nHello = 1\nEnd Function\nSub Class_Terminate\nMsgBox \"fin\"\nEnd "
                u"Sub\nEnd Class"});
    Variant held = CallMethod(control.Get(), u"Eval", {u"New T"});
    ASSERT_EQ(held.vt, VT_DISPATCH);
    CallMethod(control.Get(), u"Reset");
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(FailureOf([&] { CallMethod(held.pdispVal, u"Hello"); }), "(no error)");
    held = Variant();
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST(ScriptControl, TimeoutIsTenSecondsByDefaultAndAcceptsMinusOne) {
    auto control = VBScript();
    EXPECT_EQ(Number(GetProperty(control.Get(), u"Timeout")), 10000);
    PutProperty(control.Get(), u"Timeout", LONG{-1});
    EXPECT_EQ(Number(GetProperty(control.Get(), u"Timeout")), -1);
    EXPECT_NE(FailureOf([&] { PutProperty(control.Get(), u"Timeout", LONG{-5}); }), "(no error)");
}

TEST(ScriptControl, ARunawayScriptIsStoppedWhenTheUserSaysYes) {
    zorv::ui::RecordingUserInterface ui;
    ui.QueueAnswer(zorv::ui::Answer::Yes);
    auto control = VBScript();
    PutProperty(control.Get(), u"Timeout", LONG{50});
    const std::string text =
        FailureOf([&] { CallMethod(control.Get(), u"AddCode", {u"On Error Resume Next\nDo\nLoop"}); });
    EXPECT_EQ(text, "Script arrêté : délai d'exécution dépassé (ligne 2, colonne 1)");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, u"Le script s'exécute depuis longtemps. Voulez-vous l'arrêter ?");
    EXPECT_EQ(ui.Messages()[0].buttons, zorv::ui::Buttons::YesNo);
    EXPECT_EQ(ui.Messages()[0].icon, zorv::ui::Icon::Question);
    auto error = GetProperty(control.Get(), u"Error");
    EXPECT_EQ(Number(GetProperty(error.pdispVal, u"Number")), 5050);
}

TEST(ScriptControl, NoLetsTheScriptRunAnotherPeriod) {
    zorv::ui::RecordingUserInterface ui;
    ui.QueueAnswer(zorv::ui::Answer::No);
    ui.QueueAnswer(zorv::ui::Answer::Yes);
    auto control = VBScript();
    PutProperty(control.Get(), u"Timeout", LONG{40});
    CallMethod(control.Get(), u"AddCode", {u"Sub Spin\nDim t\nt = Timer\nDo\nLoop\nEnd Sub"});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(FailureOf([&] { CallMethod(control.Get(), u"Run", {u"Spin"}); }), "(no error)");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
    EXPECT_EQ(ui.Messages().size(), 2u);
    // The engine is still usable afterwards.
    EXPECT_EQ(Number(CallMethod(control.Get(), u"Eval", {u"1 + 1"})), 2);
}

TEST(ScriptControl, WithoutUIATimeoutStopsWithoutAsking) {
    zorv::ui::RecordingUserInterface ui;
    auto control = VBScript();
    PutProperty(control.Get(), u"Timeout", LONG{30});
    PutProperty(control.Get(), u"AllowUI", false);
    EXPECT_NE(FailureOf([&] { CallMethod(control.Get(), u"AddCode", {u"While True\nWend"}); }), "(no error)");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(ScriptControl, ByteStringsCrossTheObjectBoundaryWithEveryByte) {
    auto control = VBScript();
    Variant three = CallMethod(control.Get(), u"Eval", {u"ChrB(65) & ChrB(66) & ChrB(67)"});
    ASSERT_EQ(three.vt, VT_BSTR);
    EXPECT_EQ(SysStringByteLen(three.bstrVal), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(three.bstrVal), 3), "ABC");

    CallMethod(control.Get(), u"AddCode",
               {u"Function Count(x)\nCount = LenB(x) & \" \" & AscB(RightB(x, 1))\nEnd Function"});
    Variant odd;
    odd.vt = VT_BSTR;
    odd.bstrVal = SysAllocStringByteLen("xyz", 3);
    EXPECT_EQ(ToText(CallMethod(control.Get(), u"Run", {u"Count", odd})), u"3 122");
}

TEST(ScriptControl, CompilingAHugeScriptStopsAtTheMemoryLimitAtTheLineReached) {
    auto control = VBScript();
    const Variant previous = GetProperty(control.Get(), u"MemoryLimit");
    PutProperty(control.Get(), u"MemoryLimit", LONG{128});
    std::u16string huge;
    for (int i = 0; i < 2000000; ++i)
        huge += u"total = total + 1\n";
    const std::string text =
        FailureOf([&] { CallMethod(control.Get(), u"AddCode", {std::u16string_view(huge)}); });
    huge.clear();
    auto error = GetProperty(control.Get(), u"Error");
    EXPECT_EQ(Number(GetProperty(error.pdispVal, u"Number")), 7) << text;
    EXPECT_NE(text.find("Mémoire insuffisante"), std::string::npos) << text;
    const LONG line = Number(GetProperty(error.pdispVal, u"Line"));
    EXPECT_GT(line, 1000);
    EXPECT_LT(line, 2000000);
    EXPECT_EQ(ToText(GetProperty(error.pdispVal, u"Text")), u"total = total + 1");
    // Nothing was kept of it: a small script still compiles and runs.
    CallMethod(control.Get(), u"AddCode", {u"Dim small : small = 41 + 1"});
    EXPECT_EQ(Number(CallMethod(control.Get(), u"Eval", {u"small"})), 42);
    PutProperty(control.Get(), u"MemoryLimit", previous);
}
