#pragma once
// The syntax tree the parser builds and the compiler walks once.
#include <memory>
#include <string>
#include <vector>

#include "lexer.h"
#include "value.h"

namespace zorv::vbs {

enum class ExprKind {
    Literal,
    Name, // a variable, constant, or procedure called without arguments
    Me,
    Member,  // left.name; left null inside With (".name")
    Call,    // left(args): a call, an array element, or a default member
    Unary,   // op left
    Binary,  // left op right
    New,     // New name
    Paren,   // (left): forces by-value passing
    Missing, // an argument left out: f(1, , 3)
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    ExprKind kind;
    SourcePos pos;
    Tok op = Tok::End;
    Value literal;
    std::u16string name;
    ExprPtr left;
    ExprPtr right;
    std::vector<ExprPtr> args;
};

enum class StmtKind {
    Call,    // target: the call (Name, Member or Call expression)
    Assign,  // target = value
    Set,     // Set target = value
    Dim,     // dims
    ReDim,   // dims, preserve
    Const,   // consts
    If,      // branches (an empty condition is Else)
    Select,  // value, branches (an empty list is Case Else)
    For,     // target counter, value start, to, step, body
    ForEach, // target element, value collection, body
    Do,      // value condition (may be null), doTest, body
    While,   // value, body
    Exit,    // exitKind
    With,    // value, body
    OnErrorResumeNext,
    OnErrorGoto0,
    Erase, // dims: the arrays, by name
    Stop,
    OptionExplicit,
};

enum class ExitKind { Do, For, Sub, Function, Property };
enum class DoTest { None, PreWhile, PreUntil, PostWhile, PostUntil };

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct DimItem {
    std::u16string name;
    SourcePos pos;
    bool isArray = false;
    std::vector<ExprPtr> bounds; // upper bounds; none for "Dim a()"
};

struct ConstItem {
    std::u16string name;
    SourcePos pos;
    ExprPtr value;
};

struct Branch {
    ExprPtr condition;           // If/ElseIf
    std::vector<ExprPtr> values; // Case
    bool isElse = false;
    SourcePos pos;
    Block body;
};

struct Stmt {
    StmtKind kind;
    SourcePos pos;
    SourcePos endPos; // where the statement's text ends, for error positions
    ExprPtr target;
    ExprPtr value;
    ExprPtr to;
    ExprPtr step;
    std::vector<DimItem> dims;
    std::vector<ConstItem> consts;
    std::vector<Branch> branches;
    Block body;
    bool preserve = false;
    ExitKind exitKind = ExitKind::Do;
    DoTest doTest = DoTest::None;
};

enum class ProcKind { Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct Param {
    std::u16string name;
    SourcePos pos;
    bool byRef = true;
    bool isArray = false;
};

struct ProcDecl {
    ProcKind kind = ProcKind::Sub;
    std::u16string name;
    SourcePos pos;
    std::vector<Param> params;
    Block body;
    bool isPublic = true;
    bool isDefault = false;
};

struct FieldDecl {
    DimItem item;
    bool isPublic = true;
};

struct ClassDecl {
    std::u16string name;
    SourcePos pos;
    std::vector<FieldDecl> fields;
    std::vector<std::unique_ptr<ProcDecl>> procs;
    std::vector<ConstItem> consts;
};

// One top-level declaration or statement, in source order.
struct TopItem {
    StmtPtr statement;
    std::unique_ptr<ProcDecl> proc;
    std::unique_ptr<ClassDecl> cls;
    bool isPublicDim = false; // for Public/Private variable lists at script level
};

struct ScriptAst {
    std::vector<TopItem> items;
    bool optionExplicit = false;
};

} // namespace zorv::vbs
