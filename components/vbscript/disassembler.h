#pragma once
// A readable listing of a procedure's bytecode, one instruction a line
// ("12 CallProc 3 1"), built from the opcode table alone.
#include <string>

#include "program.h"

namespace zorv::vbs {

std::string Disassemble(const Procedure& proc);

} // namespace zorv::vbs
