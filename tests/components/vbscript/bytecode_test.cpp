// What the compiler makes of small procedures, read through the disassembler.
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

TEST(Bytecode, RecursiveFunction) {
    const std::string listing = Listing(u"Function Fib(n)\n If n < 2 Then\n  Fib = n\n Else\n"
                                        u"  Fib = Fib(n - 1) + Fib(n - 2)\n End If\nEnd Function",
                                        u"Fib");
    std::cout << listing;
}

} // namespace
