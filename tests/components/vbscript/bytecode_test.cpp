// What the compiler makes of small procedures, read through the disassembler,
// and the interpreter running them (this test is also built with the
// switch-dispatch interpreter).
#include <gtest/gtest.h>

#include "components/vbscript/disassembler.h"
#include "components/vbscript/engine.h"

using namespace zorv::vbs;

namespace {

std::string Listing(const std::u16string& code, std::u16string_view procedure) {
    auto engine = Engine::Create();
    engine->AddCode(code);
    for (const auto& proc : engine->GetProgram().procedures)
        if (proc->name == procedure)
            return Disassemble(*proc);
    return "(no such procedure)";
}

std::int32_t RunLong(const std::u16string& code, std::u16string_view procedure) {
    auto engine = Engine::Create();
    engine->AddCode(code);
    const Value result = engine->Run(procedure, {});
    return result.I();
}

constexpr const char16_t* kFib = u"Function Fib(n)\n If n < 2 Then\n  Fib = n\n Else\n"
                                 u"  Fib = Fib(n - 1) + Fib(n - 2)\n End If\nEnd Function";

TEST(Bytecode, ComparisonsMergeWithTheirJumpAndLiterals) {
    EXPECT_EQ(Listing(kFib, u"Fib"), "0 JumpUnlessVarLtInt 0 2 10\n"
                                     "4 LoadRef 0\n"
                                     "6 StoreReturn 1\n"
                                     "8 Return\n" // was a Jump to the Return
                                     "9 Nop\n"
                                     "10 LoadSubInt 0 1\n"
                                     "13 CallProc 0 1\n"
                                     "16 LoadSubInt 0 2\n"
                                     "19 CallProc 0 1\n"
                                     "22 Add\n"
                                     "23 StoreReturn 1\n"
                                     "25 Return\n"); // still reached by the jump over the Else
    const std::string between =
        Listing(u"Function Max(a, b)\n If a >= b Then Max = a Else Max = b\nEnd Function", u"Max");
    EXPECT_NE(between.find("JumpUnlessGe "), std::string::npos) << between;
}

TEST(Bytecode, NothingMergesAcrossALabel) {
    // The Do loop's top is a label between PushInt and the loop's own code.
    const std::string listing = Listing(u"Function F\n Dim i\n i = 1\n Do\n  i = i + 1\n Loop Until i > 5\n"
                                        u" F = i\nEnd Function",
                                        u"F");
    EXPECT_NE(listing.find("AddTo"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("JumpUnless"), std::string::npos) << listing; // Until jumps when true
    EXPECT_NE(listing.find("Gt\n"), std::string::npos) << listing;
}

TEST(Bytecode, CountingLoopsReadTheirVariablesDirectly) {
    // Locals in a procedure: the counter's own Next, the accumulator, a(i)
    // and v + w read from their slots.
    const std::string local =
        Listing(u"Function F(n)\n Dim a(9), i, s, t\n For i = 0 To n\n"
                u"  t = i + n\n  s = s + a(i)\n  s = s + t\n Next\n F = s\nEnd Function",
                u"F");
    // s = s + a(i) in one instruction, before the general code it skips
    // (8 words, to the next statement); the last sum takes the Next after
    // it along.
    for (const char* op : {"ForNextLocal ", "AddElemToAt 4 2 3 8\n29 LoadLocal 4\n31 LoadElemAt ",
                           "AddToAtNext 4 5\n40 ForNextLocal"})
        EXPECT_NE(local.find(op), std::string::npos) << op << "\n" << local;
    // a(i) = v + w: the index, the sum and the store in one, after the
    // sum's own merge.
    const std::string store =
        Listing(u"Sub S(n)\n Dim a(9), i, k\n For i = 0 To 9\n  a(i) = i + k\n Next\nEnd Sub", u"S");
    EXPECT_NE(store.find("StoreAddElemAt 2 3 3 4\n"), std::string::npos) << store;
    EXPECT_EQ(local.find("ForNext "), std::string::npos) << local;
    // A ByRef parameter's counter keeps the general form.
    const std::string byRef = Listing(u"Sub S(k)\n For k = 1 To 3 : Next\nEnd Sub", u"S");
    EXPECT_NE(byRef.find("ForNext 1 "), std::string::npos) << byRef;
    EXPECT_EQ(RunLong(u"Function F(n)\n Dim a(9), i, s\n For i = 0 To 9 : a(i) = i * n : Next\n"
                      u" For i = 9 To 0 Step -1 : s = s + a(i) : Next\n F = s + i\nEnd Function\n"
                      u"Function Go : Go = F(3) : End Function",
                      u"Go"),
              134);
}

TEST(Bytecode, UnknownWordsAreListedNotSkipped) {
    Procedure proc;
    proc.code = {static_cast<std::int32_t>(Op::PushInt), 7, 9999, static_cast<std::int32_t>(Op::Return)};
    EXPECT_EQ(Disassemble(proc), "0 PushInt 7\n2 ?9999\n3 Return\n");
}

TEST(Interpreter, FusedInstructionsKeepTheGeneralMeaning) {
    // A variable plus or minus a literal, when the variable is not a number,
    // and a result stored just before the Return that other paths jump to.
    EXPECT_EQ(RunLong(u"Function F(s)\n Dim t : t = s & \"0\"\n If s = \"\" Then Exit Function\n"
                      u" F = t - 1\nEnd Function\nFunction Go : Go = CLng(F(\"4\") + F(\"\")) : End Function",
                      u"Go"),
              39);
    const std::string listing =
        Listing(u"Function F(a)\n If a > 5 Then Exit Function\n F = a + 2\nEnd Function", u"F");
    EXPECT_NE(listing.find("LoadAddInt"), std::string::npos) << listing;
    EXPECT_NE(listing.find("StoreReturn"), std::string::npos) << listing;
    EXPECT_EQ(RunLong(u"Function F(a)\n If a > 5 Then Exit Function\n F = a + 2\nEnd Function\n"
                      u"Function Go : Go = F(1) * 10 + IsEmpty(F(9)) : End Function",
                      u"Go"),
              29);
    // Null and Empty against a literal: the general comparison.
    EXPECT_EQ(
        RunLong(u"Function Small(n)\n If n < 2 Then Small = 1 Else Small = 0\nEnd Function\n"
                u"Function Go : Go = Small(1) * 1000 + Small(5) * 100 + Small(Empty) * 10 + Small(Null)\n"
                u"End Function",
                u"Go"),
        1010);
    auto engine = Engine::Create();
    engine->AddCode(u"Function Dec(x)\n Dec = x - 1\nEnd Function");
    const Value text[] = {Value::String(u"abc")};
    try {
        engine->Run(u"Dec", text);
        ADD_FAILURE() << "no error";
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.number, kErrTypeMismatch);
        EXPECT_EQ(error.pos.line, 2u);
    }
}

TEST(Interpreter, RunsRecursionLoopsAndErrors) {
    EXPECT_EQ(RunLong(std::u16string(kFib) + u"\nFunction Go : Go = Fib(20) : End Function", u"Go"), 6765);
    EXPECT_EQ(RunLong(u"Function Sum\n Dim i, s\n For i = 1 To 100 Step 3\n  If i Mod 2 = 0 Then s = s + i\n"
                      u" Next\n Sum = s\nEnd Function",
                      u"Sum"),
              884);
    // A runtime error unwinds to the handler of the procedure that set one.
    EXPECT_EQ(RunLong(u"Function Inner : Inner = 1 / 0 : End Function\n"
                      u"Function Outer\n On Error Resume Next\n Outer = 5\n Outer = Inner() + 1\n"
                      u" Outer = Outer * 10 + Err.Number\nEnd Function",
                      u"Outer"),
              61);
    auto engine = Engine::Create();
    engine->AddCode(u"Function Fails\n Dim x\n x = 1\n Fails = x / 0\nEnd Function");
    try {
        engine->Run(u"Fails", {});
        ADD_FAILURE() << "no error";
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.number, kErrDivisionByZero);
        EXPECT_EQ(error.pos.line, 4u);
    }
}

} // namespace

namespace {

TEST(ErrorTable, NumbersNamesAndTextsComeFromOneTable) {
    EXPECT_EQ(ErrorText(kErrDivisionByZero), u"Division par zéro");
    EXPECT_EQ(ErrorText(kErrExpectedRBracket), u"']' attendu");
    EXPECT_EQ(ErrorText(kErrScriptStopped), u"Script arrêté : délai d'exécution dépassé");
    EXPECT_EQ(ErrorText(4242), u"Erreur d'exécution inconnue");
    const ScriptError compile(kErrSyntax);
    EXPECT_TRUE(compile.compile);
    EXPECT_EQ(compile.source, kCompileErrorSource);
    const ScriptError runtime(kErrRegExpSyntax, u"Pattern");
    EXPECT_FALSE(runtime.compile);
    EXPECT_EQ(runtime.description, u"Erreur de syntaxe dans l'expression régulière: 'Pattern'");
}

} // namespace
