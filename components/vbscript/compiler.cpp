#include "compiler.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "builtins.h"
#include "conversion.h"
#include "operators.h"
#include "platform/com/text.h"

namespace zorv::vbs {
namespace {

struct CompileFailure {
    ScriptError error;
};

// Where a name was found.
enum class Found { Local, Ref, Global, Field, Outer, Constant, Procedure, Method, Builtin, Unknown };

struct Resolution {
    Found kind = Found::Unknown;
    int index = 0;
    Value constant;
};

struct LocalSymbol {
    int slot = 0;
    bool isRef = false;
    bool isConst = false;
    Value constant;
};

struct LoopLabels {
    bool isFor;
    std::vector<int> exits;
};

constexpr std::int32_t kRawStore = 0x100; // Store without Let's default-value rule

class ProcedureCompiler;

class ScriptCompiler {
public:
    ScriptCompiler(Program& program, std::shared_ptr<const std::u16string> source,
                   std::vector<ScriptError>& errors)
        : program_(program), source_(std::move(source)), errors_(errors) {}

    Procedure* Script(const ScriptAst& ast, std::unique_ptr<Procedure>* standalone = nullptr,
                      const DynamicScope* scope = nullptr);
    Procedure* Evaluation(const Expr& expr, std::unique_ptr<Procedure>* standalone = nullptr,
                          const DynamicScope* scope = nullptr);
    void CompilePending();

    Program& program_;
    std::shared_ptr<const std::u16string> source_;
    std::vector<ScriptError>& errors_;
    std::unordered_map<const ClassInfo*, std::unordered_map<std::u16string, Value>> classConstants_;

    Procedure* NewProcedure(std::u16string name) {
        auto proc = std::make_unique<Procedure>();
        proc->name = std::move(name);
        proc->source = source_;
        program_.procedures.push_back(std::move(proc));
        return program_.procedures.back().get();
    }

    void Fail(int number, SourcePos pos, std::u16string_view detail = {}) {
        ScriptError error(number, detail);
        error.compile = true;
        error.pos = pos;
        error.positioned = true;
        throw CompileFailure{error};
    }

    void Record(const CompileFailure& failure) {
        if (errors_.size() < 100)
            errors_.push_back(failure.error);
    }

    void DeclareGlobal(const std::u16string& name) {
        const std::u16string key = Folded(name);
        if (program_.symbols.count(key) == 0)
            program_.symbols[key] = Symbol{SymbolKind::Variable, program_.globals.Add(), {}};
    }

    void Declare(const ScriptAst& ast);
    void DeclareClass(const ClassDecl& decl);
    Procedure* DeclareProcedure(const ProcDecl& decl, ClassInfo* owner);
    void CompileClass(const ClassDecl& decl);
    Value ConstantValue(const Expr& expr);

    std::vector<std::pair<const ProcDecl*, Procedure*>> pending_;
    bool localScope_ = false; // Execute inside a procedure: its Dims are its own
    std::vector<std::pair<const ClassDecl*, ClassInfo*>> pendingClasses_;
};

// Compiles the body of one procedure (or the top-level statements).
class ProcedureCompiler {
public:
    ProcedureCompiler(ScriptCompiler& script, Procedure& proc, ClassInfo* owner,
                      const Procedure* caller = nullptr)
        : s_(script), proc_(proc), owner_(owner), caller_(caller) {}

    void Parameters(const ProcDecl& decl);
    void Body(const Block& body, bool topLevel);
    void Evaluate(const Expr& expr);
    void HoistTopLevel(const Block& statements);

private:
    // ---- emission ----
    // Asking where the code is makes that place a label: no instruction is
    // later merged across it.
    int Here() {
        barrier_ = Size();
        return barrier_;
    }
    int Size() const { return static_cast<int>(proc_.code.size()); }
    void Emit(Op op, std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0, std::int32_t d = 0) {
        if (!Fused(op, a, b))
            Append(op, a, b, c, d);
    }
    void Append(Op op, std::int32_t a = 0, std::int32_t b = 0, std::int32_t c = 0, std::int32_t d = 0) {
        const std::int32_t operands[] = {a, b, c, d};
        earlierStart_ = previousStart_;
        earlierDepth_ = previousDepth_;
        previousStart_ = lastStart_;
        previousDepth_ = lastDepth_;
        lastStart_ = Size();
        lastDepth_ = depth_;
        proc_.code.push_back(static_cast<std::int32_t>(op));
        proc_.positions.push_back(pos_);
        for (int i = 0; i < kOperandCount[static_cast<int>(op)]; ++i) {
            proc_.code.push_back(operands[i]);
            proc_.positions.push_back(pos_);
        }
        depth_ += StackEffect(op, a, b, c);
        proc_.maxStack = std::max(proc_.maxStack, depth_ + 1);
        ChargeCodeGrowth();
    }
    // Charged when the vectors grow, so a huge script meets the memory
    // bound while compiling, at the line reached, not after.
    void ChargeCodeGrowth() {
        const std::size_t held = HeapFootprint(proc_.code.capacity() * sizeof(std::int32_t)) +
                                 HeapFootprint(proc_.positions.capacity() * sizeof(SourcePos));
        if (held <= proc_.memory.Held())
            return;
        try {
            proc_.memory.Charge(held - proc_.memory.Held());
        } catch (ScriptError& error) {
            error.pos = pos_;
            throw;
        }
    }
    bool Fused(Op op, std::int32_t a, std::int32_t b);
    bool FusedDirect(Op op, std::int32_t a, std::int32_t b);
    bool FusedElementStore(Place place, int operand);
    void Replace(int from, int depthBefore, SourcePos at, Op op, std::int32_t a, std::int32_t b = 0,
                 std::int32_t c = 0, std::int32_t d = 0);
    void ThreadJumps();
    int EmitJump(Op op) {
        Emit(op, -1);
        return Here() - 1;
    }
    void PatchHere(int at) { proc_.code[at] = Here(); }
    int Constant(Value value) {
        proc_.constants.push_back(std::move(value));
        return static_cast<int>(proc_.constants.size() - 1);
    }
    int Site(const std::u16string& name) {
        NameSite site;
        site.name = name;
        proc_.sites.push_back(std::move(site));
        return static_cast<int>(proc_.sites.size() - 1);
    }
    int Temp() { return proc_.localCount++; }
    int lastStart_ = -1; // the last instruction emitted, and the stack depth before it
    int lastDepth_ = 0;
    int previousStart_ = -1; // and the one before it
    int previousDepth_ = 0;
    int earlierStart_ = -1; // and the one before that
    int earlierDepth_ = 0;
    int barrier_ = 0;
    int selfSlot_ = -1; // the variable named after the procedure
    // Code from start to here is one statement for On Error Resume Next:
    // an error in it goes on after it. Answers the range's index, or -1.
    int Resumable(int start) {
        const int end = Here();
        if (end <= start)
            return -1;
        const auto at = static_cast<std::uint32_t>(start);
        const auto after = static_cast<std::uint32_t>(end);
        proc_.resumes.push_back({at, after, after});
        return static_cast<int>(proc_.resumes.size() - 1);
    }
    // A loop's own condition: an error in it goes on after the whole loop.
    void ResumeHere(int range) {
        if (range >= 0)
            proc_.resumes[range].resume = static_cast<std::uint32_t>(Here());
    }

    // ---- names ----
    Resolution Resolve(const std::u16string& name);
    void DeclareLocal(const std::u16string& name, SourcePos pos);
    void HoistLocals(const Block& body);
    void HoistAssigned(const Block& body, bool topLevel);
    void HoistName(const Expr* target, bool topLevel);
    bool PlaceOf(const Resolution& r, Place& place, int& operand);
    void PlaceForTarget(const std::u16string& name, SourcePos pos, Place& place, int& operand);

    // ---- statements ----
    void Statement(const Stmt& stmt);
    void Statements(const Block& block) {
        for (const auto& stmt : block) {
            try {
                Statement(*stmt);
            } catch (const CompileFailure& failure) {
                s_.Record(failure);
            }
        }
    }
    void CallStatement(const Stmt& stmt);
    void Assignment(const Stmt& stmt, bool isSet);
    void DimStatement(const Stmt& stmt);
    void ReDimStatement(const Stmt& stmt);
    void ConstStatement(const Stmt& stmt);
    void IfStatement(const Stmt& stmt);
    void SelectStatement(const Stmt& stmt);
    void ForStatement(const Stmt& stmt);
    void ForEachStatement(const Stmt& stmt);
    void DoStatement(const Stmt& stmt);
    void WhileStatement(const Stmt& stmt);
    void ExitStatement(const Stmt& stmt);
    void WithStatement(const Stmt& stmt);
    void EraseStatement(const Stmt& stmt);
    void ExitLoop(bool isFor, SourcePos pos);
    void StoreTo(const std::u16string& name, SourcePos pos, bool isSet, bool raw = false);
    bool AppendChain(const Expr& target, const Expr& value);
    bool AddToSelf(const Expr& target, const Expr& value);
    int ElementSumGuard(const Expr& target, const Expr& value);
    bool DirectName(const Expr& expr, std::int32_t& direct);
    bool Harmless(const Expr& expr, const std::u16string& target);

    // ---- expressions ----
    void Expression(const Expr& expr);
    void NameValue(const Expr& expr);
    void Call(const Expr& expr, bool asStatement);
    void Arguments(const std::vector<ExprPtr>& args, const Procedure* callee);
    void Argument(const Expr& arg, bool byRef);
    void WithObject(SourcePos pos);
    void Binary(const Expr& expr);

    ScriptCompiler& s_;
    Procedure& proc_;
    ClassInfo* owner_;
    const Procedure* caller_; // Execute or Eval inside a procedure: its locals are reachable
    std::unordered_map<std::u16string, LocalSymbol> locals_;
    // Names a Dim run by Execute gives to the calling procedure's frame.
    std::unordered_set<std::u16string> frameNames_;
    std::vector<int> withTemps_;
    std::vector<LoopLabels> loops_;
    SourcePos pos_;
    int depth_ = 0;
    bool topLevel_ = false;
};

// ---------------------------------------------------------------- emission

namespace {

// Comparison opcodes and their fused compare-and-jump forms, in one order.
constexpr Op kComparisons[] = {Op::Eq, Op::Ne, Op::Lt, Op::Gt, Op::Le, Op::Ge};
constexpr Op kJumpUnless[] = {Op::JumpUnlessEq, Op::JumpUnlessNe, Op::JumpUnlessLt,
                              Op::JumpUnlessGt, Op::JumpUnlessLe, Op::JumpUnlessGe};
constexpr Op kJumpUnlessInt[] = {Op::JumpUnlessEqInt, Op::JumpUnlessNeInt, Op::JumpUnlessLtInt,
                                 Op::JumpUnlessGtInt, Op::JumpUnlessLeInt, Op::JumpUnlessGeInt};
constexpr Op kJumpUnlessVarInt[] = {Op::JumpUnlessVarEqInt, Op::JumpUnlessVarNeInt, Op::JumpUnlessVarLtInt,
                                    Op::JumpUnlessVarGtInt, Op::JumpUnlessVarLeInt, Op::JumpUnlessVarGeInt};

bool IsVariableLoad(std::int32_t op) {
    return op == static_cast<int>(Op::LoadLocal) || op == static_cast<int>(Op::LoadRef);
}

// A load of a local or a script global: its slot as a direct operand.
bool DirectLoad(const std::vector<std::int32_t>& code, int at, std::int32_t& direct) {
    if (code[at] == static_cast<int>(Op::LoadLocal)) {
        direct = code[at + 1];
        return true;
    }
    if (code[at] == static_cast<int>(Op::LoadGlobal)) {
        direct = ~code[at + 1];
        return true;
    }
    return false;
}

// A local or a script global as a direct operand.
bool DirectPlace(Place place, int operand, std::int32_t& direct) {
    if (place == Place::Local || place == Place::Global) {
        direct = place == Place::Local ? operand : ~operand;
        return true;
    }
    return false;
}

} // namespace

// Peephole: `PushInt k` then Add or Sub becomes AddInt or SubInt k, and a
// comparison then JumpIfFalse one compare-and-jump (taking the literal too
// when the comparison's right side is one), when no label lies between
// them. The merged instruction keeps the comparison's position, so errors
// point where they did.
bool ProcedureCompiler::Fused(Op op, std::int32_t a, std::int32_t b) {
    if (lastStart_ < 0 || lastStart_ < barrier_)
        return false;
    if (FusedDirect(op, a, b))
        return true;
    const Op last = static_cast<Op>(proc_.code[lastStart_]);
    if (last == Op::PushInt && (op == Op::Add || op == Op::Sub)) {
        const std::int32_t literal = proc_.code[lastStart_ + 1];
        const bool variable =
            previousStart_ >= barrier_ && previousStart_ >= 0 && IsVariableLoad(proc_.code[previousStart_]);
        if (variable) {
            // A variable and the literal: one instruction for n - 1 and the like.
            const std::int32_t slot = proc_.code[previousStart_ + 1];
            Replace(previousStart_, previousDepth_, pos_, op == Op::Add ? Op::LoadAddInt : Op::LoadSubInt,
                    slot, literal);
        } else {
            Replace(lastStart_, lastDepth_, pos_, op == Op::Add ? Op::AddInt : Op::SubInt, literal);
        }
        return true;
    }
    if (op != Op::JumpIfFalse)
        return false;
    const auto* found = std::find(std::begin(kComparisons), std::end(kComparisons), last);
    if (found == std::end(kComparisons))
        return false;
    const auto which = found - std::begin(kComparisons);
    const SourcePos at = proc_.positions[lastStart_];
    if (previousStart_ >= barrier_ && previousStart_ >= 0 &&
        proc_.code[previousStart_] == static_cast<int>(Op::PushInt)) {
        const std::int32_t literal = proc_.code[previousStart_ + 1];
        if (earlierStart_ >= barrier_ && earlierStart_ >= 0 && IsVariableLoad(proc_.code[earlierStart_])) {
            // If n < 2: the variable, the literal and the jump in one.
            const std::int32_t slot = proc_.code[earlierStart_ + 1];
            Replace(earlierStart_, earlierDepth_, at, kJumpUnlessVarInt[which], slot, literal, a);
        } else {
            Replace(previousStart_, previousDepth_, at, kJumpUnlessInt[which], literal, a);
        }
    } else {
        Replace(lastStart_, lastDepth_, at, kJumpUnless[which], a);
    }
    return true;
}

// Loads of two plain variables then Add or Sub: the sum or difference read
// straight from the variables. A load of the index then LoadElem on a plain
// variable: the element read at the variable's index.
bool ProcedureCompiler::FusedDirect(Op op, std::int32_t a, std::int32_t b) {
    if (op == Op::StoreElem)
        return FusedElementStore(static_cast<Place>(a), b);
    std::int32_t last = 0;
    if (!DirectLoad(proc_.code, lastStart_, last))
        return false;
    if (op == Op::LoadElem) {
        std::int32_t array = 0;
        if (!DirectPlace(static_cast<Place>(a), b, array))
            return false;
        Replace(lastStart_, lastDepth_, pos_, Op::LoadElemAt, array, last);
        return true;
    }
    std::int32_t previous = 0;
    if ((op != Op::Add && op != Op::Sub) || previousStart_ < barrier_ || previousStart_ < 0 ||
        !DirectLoad(proc_.code, previousStart_, previous))
        return false;
    Replace(previousStart_, previousDepth_, pos_, op == Op::Add ? Op::AddAt : Op::SubAt, previous, last);
    return true;
}

// a(i) = v + w on plain variables (the index loaded, then AddAt): the
// index, the sum and the store in one instruction. Its first operand word
// keeps the sum's position, where the instruction puts an error of the sum.
bool ProcedureCompiler::FusedElementStore(Place place, int operand) {
    std::int32_t array = 0;
    std::int32_t index = 0;
    if (static_cast<Op>(proc_.code[lastStart_]) != Op::AddAt || previousStart_ < barrier_ ||
        previousStart_ < 0 || !DirectLoad(proc_.code, previousStart_, index) ||
        !DirectPlace(place, operand, array))
        return false;
    const std::int32_t left = proc_.code[lastStart_ + 1];
    const std::int32_t right = proc_.code[lastStart_ + 2];
    const SourcePos sumAt = proc_.positions[lastStart_];
    const int start = previousStart_;
    Replace(start, previousDepth_, pos_, Op::StoreAddElemAt, array, index, left, right);
    proc_.positions[start + 1] = sumAt;
    return true;
}

// Drops the code from `from` on and emits one instruction in its place.
void ProcedureCompiler::Replace(int from, int depthBefore, SourcePos at, Op op, std::int32_t a,
                                std::int32_t b, std::int32_t c, std::int32_t d) {
    // The instruction before the dropped code stays the one before, for a
    // later merge that takes it along (a(i) = v + w: the index load).
    int before = -1;
    int beforeDepth = 0;
    if (from == lastStart_) {
        before = previousStart_;
        beforeDepth = previousDepth_;
    } else if (from == previousStart_) {
        before = earlierStart_;
        beforeDepth = earlierDepth_;
    }
    const SourcePos saved = pos_;
    proc_.code.resize(from);
    proc_.positions.resize(from);
    depth_ = depthBefore;
    pos_ = at;
    Append(op, a, b, c, d);
    previousStart_ = before;
    previousDepth_ = beforeDepth;
    earlierStart_ = -1;
    pos_ = saved;
}

// A Jump whose target is a Return returns at once; the Jump's operand word
// becomes a Nop that nothing reaches. Then a store to the result just
// before a Return becomes StoreReturn, which leaves that Return in place
// for the jumps that reach it.
void ProcedureCompiler::ThreadJumps() {
    auto& code = proc_.code;
    for (std::size_t at = 0; at < code.size(); at += kWidth[code[at]]) {
        if (code[at] == static_cast<int>(Op::Jump) && code[code[at + 1]] == static_cast<int>(Op::Return)) {
            code[at] = static_cast<int>(Op::Return);
            code[at + 1] = static_cast<int>(Op::Nop);
        }
    }
    if (proc_.resultSlot < 0)
        return;
    for (std::size_t at = 0; at + 2 < code.size(); at += kWidth[code[at]]) {
        if (code[at] == static_cast<int>(Op::StoreLocal) && code[at + 1] == proc_.resultSlot &&
            code[at + 2] == static_cast<int>(Op::Return))
            code[at] = static_cast<int>(Op::StoreReturn);
    }
}

// ---------------------------------------------------------------- names

Resolution ProcedureCompiler::Resolve(const std::u16string& name) {
    const std::u16string key = Folded(name);
    Resolution r;
    if (auto local = locals_.find(key); local != locals_.end()) {
        if (local->second.isConst) {
            r.kind = Found::Constant;
            r.constant = local->second.constant;
        } else {
            r.kind = local->second.isRef ? Found::Ref : Found::Local;
            r.index = local->second.slot;
        }
        return r;
    }
    if (frameNames_.count(key))
        return r; // found at run time, in the caller's frame
    if (caller_ != nullptr) {
        for (const LocalName& outer : caller_->localNames) {
            if (outer.folded != key)
                continue;
            r.kind = outer.isConst ? Found::Constant : Found::Outer;
            r.index = outer.slot;
            r.constant = outer.constant;
            return r;
        }
    }
    if (owner_ != nullptr) {
        if (auto c = s_.classConstants_[owner_].find(key); c != s_.classConstants_[owner_].end()) {
            r.kind = Found::Constant;
            r.constant = c->second;
            return r;
        }
        if (auto m = owner_->byName.find(key); m != owner_->byName.end()) {
            const ClassMember& member = owner_->members[m->second];
            r.kind = member.field >= 0 ? Found::Field : Found::Method;
            r.index = member.field >= 0 ? member.field : m->second;
            return r;
        }
    }
    if (auto symbol = s_.program_.symbols.find(key); symbol != s_.program_.symbols.end()) {
        switch (symbol->second.kind) {
        case SymbolKind::Variable:
            r.kind = Found::Global;
            break;
        case SymbolKind::Procedure:
            r.kind = Found::Procedure;
            break;
        case SymbolKind::Constant:
            r.kind = Found::Constant;
            r.constant = symbol->second.constant;
            break;
        case SymbolKind::Class:
            r.kind = Found::Unknown;
            break;
        }
        r.index = symbol->second.index;
        return r;
    }
    if (const Value* constant = FindBuiltinConstant(name)) {
        r.kind = Found::Constant;
        r.constant = *constant;
        return r;
    }
    if (int builtin = FindBuiltin(name); builtin >= 0) {
        r.kind = Found::Builtin;
        r.index = builtin;
    }
    return r;
}

bool ProcedureCompiler::PlaceOf(const Resolution& r, Place& place, int& operand) {
    switch (r.kind) {
    case Found::Local:
        place = Place::Local;
        break;
    case Found::Ref:
        place = Place::Ref;
        break;
    case Found::Global:
        place = Place::Global;
        break;
    case Found::Field:
        place = Place::Field;
        break;
    case Found::Outer:
        place = Place::Outer;
        break;
    default:
        return false;
    }
    operand = r.index;
    return true;
}

void ProcedureCompiler::DeclareLocal(const std::u16string& name, SourcePos pos) {
    const std::u16string key = Folded(name);
    if (topLevel_) {
        s_.DeclareGlobal(name);
        return;
    }
    if (auto found = locals_.find(key); found != locals_.end()) {
        if (found->second.isConst)
            s_.Fail(kErrNameRedefined, pos);
        return;
    }
    if (caller_ != nullptr && caller_->frameNamesSlot >= 0) {
        // Execute in a procedure: the variable outlives this code, in the
        // procedure's frame, unless the procedure has it already.
        const auto& outer = caller_->localNames;
        if (std::none_of(outer.begin(), outer.end(), [&](const LocalName& n) { return n.folded == key; }))
            frameNames_.insert(key);
        return;
    }
    locals_[key] = LocalSymbol{Temp(), false, false, {}};
}

void ProcedureCompiler::PlaceForTarget(const std::u16string& name, SourcePos pos, Place& place,
                                       int& operand) {
    const Resolution r = Resolve(name);
    if (PlaceOf(r, place, operand))
        return;
    if (r.kind == Found::Constant || r.kind == Found::Builtin || r.kind == Found::Procedure ||
        r.kind == Found::Method)
        s_.Fail(kErrIllegalAssignment, pos, name);
    place = Place::Name;
    operand = Site(name);
}

// Dim anywhere in a procedure declares for the whole procedure.
void ProcedureCompiler::HoistLocals(const Block& body) {
    for (const auto& stmt : body) {
        if (stmt->kind == StmtKind::Dim)
            for (const DimItem& item : stmt->dims)
                DeclareLocal(item.name, item.pos);
        if (stmt->kind == StmtKind::Const)
            ConstStatement(*stmt);
        for (const Branch& branch : stmt->branches)
            HoistLocals(branch.body);
        HoistLocals(stmt->body);
    }
}

// Without Option Explicit a name assigned and found nowhere becomes a
// variable of the procedure (or of the script, at top level).
void ProcedureCompiler::HoistName(const Expr* target, bool topLevel) {
    if (target == nullptr || target->kind != ExprKind::Name)
        return;
    if (Resolve(target->name).kind != Found::Unknown)
        return;
    if (topLevel)
        s_.DeclareGlobal(target->name);
    else
        locals_[Folded(target->name)] = LocalSymbol{Temp(), false, false, {}};
}

void ProcedureCompiler::HoistAssigned(const Block& body, bool topLevel) {
    if (s_.program_.optionExplicit)
        return;
    for (const auto& stmt : body) {
        switch (stmt->kind) {
        case StmtKind::Assign:
        case StmtKind::Set:
        case StmtKind::For:
        case StmtKind::ForEach:
            HoistName(stmt->target.get(), topLevel);
            break;
        case StmtKind::ReDim:
            for (const DimItem& item : stmt->dims)
                if (Resolve(item.name).kind == Found::Unknown) {
                    if (topLevel)
                        s_.DeclareGlobal(item.name);
                    else
                        locals_[Folded(item.name)] = LocalSymbol{Temp(), false, false, {}};
                }
            break;
        default:
            break;
        }
        for (const Branch& branch : stmt->branches)
            HoistAssigned(branch.body, topLevel);
        HoistAssigned(stmt->body, topLevel);
    }
}

void ProcedureCompiler::HoistTopLevel(const Block& statements) {
    topLevel_ = true;
    HoistLocals(statements);
    HoistAssigned(statements, true);
}

// ---------------------------------------------------------------- procedures

void ProcedureCompiler::Parameters(const ProcDecl& decl) {
    for (const Param& param : decl.params) {
        const std::u16string key = Folded(param.name);
        if (locals_.count(key))
            s_.Fail(kErrNameRedefined, param.pos);
        locals_[key] = LocalSymbol{Temp(), param.byRef, false, {}};
    }
    if (decl.kind == ProcKind::Function || decl.kind == ProcKind::PropertyGet) {
        proc_.resultSlot = Temp();
        selfSlot_ = proc_.resultSlot;
    } else if (!locals_.count(Folded(decl.name))) {
        // A Sub may assign to its own name; the value goes nowhere.
        selfSlot_ = Temp();
    }
    if (selfSlot_ >= 0)
        locals_[Folded(decl.name)] = LocalSymbol{selfSlot_, false, false, {}};
}

// Whether a procedure's body calls Execute by name (Execute code, Execute(code)).
static bool CallsExecute(const Block& body) {
    for (const auto& stmt : body) {
        if (stmt->kind == StmtKind::Call && stmt->target) {
            const Expr* callee = stmt->target.get();
            if (callee->kind == ExprKind::Call && callee->left)
                callee = callee->left.get();
            if (callee->kind == ExprKind::Name && com::EqualsIgnoringCase(callee->name, u"Execute"))
                return true;
        }
        for (const Branch& branch : stmt->branches)
            if (CallsExecute(branch.body))
                return true;
        if (CallsExecute(stmt->body))
            return true;
    }
    return false;
}

void ProcedureCompiler::Body(const Block& body, bool topLevel) {
    topLevel_ = topLevel;
    if (caller_ != nullptr)
        proc_.outerFrameNamesSlot = caller_->frameNamesSlot;
    else if (!topLevel && CallsExecute(body))
        proc_.frameNamesSlot = Temp();
    if (!topLevel) {
        HoistLocals(body);
        if (caller_ == nullptr)
            HoistAssigned(body, false);
    }
    Statements(body);
    Emit(Op::Return);
    ThreadJumps();
    for (const auto& [key, local] : locals_)
        proc_.localNames.push_back(LocalName{key, local.slot, local.isRef, local.isConst, local.constant});
}

void ProcedureCompiler::Evaluate(const Expr& expr) {
    topLevel_ = true;
    if (caller_ != nullptr)
        proc_.outerFrameNamesSlot = caller_->frameNamesSlot;
    proc_.resultSlot = Temp();
    pos_ = expr.pos;
    Expression(expr);
    Emit(Op::Store, static_cast<int>(Place::Local) | kRawStore, proc_.resultSlot);
    Emit(Op::Return);
}

// ---------------------------------------------------------------- statements

void ProcedureCompiler::Statement(const Stmt& stmt) {
    pos_ = stmt.pos;
    depth_ = 0;
    const int start = Here();
    switch (stmt.kind) {
    case StmtKind::Call:
        CallStatement(stmt);
        break;
    case StmtKind::Assign:
        Assignment(stmt, false);
        break;
    case StmtKind::Set:
        Assignment(stmt, true);
        break;
    case StmtKind::Dim:
        DimStatement(stmt);
        break;
    case StmtKind::ReDim:
        ReDimStatement(stmt);
        break;
    case StmtKind::Const:
        ConstStatement(stmt);
        return;
    case StmtKind::If:
        IfStatement(stmt);
        return;
    case StmtKind::Select:
        SelectStatement(stmt);
        return;
    case StmtKind::For:
        ForStatement(stmt);
        return;
    case StmtKind::ForEach:
        ForEachStatement(stmt);
        return;
    case StmtKind::Do:
        DoStatement(stmt);
        return;
    case StmtKind::While:
        WhileStatement(stmt);
        return;
    case StmtKind::Exit:
        ExitStatement(stmt);
        break;
    case StmtKind::With:
        WithStatement(stmt);
        return;
    case StmtKind::OnErrorResumeNext:
        Emit(Op::OnErrorResumeNext);
        break;
    case StmtKind::OnErrorGoto0:
        Emit(Op::OnErrorGoto0);
        break;
    case StmtKind::Erase:
        EraseStatement(stmt);
        break;
    case StmtKind::OptionExplicit:
    case StmtKind::Stop:
        break;
    }
    Resumable(start);
}

void ProcedureCompiler::CallStatement(const Stmt& stmt) {
    const Expr& target = *stmt.target;
    if (target.kind == ExprKind::Call) {
        Call(target, true);
    } else if (target.kind == ExprKind::Name || target.kind == ExprKind::Member) {
        Expr call;
        call.kind = ExprKind::Call;
        call.pos = target.pos;
        // A borrowed view: the callee is not owned by this temporary.
        call.left.reset(const_cast<Expr*>(&target));
        try {
            Call(call, true);
        } catch (...) {
            call.left.release();
            throw;
        }
        call.left.release();
    } else {
        s_.Fail(kErrExpectedStatement, target.pos);
    }
    Emit(Op::Pop);
}

void ProcedureCompiler::StoreTo(const std::u16string& name, SourcePos pos, bool isSet, bool raw) {
    Place place;
    int operand = 0;
    PlaceForTarget(name, pos, place, operand);
    if (!isSet && !raw && place == Place::Local)
        Emit(Op::StoreLocal, operand);
    else if (!isSet && !raw && place == Place::Global)
        Emit(Op::StoreGlobal, operand);
    else
        Emit(isSet ? Op::SetStore : Op::Store, static_cast<int>(place) | (raw ? kRawStore : 0), operand);
}

// s = s & x on a plain variable appends in place.
static bool IsAppendToSelf(const Expr& target, const Expr& value) {
    return target.kind == ExprKind::Name && value.kind == ExprKind::Binary && value.op == Tok::Amp &&
           value.left->kind == ExprKind::Name && com::EqualsIgnoringCase(value.left->name, target.name);
}

// Reads nothing of `target` and calls no script code, so it can be evaluated
// after earlier pieces were appended.
bool ProcedureCompiler::Harmless(const Expr& expr, const std::u16string& target) {
    switch (expr.kind) {
    case ExprKind::Literal:
        return true;
    case ExprKind::Name: {
        if (com::EqualsIgnoringCase(expr.name, target))
            return false;
        const Found kind = Resolve(expr.name).kind;
        return kind == Found::Local || kind == Found::Ref || kind == Found::Global ||
               kind == Found::Constant || kind == Found::Outer;
    }
    case ExprKind::Paren:
    case ExprKind::Unary:
        return Harmless(*expr.left, target);
    case ExprKind::Binary:
        return Harmless(*expr.left, target) && Harmless(*expr.right, target);
    case ExprKind::Call:
        if (expr.left->kind != ExprKind::Name || Resolve(expr.left->name).kind != Found::Builtin)
            return false;
        for (const auto& arg : expr.args)
            if (!Harmless(*arg, target))
                return false;
        return true;
    default:
        return false;
    }
}

// s = s & a & b & ...: appends each piece in place, keeping & linear in
// time; pieces that could see s change fall back to the plain evaluation.
bool ProcedureCompiler::AppendChain(const Expr& target, const Expr& value) {
    std::vector<const Expr*> pieces;
    const Expr* e = &value;
    while (e->kind == ExprKind::Binary && e->op == Tok::Amp) {
        pieces.push_back(e->right.get());
        e = e->left.get();
    }
    if (pieces.size() < 2 || e->kind != ExprKind::Name || !com::EqualsIgnoringCase(e->name, target.name))
        return false;
    for (const Expr* piece : pieces)
        if (!Harmless(*piece, target.name))
            return false;
    Place place;
    int operand = 0;
    PlaceForTarget(target.name, target.pos, place, operand);
    if (place == Place::Name)
        return false;
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        Expression(**it);
        pos_ = value.pos;
        Emit(Op::AppendTo, static_cast<int>(place), operand);
    }
    return true;
}

// s = s + x, the accumulator of numeric loops, in one instruction.
bool ProcedureCompiler::AddToSelf(const Expr& target, const Expr& value) {
    if (value.kind != ExprKind::Binary || value.op != Tok::Plus || value.left->kind != ExprKind::Name ||
        !com::EqualsIgnoringCase(value.left->name, target.name) || !Harmless(*value.right, target.name))
        return false;
    Place place;
    int operand = 0;
    PlaceForTarget(target.name, target.pos, place, operand);
    if (place == Place::Name || place == Place::Field)
        return false;
    Place source;
    int sourceOperand = 0;
    if (value.right->kind == ExprKind::Name && PlaceOf(Resolve(value.right->name), source, sourceOperand) &&
        source != Place::Field) {
        pos_ = value.pos;
        std::int32_t to = 0;
        std::int32_t from = 0;
        if (DirectPlace(place, operand, to) && DirectPlace(source, sourceOperand, from)) {
            Emit(Op::AddToAt, to, from);
            return true;
        }
        Emit(Op::AddVarTo, static_cast<int>(place), operand, static_cast<int>(source), sourceOperand);
        return true;
    }
    Expression(*value.right);
    pos_ = value.pos;
    Emit(Op::AddTo, static_cast<int>(place), operand);
    return true;
}

// A name that is a local or a script global, as a direct operand; not the
// procedure's own name, which calls it (F(i) in F).
bool ProcedureCompiler::DirectName(const Expr& expr, std::int32_t& direct) {
    if (expr.kind != ExprKind::Name)
        return false;
    const Resolution r = Resolve(expr.name);
    Place place;
    int operand = 0;
    const bool self = r.kind == Found::Local && !proc_.isTopLevel && selfSlot_ == r.index;
    return !self && PlaceOf(r, place, operand) && DirectPlace(place, operand, direct);
}

// v = v + a(i) on plain variables: AddElemToAt does the whole statement on
// plain numbers in an array, and otherwise goes on into the statement's
// general code, which follows it (a(i) may be an object's default member,
// script code run between reading v and adding). Answers where the guard
// is, or -1.
int ProcedureCompiler::ElementSumGuard(const Expr& target, const Expr& value) {
    if (value.kind != ExprKind::Binary || value.op != Tok::Plus || value.left->kind != ExprKind::Name ||
        !com::EqualsIgnoringCase(value.left->name, target.name) || value.right->kind != ExprKind::Call ||
        value.right->args.size() != 1)
        return -1;
    const Expr& element = *value.right;
    std::int32_t to = 0;
    std::int32_t array = 0;
    std::int32_t index = 0;
    if (!DirectName(target, to) || !DirectName(*element.left, array) || !DirectName(*element.args[0], index))
        return -1;
    const int guard = Size();
    pos_ = value.pos;
    Append(Op::AddElemToAt, to, array, index, 0);
    return guard;
}

void ProcedureCompiler::Assignment(const Stmt& stmt, bool isSet) {
    const Expr& target = *stmt.target;
    switch (target.kind) {
    case ExprKind::Name: {
        Place place;
        int operand = 0;
        if (!isSet && IsAppendToSelf(target, *stmt.value)) {
            PlaceForTarget(target.name, target.pos, place, operand);
            if (place != Place::Name) {
                Expression(*stmt.value->right);
                pos_ = stmt.value->pos;
                Emit(Op::AppendTo, static_cast<int>(place), operand);
                return;
            }
        }
        if (!isSet && AppendChain(target, *stmt.value))
            return;
        if (!isSet && AddToSelf(target, *stmt.value))
            return;
        const int guard = isSet ? -1 : ElementSumGuard(target, *stmt.value);
        Expression(*stmt.value);
        pos_ = stmt.pos;
        StoreTo(target.name, target.pos, isSet);
        if (guard >= 0) // the guard's fast path goes on after the general code
            proc_.code[guard + 4] = Here() - (guard + kWidth[static_cast<int>(Op::AddElemToAt)]);
        return;
    }
    case ExprKind::Member: {
        if (target.left)
            Expression(*target.left);
        else
            WithObject(target.pos);
        Expression(*stmt.value);
        pos_ = target.pos;
        Emit(Op::MemberPut, Site(target.name), 0, isSet ? 1 : 0);
        return;
    }
    case ExprKind::Call: {
        const Expr& callee = *target.left;
        if (callee.kind == ExprKind::Member) {
            if (callee.left)
                Expression(*callee.left);
            else
                WithObject(callee.pos);
            Arguments(target.args, nullptr);
            Expression(*stmt.value);
            pos_ = target.pos;
            Emit(Op::MemberPut, Site(callee.name), static_cast<int>(target.args.size()), isSet ? 1 : 0);
            return;
        }
        Place place;
        int operand = 0;
        if (callee.kind == ExprKind::Name) {
            const Resolution r = Resolve(callee.name);
            if (r.kind == Found::Method) {
                Emit(Op::LoadMe);
                Arguments(target.args, nullptr);
                Expression(*stmt.value);
                pos_ = target.pos;
                Emit(Op::MemberPut, Site(callee.name), static_cast<int>(target.args.size()), isSet ? 1 : 0);
                return;
            }
            PlaceForTarget(callee.name, callee.pos, place, operand);
            if (!isSet && place != Place::Name && target.args.size() == 1 &&
                target.args[0]->kind != ExprKind::Missing) {
                Argument(*target.args[0], false);
                Expression(*stmt.value);
                pos_ = target.pos;
                Emit(Op::StoreElem, static_cast<int>(place), operand);
                return;
            }
            Emit(Op::Addr, static_cast<int>(place), operand);
        } else {
            Expression(callee);
        }
        for (const auto& arg : target.args)
            Argument(*arg, false);
        Expression(*stmt.value);
        pos_ = target.pos;
        Emit(Op::IndexStore, static_cast<int>(target.args.size()), isSet ? 1 : 0);
        return;
    }
    default:
        s_.Fail(kErrIllegalAssignment, target.pos);
    }
}

void ProcedureCompiler::DimStatement(const Stmt& stmt) {
    for (const DimItem& item : stmt.dims) {
        DeclareLocal(item.name, item.pos);
        if (frameNames_.count(Folded(item.name))) {
            const int site = Site(item.name);
            proc_.sites[static_cast<std::size_t>(site)].declares = true;
            pos_ = item.pos;
            Emit(Op::Addr, static_cast<int>(Place::Name), site);
            Emit(Op::Pop);
        }
        if (!item.isArray)
            continue;
        for (const auto& bound : item.bounds) {
            if (bound->kind != ExprKind::Literal &&
                !(bound->kind == ExprKind::Name && Resolve(bound->name).kind == Found::Constant))
                s_.Fail(kErrExpectedInteger, bound->pos);
            Expression(*bound);
        }
        Place place;
        int operand = 0;
        PlaceForTarget(item.name, item.pos, place, operand);
        pos_ = item.pos;
        Emit(Op::DimArray, static_cast<int>(place), operand, static_cast<int>(item.bounds.size()));
    }
}

void ProcedureCompiler::ReDimStatement(const Stmt& stmt) {
    for (const DimItem& item : stmt.dims) {
        for (const auto& bound : item.bounds)
            Expression(*bound);
        Place place;
        int operand = 0;
        PlaceForTarget(item.name, item.pos, place, operand);
        pos_ = item.pos;
        Emit(Op::ReDim, static_cast<int>(place), operand, static_cast<int>(item.bounds.size()),
             stmt.preserve ? 1 : 0);
    }
}

void ProcedureCompiler::ConstStatement(const Stmt& stmt) {
    for (const ConstItem& item : stmt.consts) {
        Value value = s_.ConstantValue(*item.value);
        const std::u16string key = Folded(item.name);
        if (topLevel_) {
            auto& symbols = s_.program_.symbols;
            auto found = symbols.find(key);
            if (found != symbols.end() && found->second.kind != SymbolKind::Constant)
                s_.Fail(kErrNameRedefined, item.pos);
            symbols[key] = Symbol{SymbolKind::Constant, 0, value};
        } else {
            if (locals_.count(key) && !locals_[key].isConst)
                s_.Fail(kErrNameRedefined, item.pos);
            locals_[key] = LocalSymbol{0, false, true, value};
        }
    }
}

void ProcedureCompiler::IfStatement(const Stmt& stmt) {
    std::vector<int> ends;
    for (const Branch& branch : stmt.branches) {
        int skip = -1;
        if (!branch.isElse) {
            pos_ = branch.pos;
            depth_ = 0;
            const int start = Here();
            Expression(*branch.condition);
            skip = EmitJump(Op::JumpIfFalse);
            Resumable(start);
        }
        Statements(branch.body);
        if (skip >= 0) {
            if (&branch != &stmt.branches.back())
                ends.push_back(EmitJump(Op::Jump));
            PatchHere(skip);
        }
    }
    for (int end : ends)
        PatchHere(end);
}

void ProcedureCompiler::SelectStatement(const Stmt& stmt) {
    const int start = Here();
    const int subject = Temp();
    Expression(*stmt.value);
    Emit(Op::Store, static_cast<int>(Place::Local) | kRawStore, subject);
    Resumable(start);
    std::vector<int> ends;
    for (const Branch& branch : stmt.branches) {
        pos_ = branch.pos;
        std::vector<int> matches;
        int next = -1;
        if (!branch.isElse) {
            const int caseStart = Here();
            depth_ = 0;
            for (const auto& value : branch.values) {
                Emit(Op::LoadLocal, subject);
                Expression(*value);
                Emit(Op::Eq);
                matches.push_back(EmitJump(Op::JumpIfTrue));
            }
            next = EmitJump(Op::Jump);
            Resumable(caseStart);
        }
        for (int match : matches)
            PatchHere(match);
        Statements(branch.body);
        ends.push_back(EmitJump(Op::Jump));
        if (next >= 0)
            PatchHere(next);
    }
    for (int end : ends)
        PatchHere(end);
}

void ProcedureCompiler::ForStatement(const Stmt& stmt) {
    Place place;
    int operand = 0;
    const int start = Here();
    PlaceForTarget(stmt.target->name, stmt.target->pos, place, operand);
    const int temp = Temp();
    Temp(); // the step lives beside the end,
    Temp(); // and then the step again when Next may take its Long fast path
    Expression(*stmt.value);
    Expression(*stmt.to);
    if (stmt.step)
        Expression(*stmt.step);
    else
        Emit(Op::PushInt, 1);
    pos_ = stmt.pos;
    Emit(Op::ForPrep, static_cast<int>(place), operand, temp, -1);
    const int exitOperand = Here() - 1;
    Resumable(start);
    const int body = Here();
    loops_.push_back({true, {}});
    Statements(stmt.body);
    pos_ = stmt.pos;
    const int next = Here();
    // A body ending in v = v + w: the sum takes the Next after it along on
    // its fast path. The Next stays whole after it, for jumps to it, the
    // slow paths and errors resumed at it.
    const bool counterOwnForm = place == Place::Local || place == Place::Global;
    if (counterOwnForm && lastStart_ >= 0 && lastStart_ + kWidth[static_cast<int>(Op::AddToAt)] == next &&
        static_cast<Op>(proc_.code[lastStart_]) == Op::AddToAt)
        proc_.code[lastStart_] = static_cast<std::int32_t>(Op::AddToAtNext);
    // The counter's own forms jump back by an offset: no code base to fetch.
    if (place == Place::Local)
        Emit(Op::ForNextLocal, operand, temp, next - body);
    else if (place == Place::Global)
        Emit(Op::ForNextGlobal, operand, temp, next - body);
    else
        Emit(Op::ForNext, static_cast<int>(place), operand, temp, body);
    Resumable(next);
    PatchHere(exitOperand);
    for (int exit : loops_.back().exits)
        PatchHere(exit);
    loops_.pop_back();
}

void ProcedureCompiler::ForEachStatement(const Stmt& stmt) {
    const int start = Here();
    const int temp = Temp();
    Temp(); // the position beside the collection
    Expression(*stmt.value);
    pos_ = stmt.pos;
    Emit(Op::ForEachPrep, temp, -1);
    const int prepExit = Here() - 1;
    Resumable(start);
    const int top = Here();
    Emit(Op::ForEachNext, temp, -1);
    const int nextExit = Here() - 1;
    StoreTo(stmt.target->name, stmt.target->pos, false, true);
    Resumable(top);
    loops_.push_back({true, {}});
    Statements(stmt.body);
    Emit(Op::LoopBack, top);
    PatchHere(prepExit);
    PatchHere(nextExit);
    for (int exit : loops_.back().exits)
        PatchHere(exit);
    loops_.pop_back();
}

void ProcedureCompiler::DoStatement(const Stmt& stmt) {
    const int top = Here();
    int exitJump = -1;
    int condition = -1;
    if (stmt.doTest == DoTest::PreWhile || stmt.doTest == DoTest::PreUntil) {
        Expression(*stmt.value);
        exitJump = EmitJump(stmt.doTest == DoTest::PreWhile ? Op::JumpIfFalse : Op::JumpIfTrue);
        condition = Resumable(top);
    }
    loops_.push_back({false, {}});
    Statements(stmt.body);
    if (stmt.doTest == DoTest::PostWhile || stmt.doTest == DoTest::PostUntil) {
        pos_ = stmt.value->pos;
        depth_ = 0;
        const int test = Here();
        Expression(*stmt.value);
        exitJump = EmitJump(stmt.doTest == DoTest::PostWhile ? Op::JumpIfFalse : Op::JumpIfTrue);
        condition = Resumable(test);
    }
    Emit(Op::LoopBack, top);
    ResumeHere(condition);
    if (exitJump >= 0)
        PatchHere(exitJump);
    for (int exit : loops_.back().exits)
        PatchHere(exit);
    loops_.pop_back();
}

void ProcedureCompiler::WhileStatement(const Stmt& stmt) {
    const int top = Here();
    Expression(*stmt.value);
    const int exitJump = EmitJump(Op::JumpIfFalse);
    const int condition = Resumable(top);
    loops_.push_back({false, {}});
    Statements(stmt.body);
    Emit(Op::LoopBack, top);
    ResumeHere(condition);
    PatchHere(exitJump);
    // Exit Do inside While leaves the enclosing Do, not the While.
    std::vector<int> exits = std::move(loops_.back().exits);
    loops_.pop_back();
    for (int exit : exits)
        PatchHere(exit);
}

void ProcedureCompiler::ExitLoop(bool isFor, SourcePos pos) {
    for (auto it = loops_.rbegin(); it != loops_.rend(); ++it) {
        if (it->isFor == isFor) {
            it->exits.push_back(EmitJump(Op::Jump));
            return;
        }
    }
    s_.Fail(kErrInvalidExit, pos);
}

void ProcedureCompiler::ExitStatement(const Stmt& stmt) {
    switch (stmt.exitKind) {
    case ExitKind::Do:
        ExitLoop(false, stmt.pos);
        return;
    case ExitKind::For:
        ExitLoop(true, stmt.pos);
        return;
    case ExitKind::Sub:
        if (proc_.isTopLevel || proc_.kind != ProcKind::Sub)
            s_.Fail(kErrInvalidExit, stmt.pos);
        break;
    case ExitKind::Function:
        if (proc_.isTopLevel || proc_.kind != ProcKind::Function)
            s_.Fail(kErrInvalidExit, stmt.pos);
        break;
    case ExitKind::Property:
        if (proc_.isTopLevel || (proc_.kind != ProcKind::PropertyGet && proc_.kind != ProcKind::PropertyLet &&
                                 proc_.kind != ProcKind::PropertySet))
            s_.Fail(kErrInvalidExit, stmt.pos);
        break;
    }
    Emit(Op::Return);
}

void ProcedureCompiler::WithStatement(const Stmt& stmt) {
    const int start = Here();
    const int temp = Temp();
    Expression(*stmt.value);
    Emit(Op::ObjectCheck);
    Emit(Op::Store, static_cast<int>(Place::Local) | kRawStore, temp);
    Resumable(start);
    withTemps_.push_back(temp);
    Statements(stmt.body);
    withTemps_.pop_back();
    // The object is released when the block ends, as the original does.
    Emit(Op::PushEmpty);
    Emit(Op::Store, static_cast<int>(Place::Local) | kRawStore, temp);
}

void ProcedureCompiler::EraseStatement(const Stmt& stmt) {
    for (const DimItem& item : stmt.dims) {
        Place place;
        int operand = 0;
        PlaceForTarget(item.name, item.pos, place, operand);
        pos_ = item.pos;
        Emit(Op::Erase, static_cast<int>(place), operand);
    }
}

// ---------------------------------------------------------------- expressions

// ".name" outside any With compiles; running it raises error 505.
void ProcedureCompiler::WithObject(SourcePos pos) {
    if (withTemps_.empty()) {
        const SourcePos saved = pos_;
        pos_ = pos;
        Emit(Op::Raise, kErrInvalidReference);
        pos_ = saved;
        return;
    }
    Emit(Op::LoadLocal, withTemps_.back());
}

void ProcedureCompiler::Expression(const Expr& expr) {
    const SourcePos saved = pos_;
    pos_ = expr.pos;
    switch (expr.kind) {
    case ExprKind::Literal:
        if (expr.literal.Is(VType::Integer))
            Emit(Op::PushInt, expr.literal.I());
        else if (expr.literal.IsEmpty())
            Emit(Op::PushEmpty);
        else
            Emit(Op::PushConst, Constant(expr.literal));
        break;
    case ExprKind::Name:
        NameValue(expr);
        break;
    case ExprKind::Me:
        if (owner_ == nullptr)
            s_.Fail(kErrInvalidMe, expr.pos);
        Emit(Op::LoadMe);
        break;
    case ExprKind::Member:
        if (expr.left)
            Expression(*expr.left);
        else
            WithObject(expr.pos);
        pos_ = expr.pos;
        Emit(Op::MemberGet, Site(expr.name), 0, 0);
        break;
    case ExprKind::Call:
        Call(expr, false);
        break;
    case ExprKind::Unary:
        Expression(*expr.left);
        pos_ = expr.pos;
        Emit(expr.op == Tok::KwNot ? Op::Not : Op::Neg);
        break;
    case ExprKind::Binary:
        Binary(expr);
        break;
    case ExprKind::New:
        Emit(Op::New, Site(expr.name));
        break;
    case ExprKind::Paren:
        Expression(*expr.left);
        break;
    case ExprKind::Missing:
        Emit(Op::PushMissing);
        break;
    }
    pos_ = saved;
}

void ProcedureCompiler::Binary(const Expr& expr) {
    Expression(*expr.left);
    Expression(*expr.right);
    pos_ = expr.pos;
    switch (expr.op) {
    case Tok::Plus:
        Emit(Op::Add);
        break;
    case Tok::Minus:
        Emit(Op::Sub);
        break;
    case Tok::Star:
        Emit(Op::Mul);
        break;
    case Tok::Slash:
        Emit(Op::Div);
        break;
    case Tok::Backslash:
        Emit(Op::IntDiv);
        break;
    case Tok::KwMod:
        Emit(Op::Mod);
        break;
    case Tok::Caret:
        Emit(Op::Pow);
        break;
    case Tok::Amp:
        Emit(Op::Concat);
        break;
    case Tok::KwAnd:
        Emit(Op::And);
        break;
    case Tok::KwOr:
        Emit(Op::Or);
        break;
    case Tok::KwXor:
        Emit(Op::Xor);
        break;
    case Tok::KwEqv:
        Emit(Op::Eqv);
        break;
    case Tok::KwImp:
        Emit(Op::Imp);
        break;
    case Tok::Eq:
        Emit(Op::Eq);
        break;
    case Tok::Ne:
        Emit(Op::Ne);
        break;
    case Tok::Lt:
        Emit(Op::Lt);
        break;
    case Tok::Gt:
        Emit(Op::Gt);
        break;
    case Tok::Le:
        Emit(Op::Le);
        break;
    case Tok::Ge:
        Emit(Op::Ge);
        break;
    case Tok::KwIs:
        Emit(Op::Is);
        break;
    default:
        s_.Fail(kErrSyntax, expr.pos);
    }
}

void ProcedureCompiler::NameValue(const Expr& expr) {
    const Resolution r = Resolve(expr.name);
    switch (r.kind) {
    case Found::Local:
        Emit(Op::LoadLocal, r.index);
        return;
    case Found::Global:
        Emit(Op::LoadGlobal, r.index);
        return;
    case Found::Ref:
        Emit(Op::LoadRef, r.index);
        return;
    case Found::Field:
        Emit(Op::Load, static_cast<int>(Place::Field), r.index);
        return;
    case Found::Outer:
        Emit(Op::Load, static_cast<int>(Place::Outer), r.index);
        return;
    case Found::Constant:
        if (r.constant.Is(VType::Integer))
            Emit(Op::PushInt, r.constant.I());
        else
            Emit(Op::PushConst, Constant(r.constant));
        return;
    case Found::Procedure:
        Emit(Op::CallProc, r.index, 0);
        return;
    case Found::Method:
        Emit(Op::LoadMe);
        Emit(Op::MemberGet, Site(expr.name), 0, 0);
        return;
    case Found::Builtin:
        Emit(Op::CallBuiltin, r.index, 0);
        return;
    case Found::Unknown:
        // Resolved at run time: a global may come with code added later.
        Emit(Op::Load, static_cast<int>(Place::Name), Site(expr.name));
        return;
    }
}

void ProcedureCompiler::Argument(const Expr& arg, bool byRef) {
    if (byRef && arg.kind == ExprKind::Call && arg.left->kind == ExprKind::Name && !arg.args.empty() &&
        arg.args.size() <= 64) {
        // An array element goes by reference too; the interpreter decides, as
        // the variable may hold an object with a default member instead.
        const Resolution r = Resolve(arg.left->name);
        const bool selfCall = r.kind == Found::Local && !proc_.isTopLevel && selfSlot_ == r.index;
        Place place;
        int operand = 0;
        if (!selfCall && PlaceOf(r, place, operand)) {
            pos_ = arg.pos;
            Emit(Op::Addr, static_cast<int>(place), operand);
            for (const auto& index : arg.args)
                Argument(*index, false);
            pos_ = arg.pos;
            Emit(Op::ElemAddr, static_cast<int>(arg.args.size()));
            return;
        }
    }
    if (byRef && arg.kind == ExprKind::Name) {
        const Resolution r = Resolve(arg.name);
        Place place;
        int operand = 0;
        if (PlaceOf(r, place, operand)) {
            pos_ = arg.pos;
            Emit(Op::Addr, static_cast<int>(place), operand);
            return;
        }
        if (r.kind == Found::Unknown) {
            Emit(Op::Addr, static_cast<int>(Place::Name), Site(arg.name));
            return;
        }
    }
    Expression(arg);
}

void ProcedureCompiler::Arguments(const std::vector<ExprPtr>& args, const Procedure* callee) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool byRef = callee == nullptr || (i < callee->byRef.size() && callee->byRef[i] != 0);
        Argument(*args[i], byRef);
    }
}

void ProcedureCompiler::Call(const Expr& expr, bool asStatement) {
    // (((f))) (x) calls f: parentheses around a callee change nothing.
    const Expr* unwrapped = expr.left.get();
    while (unwrapped->kind == ExprKind::Paren)
        unwrapped = unwrapped->left.get();
    const Expr& callee = *unwrapped;
    const int argc = static_cast<int>(expr.args.size());
    if (argc > 127)
        s_.Fail(kErrWrongArgCount, expr.pos);
    if (callee.kind == ExprKind::Member) {
        if (callee.left)
            Expression(*callee.left);
        else
            WithObject(callee.pos);
        Arguments(expr.args, nullptr);
        pos_ = callee.pos;
        Emit(Op::MemberGet, Site(callee.name), argc, asStatement ? 1 : 0);
        return;
    }
    if (callee.kind != ExprKind::Name) {
        Expression(callee);
        for (const auto& arg : expr.args)
            Argument(*arg, false);
        pos_ = expr.pos;
        Emit(Op::Index, argc);
        return;
    }
    const Resolution r = Resolve(callee.name);
    Place place;
    int operand = 0;
    // Inside a function its own name with arguments is a recursive call; a
    // Sub's own name is one even without.
    const bool selfCall = r.kind == Found::Local && !proc_.isTopLevel && selfSlot_ == r.index &&
                          (argc > 0 || proc_.resultSlot < 0);
    if (selfCall || r.kind == Found::Procedure) {
        const Procedure* target = selfCall ? &proc_ : s_.program_.procedures[r.index].get();
        const int index = selfCall ? -1 : r.index;
        Arguments(expr.args, target);
        pos_ = callee.pos;
        if (index < 0) {
            // The procedure's own index: it is the one being compiled.
            const auto& procs = s_.program_.procedures;
            const auto it =
                std::find_if(procs.begin(), procs.end(), [&](const auto& p) { return p.get() == &proc_; });
            if (owner_ != nullptr)
                Emit(Op::CallMethodMe, static_cast<int>(it - procs.begin()), argc);
            else
                Emit(Op::CallProc, static_cast<int>(it - procs.begin()), argc);
        } else {
            Emit(Op::CallProc, index, argc);
        }
        return;
    }
    if (r.kind == Found::Builtin) {
        for (const auto& arg : expr.args)
            Argument(*arg, false);
        pos_ = callee.pos;
        Emit(Op::CallBuiltin, r.index, argc);
        return;
    }
    if (r.kind == Found::Method) {
        Emit(Op::LoadMe);
        Arguments(expr.args, nullptr);
        pos_ = callee.pos;
        Emit(Op::MemberGet, Site(callee.name), argc, asStatement ? 1 : 0);
        return;
    }
    if (PlaceOf(r, place, operand) && argc == 1 && !asStatement && expr.args[0]->kind != ExprKind::Missing) {
        Argument(*expr.args[0], false);
        pos_ = expr.pos;
        Emit(Op::LoadElem, static_cast<int>(place), operand);
        return;
    }
    if (PlaceOf(r, place, operand)) {
        Emit(Op::Addr, static_cast<int>(place), operand);
        // A statement `f v` may call a GetRef procedure or a default method,
        // which take variables by reference; an element read stays by value.
        for (const auto& arg : expr.args)
            Argument(*arg, asStatement);
        pos_ = expr.pos;
        Emit(Op::Index, argc);
        return;
    }
    if (r.kind == Found::Constant) {
        s_.Fail(kErrTypeMismatch, callee.pos, callee.name);
    }
    Arguments(expr.args, nullptr);
    pos_ = callee.pos;
    Emit(Op::CallName, Site(callee.name), argc);
}

// ---------------------------------------------------------------- script level

Value ScriptCompiler::ConstantValue(const Expr& expr) {
    switch (expr.kind) {
    case ExprKind::Literal:
        return expr.literal;
    case ExprKind::Paren:
        return ConstantValue(*expr.left);
    case ExprKind::Unary:
        if (expr.op == Tok::Minus)
            return Negate(ConstantValue(*expr.left));
        break;
    case ExprKind::Name: {
        if (const Value* constant = FindBuiltinConstant(expr.name))
            return *constant;
        auto symbol = program_.symbols.find(Folded(expr.name));
        if (symbol != program_.symbols.end() && symbol->second.kind == SymbolKind::Constant)
            return symbol->second.constant;
        break;
    }
    default:
        break;
    }
    Fail(kErrExpectedLiteral, expr.pos);
    return {};
}

Procedure* ScriptCompiler::DeclareProcedure(const ProcDecl& decl, ClassInfo* owner) {
    Procedure* proc = NewProcedure(decl.name);
    proc->kind = decl.kind;
    proc->isPublic = decl.isPublic;
    proc->owner = owner;
    // Callers compiled before this body must already know which parameters are ByRef.
    proc->paramCount = static_cast<int>(decl.params.size());
    for (const Param& param : decl.params) {
        proc->byRef.push_back(param.byRef ? 1 : 0);
        proc->anyByVal = proc->anyByVal || !param.byRef;
    }
    pending_.push_back({&decl, proc});
    return proc;
}

void ScriptCompiler::DeclareClass(const ClassDecl& decl) {
    const std::u16string key = Folded(decl.name);
    if (program_.symbols.count(key))
        Fail(kErrNameRedefined, decl.pos, decl.name);
    // The program owns the class from the start: its methods are declared
    // (and compiled later) with it as their owner even when a later member
    // fails; only the name is published at the end, once all is well.
    program_.classes.push_back(std::make_unique<ClassInfo>());
    const int index = static_cast<int>(program_.classes.size() - 1);
    ClassInfo* info = program_.classes.back().get();
    info->name = decl.name;
    auto addMember = [&](const std::u16string& name, SourcePos pos) -> ClassMember& {
        const std::u16string memberKey = Folded(name);
        auto found = info->byName.find(memberKey);
        if (found != info->byName.end())
            return info->members[found->second];
        (void)pos;
        info->byName[memberKey] = static_cast<int>(info->members.size());
        info->members.push_back(ClassMember{name, true, -1, nullptr, nullptr, nullptr});
        return info->members.back();
    };
    for (const FieldDecl& field : decl.fields) {
        if (info->byName.count(Folded(field.item.name)))
            Fail(kErrNameRedefined, field.item.pos, field.item.name);
        FieldInfo fieldInfo;
        fieldInfo.name = field.item.name;
        fieldInfo.isArray = field.item.isArray;
        for (const auto& bound : field.item.bounds) {
            const Value v = ConstantValue(*bound);
            fieldInfo.bounds.push_back(ToLong(v));
        }
        ClassMember& member = addMember(field.item.name, field.item.pos);
        member.isPublic = field.isPublic;
        member.field = static_cast<int>(info->fields.size());
        info->fields.push_back(std::move(fieldInfo));
    }
    for (const auto& procDecl : decl.procs) {
        const bool isEvent = com::EqualsIgnoringCase(procDecl->name, u"Class_Initialize") ||
                             com::EqualsIgnoringCase(procDecl->name, u"Class_Terminate");
        if (isEvent && !procDecl->params.empty())
            Fail(kErrClassEventArgs, procDecl->pos);
        ClassMember& member = addMember(procDecl->name, procDecl->pos);
        if (member.field >= 0)
            Fail(kErrNameRedefined, procDecl->pos, procDecl->name);
        Procedure* proc = DeclareProcedure(*procDecl, info);
        Procedure** slot = procDecl->kind == ProcKind::PropertyLet   ? &member.let
                           : procDecl->kind == ProcKind::PropertySet ? &member.set
                                                                     : &member.method;
        if (*slot != nullptr)
            Fail(kErrNameRedefined, procDecl->pos, procDecl->name);
        *slot = proc;
        member.isPublic = procDecl->isPublic;
        if (procDecl->isDefault) {
            if (info->defaultMember >= 0)
                Fail(kErrMultipleDefaults, procDecl->pos);
            info->defaultMember = info->byName[Folded(procDecl->name)];
        }
        if (com::EqualsIgnoringCase(procDecl->name, u"Class_Initialize"))
            info->initialize = proc;
        if (com::EqualsIgnoringCase(procDecl->name, u"Class_Terminate"))
            info->terminate = proc;
    }
    for (const ConstItem& c : decl.consts)
        classConstants_[info][Folded(c.name)] = ConstantValue(*c.value);
    program_.symbols[key] = Symbol{SymbolKind::Class, index, {}};
    pendingClasses_.push_back({&decl, info});
}

void ScriptCompiler::Declare(const ScriptAst& ast) {
    for (const TopItem& item : ast.items) {
        try {
            if (item.cls) {
                DeclareClass(*item.cls);
            } else if (item.proc) {
                const std::u16string key = Folded(item.proc->name);
                auto found = program_.symbols.find(key);
                if (found != program_.symbols.end() && found->second.kind != SymbolKind::Procedure &&
                    found->second.kind != SymbolKind::Variable)
                    Fail(kErrNameRedefined, item.proc->pos, item.proc->name);
                if (item.proc->kind != ProcKind::Sub && item.proc->kind != ProcKind::Function)
                    Fail(kErrMustBeInClass, item.proc->pos);
                Procedure* proc = DeclareProcedure(*item.proc, nullptr);
                // A later definition replaces an earlier one, as added code does.
                program_.symbols[key] =
                    Symbol{SymbolKind::Procedure, static_cast<int>(program_.procedures.size() - 1), {}};
                (void)proc;
            } else if (item.statement && item.statement->kind == StmtKind::Dim && !localScope_) {
                for (const DimItem& dim : item.statement->dims) {
                    auto found = program_.symbols.find(Folded(dim.name));
                    if (found != program_.symbols.end() && found->second.kind != SymbolKind::Variable)
                        Fail(kErrNameRedefined, dim.pos, dim.name);
                    DeclareGlobal(dim.name);
                }
            }
        } catch (const CompileFailure& failure) {
            Record(failure);
        }
    }
}

Procedure* ScriptCompiler::Script(const ScriptAst& ast, std::unique_ptr<Procedure>* standalone,
                                  const DynamicScope* scope) {
    if (ast.optionExplicit)
        program_.optionExplicit = true;
    localScope_ = scope != nullptr && scope->caller != nullptr;
    Declare(ast);
    Procedure* top = nullptr;
    if (standalone != nullptr) {
        *standalone = std::make_unique<Procedure>();
        top = standalone->get();
        top->source = source_;
    } else {
        top = NewProcedure(u"");
    }
    top->isTopLevel = true;
    const Procedure* caller = scope ? scope->caller : nullptr;
    if (caller != nullptr)
        top->owner = caller->owner;
    // The top-level statements, in order, borrowed from the tree.
    Block borrowed;
    for (const TopItem& item : ast.items)
        if (item.statement)
            borrowed.emplace_back(item.statement.get());
    {
        ProcedureCompiler compiler(*this, *top, caller ? caller->owner : nullptr, caller);
        if (caller == nullptr) {
            try {
                compiler.HoistTopLevel(borrowed);
            } catch (const CompileFailure& failure) {
                Record(failure);
            }
        }
        compiler.Body(borrowed, caller == nullptr);
    }
    for (auto& stmt : borrowed)
        stmt.release();
    std::stable_sort(top->resumes.begin(), top->resumes.end(),
                     [](const ResumeRange& a, const ResumeRange& b) { return a.start < b.start; });
    CompilePending();
    return top;
}

void ScriptCompiler::CompilePending() {
    for (const auto& [decl, proc] : pending_) {
        ProcedureCompiler compiler(*this, *proc, proc->owner);
        try {
            compiler.Parameters(*decl);
            compiler.Body(decl->body, false);
            std::stable_sort(proc->resumes.begin(), proc->resumes.end(),
                             [](const ResumeRange& a, const ResumeRange& b) { return a.start < b.start; });
        } catch (const CompileFailure& failure) {
            Record(failure);
        }
    }
}

Procedure* ScriptCompiler::Evaluation(const Expr& expr, std::unique_ptr<Procedure>* standalone,
                                      const DynamicScope* scope) {
    Procedure* proc = nullptr;
    if (standalone != nullptr) {
        *standalone = std::make_unique<Procedure>();
        proc = standalone->get();
        proc->source = source_;
    } else {
        proc = NewProcedure(u"");
    }
    proc->isTopLevel = true;
    const Procedure* caller = scope ? scope->caller : nullptr;
    if (caller != nullptr)
        proc->owner = caller->owner;
    ProcedureCompiler compiler(*this, *proc, caller ? caller->owner : nullptr, caller);
    try {
        compiler.Evaluate(expr);
    } catch (const CompileFailure& failure) {
        Record(failure);
    }
    return proc;
}

} // namespace

const ClassMember* ClassInfo::Find(std::u16string_view name) const {
    auto found = byName.find(Folded(name));
    return found == byName.end() ? nullptr : &members[found->second];
}

const Symbol* Program::Find(std::u16string_view name) const {
    auto found = symbols.find(Folded(name));
    return found == symbols.end() ? nullptr : &found->second;
}

std::u16string Folded(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded)
        c = com::FoldCase(c);
    return folded;
}

Procedure* CompileScript(Program& program, const ScriptAst& ast, std::shared_ptr<const std::u16string> source,
                         std::vector<ScriptError>& errors) {
    ScriptCompiler compiler(program, std::move(source), errors);
    return compiler.Script(ast);
}

Procedure* CompileEvaluation(Program& program, const Expr& expr, std::shared_ptr<const std::u16string> source,
                             std::vector<ScriptError>& errors) {
    ScriptCompiler compiler(program, std::move(source), errors);
    return compiler.Evaluation(expr);
}

std::unique_ptr<Procedure> CompileDynamic(Program& program, const ScriptAst& ast,
                                          std::shared_ptr<const std::u16string> source,
                                          std::vector<ScriptError>& errors, const DynamicScope& scope) {
    ScriptCompiler compiler(program, std::move(source), errors);
    std::unique_ptr<Procedure> top;
    compiler.Script(ast, &top, &scope);
    return top;
}

std::unique_ptr<Procedure> CompileDynamicExpression(Program& program, const Expr& expr,
                                                    std::shared_ptr<const std::u16string> source,
                                                    std::vector<ScriptError>& errors,
                                                    const DynamicScope& scope) {
    ScriptCompiler compiler(program, std::move(source), errors);
    std::unique_ptr<Procedure> proc;
    compiler.Evaluation(expr, &proc, &scope);
    return proc;
}

} // namespace zorv::vbs
