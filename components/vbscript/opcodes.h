#pragma once
// The instruction set, in one table: name, operand count and stack effect
// (in terms of the operands a, b, c). The enum, the names, the operand
// counts for the disassembler and the compiler's stack accounting are all
// generated from it.
#include <cstdint>
#include <string_view>

namespace zorv::vbs {

// Where a variable lives: a slot of the frame, a ByRef parameter slot (which
// may hold a reference), a script global, a field of Me, or a name resolved
// at run time (the operand is then a name site of the procedure), or a slot
// of the procedure that ran Execute or Eval on this code.
enum class Place : std::int32_t { Local, Ref, Global, Field, Name, Outer };

#define VBS_OPCODES(X)                                                                                       \
    X(Pop, 0, -1)                                                                                            \
    X(PushConst, 1, 1) /* constant index */                                                                  \
    X(PushInt, 1, 1)   /* an Integer literal */                                                              \
    X(PushEmpty, 0, 1)                                                                                       \
    X(PushMissing, 0, 1)                                                                                     \
    X(LoadLocal, 1, 1)                                                                                       \
    X(StoreLocal, 1, -1)                                                                                     \
    X(LoadRef, 1, 1) /* a ByRef parameter's slot, followed if it holds a reference */                        \
    X(LoadGlobal, 1, 1)                                                                                      \
    X(StoreGlobal, 1, -1)                                                                                    \
    X(Load, 2, 1)      /* place, operand */                                                                  \
    X(Store, 2, -1)    /* place, operand: Let */                                                             \
    X(SetStore, 2, -1) /* place, operand: Set */                                                             \
    X(Addr, 2, 1)      /* place, operand: pushes a reference to the variable */                              \
    X(LoadMe, 0, 1)                                                                                          \
    X(Add, 0, -1)                                                                                            \
    X(Sub, 0, -1)                                                                                            \
    X(Mul, 0, -1)                                                                                            \
    X(Div, 0, -1)                                                                                            \
    X(IntDiv, 0, -1)                                                                                         \
    X(Mod, 0, -1)                                                                                            \
    X(Pow, 0, -1)                                                                                            \
    X(Concat, 0, -1)                                                                                         \
    X(Neg, 0, 0)                                                                                             \
    X(Not, 0, 0)                                                                                             \
    X(And, 0, -1)                                                                                            \
    X(Or, 0, -1)                                                                                             \
    X(Xor, 0, -1)                                                                                            \
    X(Eqv, 0, -1)                                                                                            \
    X(Imp, 0, -1)                                                                                            \
    X(Eq, 0, -1)                                                                                             \
    X(Ne, 0, -1)                                                                                             \
    X(Lt, 0, -1)                                                                                             \
    X(Gt, 0, -1)                                                                                             \
    X(Le, 0, -1)                                                                                             \
    X(Ge, 0, -1)                                                                                             \
    X(Is, 0, -1)                                                                                             \
    X(AddInt, 1, 0)     /* top + an Integer literal */                                                       \
    X(SubInt, 1, 0)     /* top - an Integer literal */                                                       \
    X(LoadAddInt, 2, 1) /* slot, literal: a local or ByRef parameter + an Integer literal */                 \
    X(LoadSubInt, 2, 1) /* slot, literal: a local or ByRef parameter - an Integer literal */                 \
    X(AppendTo, 2, -1)  /* place, operand: v = v & top, in place */                                          \
    X(AddAt, 2, 1)      /* direct, direct: pushes v + w (direct: a local slot, or ~slot for a global) */     \
    X(SubAt, 2, 1)      /* direct, direct: pushes v - w */                                                   \
    X(AddToAt, 2, 0)    /* direct, direct: v = v + w */                                                      \
    X(AddToAtNext, 2,                                                                                        \
      0) /* direct, direct: AddToAt, and the ForNextLocal/Global after it when both are plain */             \
    X(LoadElemAt, 2, 1)     /* direct, direct: pushes a(i), the variable's element at the other's value */   \
    X(AddElemToAt, 4, 0)    /* direct v, a, i, skip: v = v + a(i), or the general code after */              \
    X(StoreAddElemAt, 4, 0) /* direct a, i, v, w: a(i) = v + w */                                            \
    X(AddTo, 2, -1)         /* place, operand: v = v + top */                                                \
    X(AddVarTo, 4, 0)       /* place, operand, place, operand: v = v + w, both plain variables */            \
    X(Jump, 1, 0)           /* absolute target */                                                            \
    X(JumpIfFalse, 1, -1)                                                                                    \
    X(JumpIfTrue, 1, -1)                                                                                     \
    X(JumpUnlessEq, 1, -2) /* a comparison and JumpIfFalse in one */                                         \
    X(JumpUnlessNe, 1, -2)                                                                                   \
    X(JumpUnlessLt, 1, -2)                                                                                   \
    X(JumpUnlessGt, 1, -2)                                                                                   \
    X(JumpUnlessLe, 1, -2)                                                                                   \
    X(JumpUnlessGe, 1, -2)                                                                                   \
    X(JumpUnlessEqInt, 2, -1) /* literal, target: a comparison with an Integer literal, and the jump */      \
    X(JumpUnlessNeInt, 2, -1)                                                                                \
    X(JumpUnlessLtInt, 2, -1)                                                                                \
    X(JumpUnlessGtInt, 2, -1)                                                                                \
    X(JumpUnlessLeInt, 2, -1)                                                                                \
    X(JumpUnlessGeInt, 2, -1)                                                                                \
    X(JumpUnlessVarEqInt, 3, 0) /* slot, literal, target: a local or ByRef parameter against a literal */    \
    X(JumpUnlessVarNeInt, 3, 0)                                                                              \
    X(JumpUnlessVarLtInt, 3, 0)                                                                              \
    X(JumpUnlessVarGtInt, 3, 0)                                                                              \
    X(JumpUnlessVarLeInt, 3, 0)                                                                              \
    X(JumpUnlessVarGeInt, 3, 0)                                                                              \
    X(Nop, 0, 0)              /* fills the word a Jump to a Return leaves behind */                          \
    X(LoopBack, 1, 0)         /* a backward jump: the place to check for a runaway script */                 \
    X(ForPrep, 4, -3)         /* place, operand, temp, exit: start, end, step on the stack */                \
    X(ForNext, 4, 0)          /* place, operand, temp, body */                                               \
    X(ForNextLocal, 3, 0)     /* slot, temp, back: on a local, the body `back` words before */               \
    X(ForNextGlobal, 3, 0)    /* slot, temp, back: on a script global */                                     \
    X(ForEachPrep, 2, -1)     /* temp, exit: the collection on the stack */                                  \
    X(ForEachNext, 2, 1)      /* temp, exit: pushes the next element or jumps to exit */                     \
    X(CallProc, 2, 1 - b)     /* procedure, argc */                                                          \
    X(CallMethodMe, 2, 1 - b) /* procedure of Me's class, argc */                                            \
    X(CallBuiltin, 2, 1 - b)  /* builtin, argc */                                                            \
    X(CallName, 2, 1 - b)     /* name site, argc */                                                          \
    X(Index, 1, -a)           /* argc: callee below the arguments */                                         \
    X(LoadElem, 2, 0)         /* place, operand: the variable's element at the index on top (a(i)) */        \
    X(StoreElem, 2, -2)       /* place, operand: index, value: a(i) = value */                               \
    X(ElemAddr, 1, -a)        /* argc: like Index, but an array element becomes a reference (ByRef) */       \
    X(MemberGet, 3, -b)       /* name site, argc, as call: object below the arguments */                     \
    X(MemberPut, 3, -b - 2)   /* name site, argc, set: object, arguments, value */                           \
    X(IndexStore, 2, -a - 2)  /* argc, set: target reference or value, arguments, value */                   \
    X(New, 1, 1)              /* name site of the class */                                                   \
    X(Return, 0, 0)                                                                                          \
    X(StoreReturn, 1,                                                                                        \
      -1) /* result slot: StoreLocal then Return, written over a StoreLocal before a Return */               \
    X(OnErrorResumeNext, 0, 0)                                                                               \
    X(OnErrorGoto0, 0, 0)                                                                                    \
    X(DimArray, 3, -c)   /* place, operand, dims: upper bounds on the stack */                               \
    X(ReDim, 4, -c)      /* place, operand, dims, preserve */                                                \
    X(Erase, 2, 0)       /* place, operand */                                                                \
    X(Undefined, 1, 0)   /* name site: Option Explicit and an undeclared name */                             \
    X(ObjectCheck, 0, 0) /* With: the value must be an object */                                             \
    X(Raise, 1, 1)       /* raises the error numbered a (".name" outside With) */

enum class Op : std::int32_t {
#define VBS_OP_ENUM(name, operands, effect) name,
    VBS_OPCODES(VBS_OP_ENUM)
#undef VBS_OP_ENUM
};

inline constexpr int kOperandCount[] = {
#define VBS_OP_OPERANDS(name, operands, effect) operands,
    VBS_OPCODES(VBS_OP_OPERANDS)
#undef VBS_OP_OPERANDS
};

// Code words an instruction takes, its own included: how far pc moves past it.
inline constexpr std::int32_t kWidth[] = {
#define VBS_OP_WIDTH(name, operands, effect) 1 + (operands),
    VBS_OPCODES(VBS_OP_WIDTH)
#undef VBS_OP_WIDTH
};

inline constexpr std::string_view kOpName[] = {
#define VBS_OP_NAME(name, operands, effect) #name,
    VBS_OPCODES(VBS_OP_NAME)
#undef VBS_OP_NAME
};

inline int StackEffect(Op op, int a, int b, int c) {
    (void)a;
    (void)b;
    (void)c;
    switch (op) {
#define VBS_OP_EFFECT(name, operands, effect)                                                                \
    case Op::name:                                                                                           \
        return effect;
        VBS_OPCODES(VBS_OP_EFFECT)
#undef VBS_OP_EFFECT
    }
    return 0;
}

} // namespace zorv::vbs
