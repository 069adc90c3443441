#pragma once
// The runtime library: every built-in function and constant in one table,
// found by name at compile time.
#include <cstdint>
#include <span>
#include <string_view>

#include "value.h"

namespace zorv::vbs {

class Interpreter;

// Arguments arrive as plain values (references already followed); a
// left-out optional argument is Missing.
using BuiltinFunction = Value (*)(Interpreter& vm, std::span<Value> args);

struct Builtin {
    std::u16string_view name;
    std::int8_t minArgs;
    std::int8_t maxArgs;
    BuiltinFunction function;
};

// The index of a built-in function, or -1.
int FindBuiltin(std::u16string_view name);
const Builtin& BuiltinAt(int index);
// An instance of a class of the runtime library (RegExp), or Empty.
Value NewBuiltinClass(std::u16string_view name);
// A vb... constant, or null.
const Value* FindBuiltinConstant(std::u16string_view name);

} // namespace zorv::vbs
