#include "interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "builtins.h"
#include "com_bridge.h"
#include "conversion.h"
#include "dynamic_code.h"
#include "engine.h"
#include "event_binding.h"
#include "operators.h"
#include "platform/com/com_object.h"
#include "platform/ui/user_interface.h"
#include "script_error.h"
#include "script_object.h"

// Labels as values where the compiler has them; the CMake option
// ZORV_VBS_SWITCH_DISPATCH (or a compiler without them) picks the switch.
#ifndef ZORV_VBS_SWITCH_DISPATCH
#if defined(__GNUC__)
#define ZORV_VBS_SWITCH_DISPATCH 0
#else
#define ZORV_VBS_SWITCH_DISPATCH 1
#endif
#endif

namespace zorv::vbs {
namespace {

constexpr std::size_t kStackValues = 1 << 17;
constexpr std::size_t kMaxFrames = 3000;
constexpr int kMaxNesting = 60;
constexpr int kTickInterval = 1 << 12;
// Budget units: a built-in call costs as much as 16 simple steps, a recovered
// error (an exception thrown and caught) reads the clock at once.
constexpr int kBuiltinCost = 16;
constexpr std::u16string_view kStopQuestion =
    u"Le script s'exécute depuis longtemps. Voulez-vous l'arrêter ?";

// For Each over an object keeps the object's enumerator in a variable slot.
class EnumeratorHolder final : public com::ComObject<IDispatch> {
public:
    explicit EnumeratorHolder(com::ComPtr<IEnumVARIANT> e) : enumerator(std::move(e)) {}
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    com::ComPtr<IEnumVARIANT> enumerator;
};

// Integer and Long are neighbours among the tags, so that one unsigned
// comparison tells a small integer, and one more tells two of them.
static_assert(static_cast<int>(VType::Long) == static_cast<int>(VType::Integer) + 1);

unsigned SmallIntTag(const Value& v) {
    return static_cast<unsigned>(v.Type()) - static_cast<unsigned>(VType::Integer);
}

bool IsSmallInt(const Value& v) {
    return SmallIntTag(v) <= 1;
}

bool BothSmallInt(const Value& a, const Value& b) {
    return (SmallIntTag(a) | SmallIntTag(b)) <= 1;
}

// An Integer, Long or Double as a double: the numbers the Double fast paths take.
bool PlainDouble(const Value& v, double& d) {
    if (IsSmallInt(v)) {
        d = v.I();
        return true;
    }
    if (v.Is(VType::Double)) {
        d = v.D();
        return true;
    }
    return false;
}

Value IntResult(std::int64_t n, bool bothInteger) {
    if (bothInteger && n >= -32768 && n <= 32767)
        return Value::Integer(static_cast<std::int16_t>(n));
    if (n >= INT32_MIN && n <= INT32_MAX)
        return Value::Long(static_cast<std::int32_t>(n));
    return Value::Double(static_cast<double>(n));
}

// target = target + v when both are plain numbers (Integer, Long, Double)
// and the sum stays finite: the accumulator loops' fast path. Neither value
// is Counted then, so the sum is written over the target in place.
inline bool AddNumbersInPlace(Value& target, const Value& v) {
    double r;
    if (target.Is(VType::Double) && PlainDouble(v, r)) { // the accumulator once it outgrew a Long
        const double sum = target.D() + r;
        if (!std::isfinite(sum))
            return false;
        target.ReplacePlain(Value::Double(sum));
        return true;
    }
    if (BothSmallInt(target, v)) {
        const bool bothInteger = target.Is(VType::Integer) && v.Is(VType::Integer);
        target.ReplacePlain(IntResult(std::int64_t{target.I()} + v.I(), bothInteger));
        return true;
    }
    double l;
    if (PlainDouble(target, l) && PlainDouble(v, r) && std::isfinite(l + r)) {
        target.ReplacePlain(Value::Double(l + r));
        return true;
    }
    return false;
}

// target = target + a(i) when a is an array, i a small integer inside its
// one dimension and the element and target plain numbers (AddNumbersInPlace).
inline bool AddElementInPlace(Value& target, const Value& array, const Value& index) {
    if (!array.Is(VType::Array) || !IsSmallInt(index))
        return false;
    const Value* item = array.Arr()->Item1(index.I());
    return item != nullptr && AddNumbersInPlace(target, *item);
}

// a(i) = v + w when a is an array this variable alone holds, i a small
// integer inside its one dimension, the element plain (nothing to release)
// and v and w plain numbers whose sum stays finite.
inline bool StoreSumInElement(Value& array, const Value& index, const Value& v, const Value& w) {
    if (!array.Is(VType::Array) || !IsSmallInt(index) || array.Arr()->refs != 1)
        return false;
    Value* item = array.Arr()->Item1(index.I());
    if (item == nullptr || item->Counted())
        return false;
    if (BothSmallInt(v, w)) {
        item->ReplacePlain(
            IntResult(std::int64_t{v.I()} + w.I(), v.Is(VType::Integer) && w.Is(VType::Integer)));
        return true;
    }
    double x, y;
    if (!PlainDouble(v, x) || !PlainDouble(w, y) || !std::isfinite(x + y))
        return false;
    item->ReplacePlain(Value::Double(x + y));
    return true;
}

// Next when counter, end and step are all Integer or Long (false otherwise,
// for the general path): the sum as Add makes it (Integer while both are
// and it fits, then Long, then Double) and the comparison on the exact
// integers. `more` tells whether the loop goes on.
inline bool IntegerForStep(Value& counter, const Value* temps, bool& more) {
    const Value& end = temps[0];
    const Value& step = temps[1];
    if ((SmallIntTag(counter) | SmallIntTag(end) | SmallIntTag(step)) > 1)
        return false;
    const std::int64_t next = std::int64_t{counter.I()} + step.I();
    counter.ReplacePlain(IntResult(next, counter.Is(VType::Integer) && step.Is(VType::Integer)));
    more = step.I() >= 0 ? next <= end.I() : next >= end.I();
    return true;
}

// Whether a counting loop goes on at `counter`: up to `end` for a step of
// zero or more, down to it for a negative one. ~x reverses the order of
// 32-bit integers, so a negative step compares the complements: no branch.
inline bool CountGoesOn(std::int32_t counter, std::int32_t end, std::int32_t step) {
    const std::int32_t down = step >> 31;
    return (counter ^ down) <= (end ^ down);
}

// Next on a Long counter in a loop whose end and step are both Integer or
// Long, which ForPrep marks by leaving the step, as a Long, in the third
// temp: one tag test of the counter and one of the mark, one add with an
// overflow check and one comparison. A counter that leaves the Long range,
// or was given another type in the body, takes IntegerForStep or ForStep.
inline bool LongForStep(Value& counter, const Value* temps, bool& more) {
    const Value& mark = temps[2];
    if (!counter.Is(VType::Long) || !mark.Is(VType::Long))
        return false;
    const std::int32_t step = mark.I();
    std::int32_t next;
    if (__builtin_add_overflow(counter.I(), step, &next))
        return false;
    counter.ReplacePlain(Value::Long(next));
    more = CountGoesOn(next, temps[0].I(), step);
    return true;
}

// The rest of a counting loop whose body is one statement, from its Next
// (ForNextLocal or ForNextGlobal, at `next`) on, without dispatching an
// instruction: the step as the Next takes it on a Long counter, then
// `body`, the statement's fast path (false, having changed nothing, when it
// needs its general one). The counter is read again at each step, since the
// body may be the one to change it. It stops short of spending the last unit
// of the step budget, so that the Next instruction is the one to read the
// clock, as when every step is dispatched. Answers where to go on: the body's
// instruction, the Next's or past the loop.
template <typename Body>
[[gnu::noinline]] const std::int32_t* RunCountingLoop(Body body, const std::int32_t* next, Value* base,
                                                      Value* globals, int& budget) {
    Value& counter = static_cast<Op>(next[0]) == Op::ForNextLocal ? base[next[1]] : globals[next[1]];
    const Value* const temps = base + next[2];
    int left = budget;
    const std::int32_t* resume;
    for (;;) {
        std::int32_t value;
        if (left <= 1 || !counter.Is(VType::Long) || !temps[2].Is(VType::Long) ||
            __builtin_add_overflow(counter.I(), temps[2].I(), &value)) {
            resume = next;
            break;
        }
        --left;
        counter.ReplacePlain(Value::Long(value));
        if (!CountGoesOn(value, temps[0].I(), temps[2].I())) {
            resume = next + kWidth[static_cast<int>(Op::ForNextLocal)];
            break;
        }
        if (!body()) {
            resume = next - next[3];
            break;
        }
    }
    budget = left;
    return resume;
}

void LetInto(Value& dest, Value value) {
    if (value.IsObject())
        value = DefaultValue(value);
    dest = std::move(value);
}

void SetInto(Value& dest, Value value) {
    if (!value.IsObject())
        throw ScriptError(kErrObjectRequired);
    dest = std::move(value);
}

std::int32_t IndexOf(const Value& v) {
    return ToLong(v.Deref());
}

Value* Element(ArrayRep& array, const Value* args, int argc) {
    if (argc == 1 && array.count1 != 0 && IsSmallInt(args[0])) {
        if (Value* item = array.Item1(args[0].I()))
            return item;
        throw ScriptError(kErrSubscript);
    }
    std::int32_t indices[64];
    if (argc > 64 || static_cast<std::size_t>(argc) != array.bounds.size())
        throw ScriptError(kErrSubscript);
    for (int i = 0; i < argc; ++i)
        indices[i] = IndexOf(args[i]);
    const std::ptrdiff_t offset = array.Offset(indices, static_cast<std::size_t>(argc));
    if (offset < 0)
        throw ScriptError(kErrSubscript);
    return &array.items[static_cast<std::size_t>(offset)];
}

constexpr int kMaxArrayNesting = 64;

bool Reaches(const Value& v, const ArrayRep* array, int depth) {
    if (!v.Is(VType::Array))
        return false;
    if (v.Arr() == array || depth > kMaxArrayNesting)
        return true;
    for (const Value& item : v.Arr()->items)
        if (Reaches(item, array, depth + 1))
            return true;
    return false;
}

// Writing through an element reference skips copy-on-write; a value that
// shares `array` would then hold itself. Such a value gets copies of its own.
void Unshare(Value& v, const ArrayRep* array, int depth = 0) {
    if (!Reaches(v, array, depth))
        return;
    if (depth > kMaxArrayNesting)
        throw ScriptError(kErrOutOfStack);
    Value copy = v; // shared now, so MutableArray copies
    ArrayRep& own = copy.MutableArray();
    for (Value& item : own.items)
        Unshare(item, array, depth + 1);
    v = std::move(copy);
}

std::vector<ArrayBound> BoundsFrom(const Value* args, int dims) {
    std::vector<ArrayBound> bounds;
    for (int i = 0; i < dims; ++i) {
        const std::int32_t upper = ToLong(args[i].Deref());
        if (upper < -1)
            throw ScriptError(kErrSubscript);
        bounds.push_back({0, static_cast<std::uint32_t>(upper + 1)});
    }
    return bounds;
}

const ResumeRange* FindResume(const Procedure& proc, std::uint32_t at) {
    const auto& r = proc.resumes;
    auto it = std::upper_bound(r.begin(), r.end(), at,
                               [](std::uint32_t pc, const ResumeRange& range) { return pc < range.start; });
    if (it != r.begin() && at < std::prev(it)->end)
        return &*std::prev(it);
    return nullptr;
}

} // namespace

Interpreter::Interpreter(Engine& engine)
    : engine_(engine), program_(engine.GetProgram()), frames_(kMaxFrames + 1) {
    // An Empty value is all zero bits: zeroed pages from the system make the
    // whole stack Empty without touching it, so only the depth used costs.
    stack_.reset(static_cast<Value*>(std::calloc(kStackValues, sizeof(Value))));
    if (!stack_)
        throw std::bad_alloc();
    sp_ = stack_.get();
    stackEnd_ = stack_.get() + kStackValues;
}

Interpreter::~Interpreter() {
    ClearTo(stack_.get());
}

void Interpreter::ClearTo(Value* newTop) {
    while (sp_ > newTop)
        (--sp_)->Clear();
}

// ------------------------------------------------------------------ frames

// Inline: every script-to-script call goes through here.
inline Value* Interpreter::EnterFrame(const Procedure& proc, Value* args, int argc, Value* result,
                                      ScriptObject* me, bool discard, Value* outer) {
    if (--budget_ <= 0)
        Tick();
    if (argc != proc.paramCount || frames_.size() >= kMaxFrames ||
        args + proc.localCount + proc.maxStack + 8 >= stackEnd_) [[unlikely]]
        CannotEnter(proc, argc);
    if (proc.anyByVal) {
        for (int i = 0; i < argc; ++i) {
            if (args[i].Is(VType::Ref) && !proc.byRef[i])
                args[i] = Value(*args[i].Target());
        }
    }
    // Above the top the stack holds nothing counted, but maybe plain values
    // left by pops: the procedure's own variables start Empty.
    Value* const top = args + proc.localCount;
    for (Value* local = args + argc; local < top; ++local)
        local->ForgetPlain();
    sp_ = top;
    frames_.push_back(Frame{&proc, proc.code.data(), args, result, me, outer, false, discard});
    return top;
}

void Interpreter::CannotEnter(const Procedure& proc, int argc) {
    if (argc != proc.paramCount)
        throw ScriptError(kErrWrongArgCount, proc.name);
    throw ScriptError(kErrOutOfStack);
}

void Interpreter::PopFrame() {
    const Frame frame = frames_.back();
    ClearTo(frame.result);
    frames_.pop_back();
}

Value Interpreter::Call(const Procedure& proc, std::span<const Value> args, ScriptObject* me, Value* outer) {
    if (nesting_ >= kMaxNesting || sp_ + args.size() + 1 >= stackEnd_)
        throw ScriptError(kErrOutOfStack);
    Value* entry = sp_;
    for (const Value& arg : args)
        *sp_++ = arg;
    Value holder = me ? Value::Object(me, true) : Value();
    if (nesting_ == 0)
        RestartClock();
    ++nesting_;
    int* const outerBudget = SetWorkBudget(&budget_);
    try {
        EnterFrame(proc, entry, static_cast<int>(args.size()), entry, me, false, outer);
        Value result = Execute(frames_.size() - 1);
        --nesting_;
        SetWorkBudget(outerBudget);
        return result;
    } catch (...) {
        --nesting_;
        SetWorkBudget(outerBudget);
        ClearTo(entry);
        throw;
    }
}

Value Interpreter::Execute(std::size_t floor) {
    for (;;) {
        try {
            Value out;
            Loop(floor, out);
            return out;
        } catch (ScriptError& error) {
            if (!Recover(error, floor))
                throw;
        } catch (const std::bad_alloc&) {
            ScriptError error(kErrOutOfMemory);
            if (!Recover(error, floor))
                throw error;
        } catch (const std::length_error&) {
            ScriptError error(kErrOutOfMemory);
            if (!Recover(error, floor))
                throw error;
        }
    }
}

// Finds the innermost frame with On Error Resume Next and continues after
// the statement that failed; otherwise unwinds to `floor` and lets it go.
bool Interpreter::Recover(ScriptError& error, std::size_t floor) {
    Frame& top = frames_.back();
    if (!error.positioned) {
        const std::size_t at = static_cast<std::size_t>(top.pc - top.proc->code.data());
        if (at < top.proc->positions.size())
            error.pos = top.proc->positions[at];
        error.positioned = true;
        if (top.proc->source)
            Engine::AttachText(error, *top.proc->source);
    }
    for (std::size_t i = frames_.size(); i-- > floor;) {
        if (!frames_[i].resumeNext || error.fatal)
            continue;
        // Errors are slow (an exception each): a loop of them reads the clock every time.
        if (ClockSaysStop()) {
            ScriptError stop = StopError();
            stop.pos = error.pos;
            stop.text = std::move(error.text);
            stop.positioned = true;
            error = std::move(stop);
            break;
        }
        while (frames_.size() > i + 1)
            PopFrame();
        engine_.Err().Set(error);
        Frame& frame = frames_.back();
        std::uint32_t at = static_cast<std::uint32_t>(frame.pc - frame.proc->code.data());
        ClearTo(frame.base + frame.proc->localCount);
        const ResumeRange* range = FindResume(*frame.proc, at);
        if (range == nullptr && at > 0)
            range = FindResume(*frame.proc, at - 1);
        frame.pc = frame.proc->code.data() + (range ? range->resume : frame.proc->code.size() - 1);
        return true;
    }
    while (frames_.size() > floor)
        PopFrame();
    return false;
}

void Interpreter::RestartClock() {
    budget_ = kTickInterval;
    if (engine_.timeoutMs >= 0)
        deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(engine_.timeoutMs);
}

void Interpreter::AfterOutsideCall() {
    if (std::optional<ScriptError> error = engine_.Events().TakeError())
        throw std::move(*error);
}

void Interpreter::Tick() {
    if (ClockSaysStop())
        throw StopError();
    if (std::optional<ScriptError> error = engine_.Events().TakeError())
        throw std::move(*error);
}

bool Interpreter::ClockSaysStop() {
    budget_ = kTickInterval;
    if (engine_.timeoutMs < 0 || std::chrono::steady_clock::now() < deadline_)
        return false;
    if (engine_.allowUI) {
        ui::Message question;
        question.caption = u"ZORV";
        question.text = std::u16string(kStopQuestion);
        question.icon = ui::Icon::Question;
        question.buttons = ui::Buttons::YesNo;
        if (ui::CurrentUserInterface().ShowMessage(question) != ui::Answer::Yes) {
            RestartClock();
            return false;
        }
    }
    return true;
}

ScriptError Interpreter::StopError() {
    ScriptError stop(kErrScriptStopped);
    stop.fatal = true;
    return stop;
}

// ------------------------------------------------------------------ places

Value& Interpreter::PlaceRef(Place place, int operand) {
    Frame& frame = frames_.back();
    switch (place) {
    case Place::Local:
        return frame.base[operand];
    case Place::Ref:
        return frame.base[operand].Deref();
    case Place::Global:
        return program_.globals[operand];
    case Place::Field:
        if (frame.me == nullptr)
            throw ScriptError(kErrInvalidReference);
        return frame.me->Field(operand);
    case Place::Outer:
        if (frame.outer == nullptr)
            throw ScriptError(kErrInternal);
        return frame.outer[operand].Deref();
    case Place::Name: {
        NameSite& site = const_cast<NameSite&>(frame.proc->sites[operand]);
        if (Value* local = FrameName(site))
            return *local;
        if (Value* global = ResolveGlobal(site))
            return *global;
        if (program_.optionExplicit)
            throw ScriptError(kErrUndefinedVariable, site.name);
        // A name first assigned by code that runs now becomes a script global.
        const int slot = program_.globals.Add();
        program_.symbols[Folded(site.name)] = Symbol{SymbolKind::Variable, slot, {}};
        site.resolvedKind = static_cast<int>(SymbolKind::Variable);
        site.index = slot;
        return program_.globals[slot];
    }
    }
    throw ScriptError(kErrInternal);
}

// A variable that a Dim run by Execute gave the running procedure (or the
// procedure that runs this Execute code); made by that Dim's site. The
// frame's hidden slot holds pairs of a folded name and a one-element array
// whose element is the variable, so that references to it stay valid as
// more names come.
Value* Interpreter::FrameName(const NameSite& site) {
    const Frame& frame = frames_.back();
    Value* holder = nullptr;
    if (frame.proc->frameNamesSlot >= 0)
        holder = &frame.base[frame.proc->frameNamesSlot];
    else if (frame.proc->outerFrameNamesSlot >= 0 && frame.outer != nullptr)
        holder = &frame.outer[frame.proc->outerFrameNamesSlot];
    if (holder == nullptr || (holder->IsEmpty() && !site.declares))
        return nullptr;
    const std::u16string key = Folded(site.name);
    if (holder->Is(VType::Array)) {
        std::vector<Value>& pairs = holder->Arr()->items;
        for (std::size_t i = 0; i + 1 < pairs.size(); i += 2)
            if (pairs[i].Str() == key)
                return &pairs[i + 1].Arr()->items[0];
    }
    if (!site.declares)
        return nullptr;
    if (holder->IsEmpty())
        *holder = Value::AdoptArray(ArrayRep::Make({ArrayBound{0, 0}}));
    std::vector<Value>& pairs = holder->Arr()->items;
    pairs.push_back(Value::String(key));
    pairs.push_back(Value::AdoptArray(ArrayRep::Make({ArrayBound{0, 1}})));
    return &pairs.back().Arr()->items[0];
}

Value* Interpreter::ResolveGlobal(NameSite& site) {
    if (site.resolvedKind == static_cast<int>(SymbolKind::Variable))
        return &program_.globals[site.index];
    const Symbol* symbol = program_.Find(site.name);
    if (symbol && symbol->kind == SymbolKind::Variable) {
        site.resolvedKind = static_cast<int>(SymbolKind::Variable);
        site.index = symbol->index;
        return &program_.globals[site.index];
    }
    return nullptr;
}

// A name passed ByRef: its variable, made on the spot when the name is
// nothing yet (an implicit variable); null when it is a constant, a
// procedure or a member of a named object, which go by value.
Value* Interpreter::AddressOfName(NameSite& site) {
    if (Value* local = FrameName(site))
        return local;
    if (Value* global = ResolveGlobal(site))
        return global;
    if (program_.Find(site.name) != nullptr)
        return nullptr;
    for (const NamedObject& named : engine_.NamedObjects())
        if (named.addMembers && HasMember(named.object.Get(), site.name))
            return nullptr;
    Frame& frame = frames_.back();
    const int operand = static_cast<int>(&site - frame.proc->sites.data());
    return &PlaceRef(Place::Name, operand);
}

Value Interpreter::ResolveLoad(NameSite& site) {
    if (Value* local = FrameName(site))
        return *local;
    if (Value* global = ResolveGlobal(site))
        return *global;
    const Symbol* symbol = program_.Find(site.name);
    if (symbol && symbol->kind == SymbolKind::Constant)
        return symbol->constant;
    if (symbol && symbol->kind == SymbolKind::Procedure)
        return Call(*program_.procedures[symbol->index], {}, nullptr);
    for (const NamedObject& named : engine_.NamedObjects())
        if (named.addMembers && HasMember(named.object.Get(), site.name))
            return AfterOutsideCall(
                InvokeByName(named.object.Get(), site.name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}));
    if (program_.optionExplicit)
        throw ScriptError(kErrUndefinedVariable, site.name);
    return {};
}

// ------------------------------------------------------------------ calls

void Interpreter::CallByName(NameSite& site, int argc) {
    Value* args = sp_ - argc;
    const Symbol* symbol = program_.Find(site.name);
    if (symbol && symbol->kind == SymbolKind::Procedure) {
        EnterFrame(*program_.procedures[symbol->index], args, argc, args, nullptr, false);
        return;
    }
    Value* local = symbol && symbol->kind == SymbolKind::Procedure ? nullptr : FrameName(site);
    if (local != nullptr || (symbol && symbol->kind == SymbolKind::Variable)) {
        // A variable called with arguments: an element or a default member.
        Value* target = local != nullptr ? local : &program_.globals[symbol->index];
        ++sp_;
        std::move_backward(args, sp_ - 1, sp_);
        *args = Value::RefTo(target);
        IndexValue(argc);
        return;
    }
    for (const NamedObject& named : engine_.NamedObjects()) {
        DISPID id = DISPID_UNKNOWN;
        if (named.addMembers && HasMember(named.object.Get(), site.name, &id)) {
            Value result =
                InvokeById(named.object.Get(), id, site.name, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                           std::span<Value>(args, static_cast<std::size_t>(argc)));
            ClearTo(args);
            *sp_++ = std::move(result);
            AfterOutsideCall();
            return;
        }
    }
    throw ScriptError(kErrTypeMismatch, site.name);
}

void Interpreter::CallBuiltin(int index, int argc) {
    Charge(kBuiltinCost);
    const Builtin& builtin = BuiltinAt(index);
    Value* args = sp_ - argc;
    if (argc < builtin.minArgs || argc > builtin.maxArgs)
        throw ScriptError(kErrWrongArgCount, builtin.name);
    for (int i = 0; i < argc; ++i)
        if (args[i].Is(VType::Ref))
            args[i] = Value(*args[i].Target());
    Value result;
    try {
        result = builtin.function(*this, std::span<Value>(args, static_cast<std::size_t>(argc)));
    } catch (ScriptError& error) {
        // Like the original, name the function the error came from.
        if (!error.positioned && error.description == ErrorText(error.number) &&
            error.number < kFirstCompileError)
            error.description = ScriptError(error.number, builtin.name).description;
        throw;
    }
    ClearTo(args);
    *sp_++ = std::move(result);
    AfterOutsideCall();
}

void Interpreter::MemberGet(NameSite& site, int argc, bool asCall) {
    Value* args = sp_ - argc;
    Value& holder = args[-1];
    if (holder.Is(VType::Ref))
        holder = Value(holder.Deref());
    const Value& object = holder.Deref();
    if (ScriptObject* script = object.Script()) {
        const ClassInfo& cls = script->Class();
        if (site.cachedClass != &cls) {
            const ClassMember* member = cls.Find(site.name);
            site.cachedClass = &cls;
            site.cachedMember = member ? static_cast<int>(member - cls.members.data()) : -1;
        }
        if (site.cachedMember < 0)
            throw ScriptError(kErrNoSuchMember, site.name);
        const ClassMember& member = cls.members[site.cachedMember];
        if (!member.isPublic && frames_.back().me != script)
            throw ScriptError(kErrNoSuchMember, site.name);
        if (member.field >= 0) {
            if (argc == 0) {
                Value value = script->Field(member.field);
                holder = std::move(value);
                return;
            }
            Value field = script->Field(member.field);
            if (field.Is(VType::Array)) {
                const Value* element = Element(*field.Arr(), args, argc);
                Value result = *element;
                ClearTo(args);
                holder = std::move(result);
                return;
            }
            throw ScriptError(kErrTypeMismatch, site.name);
        }
        if (member.method == nullptr)
            throw ScriptError(kErrWrongArgCount, site.name);
        (void)asCall;
        EnterFrame(*member.method, args, argc, &holder, script, false);
        return;
    }
    if (!object.IsObject())
        throw ScriptError(kErrObjectRequired, site.name);
    if (object.Obj() == nullptr)
        throw ScriptError(kErrObjectNotSet);
    const Value keep = object;
    Value result = InvokeByName(keep.Obj(), site.name, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                std::span<Value>(args, static_cast<std::size_t>(argc)));
    ClearTo(args);
    holder = std::move(result);
    AfterOutsideCall();
}

void Interpreter::MemberPut(NameSite& site, int argc, bool isSet) {
    Value* args = sp_ - argc - 1;
    Value& holder = args[-1];
    const Value object = holder.Deref();
    Value& value = sp_[-1];
    if (ScriptObject* script = object.Script()) {
        const ClassMember* member = script->Class().Find(site.name);
        if (member == nullptr || (!member->isPublic && frames_.back().me != script))
            throw ScriptError(kErrNoSuchMember, site.name);
        if (member->field >= 0) {
            Value& field = script->Field(member->field);
            if (argc == 0) {
                Value v = PopValue();
                isSet ? SetInto(field, std::move(v)) : LetInto(field, std::move(v));
            } else {
                if (!field.Is(VType::Array))
                    throw ScriptError(kErrTypeMismatch, site.name);
                Value v = PopValue();
                Value* element = Element(field.MutableArray(), args, argc);
                isSet ? SetInto(*element, std::move(v)) : LetInto(*element, std::move(v));
            }
            ClearTo(args - 1);
            return;
        }
        Procedure* setter = isSet ? member->set : member->let;
        if (setter == nullptr && !isSet && member->set == nullptr)
            throw ScriptError(kErrWrongArgCount, site.name);
        if (setter == nullptr)
            throw ScriptError(isSet ? kErrWrongArgCount : kErrWrongArgCount, site.name);
        if (!isSet && value.IsObject())
            value = DefaultValue(value);
        EnterFrame(*setter, args, argc + 1, &holder, script, true);
        return;
    }
    if (!object.IsObject())
        throw ScriptError(kErrObjectRequired, site.name);
    if (object.Obj() == nullptr)
        throw ScriptError(kErrObjectNotSet);
    if (isSet && !value.IsObject())
        throw ScriptError(kErrObjectRequired);
    Value put = PopValue();
    if (!isSet && put.IsObject())
        put = DefaultValue(put);
    InvokeByName(object.Obj(), site.name, DISPATCH_PROPERTYPUT,
                 std::span<Value>(args, static_cast<std::size_t>(argc)), &put, isSet);
    ClearTo(args - 1);
    AfterOutsideCall();
}

// callee(args): an array element, or an object's default member.
void Interpreter::IndexValue(int argc) {
    Value* args = sp_ - argc;
    Value& holder = args[-1];
    const Value& callee = holder.Deref();
    if (callee.Is(VType::Array)) {
        if (argc == 0) {
            Value copy = callee;
            holder = std::move(copy);
            return;
        }
        Value result = *Element(*callee.Arr(), args, argc);
        ClearTo(args);
        holder = std::move(result);
        return;
    }
    if (callee.IsObject()) {
        if (callee.Obj() == nullptr)
            throw ScriptError(kErrObjectNotSet);
        if (ScriptObject* script = callee.Script()) {
            const ClassInfo& cls = script->Class();
            if (cls.defaultMember < 0 || cls.members[cls.defaultMember].method == nullptr)
                throw ScriptError(kErrNoSuchMember);
            Value keep = callee;
            holder = std::move(keep);
            EnterFrame(*cls.members[cls.defaultMember].method, args, argc, &holder, script, false);
            return;
        }
        if (const Procedure* target = ReferencedProcedure(callee.Obj(), engine_)) {
            // GetRef's object: a direct call, so ByRef arguments and the runaway guard work as usual.
            Value keep = callee;
            holder = std::move(keep);
            EnterFrame(*target, args, argc, &holder, nullptr, false);
            return;
        }
        const Value keep = callee;
        Value result = InvokeById(keep.Obj(), DISPID_VALUE, u"", DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                  std::span<Value>(args, static_cast<std::size_t>(argc)));
        ClearTo(args);
        holder = std::move(result);
        AfterOutsideCall();
        return;
    }
    if (argc == 0) {
        Value copy = callee;
        holder = std::move(copy);
        return;
    }
    throw ScriptError(kErrTypeMismatch);
}

// A ByRef argument a(i): a reference to the element itself.
void Interpreter::ElementAddress(int argc) {
    Value* args = sp_ - argc;
    Value& target = args[-1].Deref();
    if (!target.Is(VType::Array)) {
        IndexValue(argc);
        return;
    }
    ArrayRep& array = target.MutableArray();
    Value* element = Element(array, args, argc);
    Value reference = Value::RefToElement(&array, static_cast<std::uint32_t>(element - array.items.data()));
    ClearTo(args);
    args[-1] = std::move(reference);
}

void Interpreter::IndexStore(int argc, bool isSet) {
    Value* args = sp_ - argc - 1;
    Value& holder = args[-1];
    Value& target = holder.Deref();
    if (target.Is(VType::Array)) {
        Value v = PopValue();
        if (isSet && !v.IsObject())
            throw ScriptError(kErrObjectRequired);
        if (!isSet && v.IsObject())
            v = DefaultValue(v);
        ArrayRep& array = target.MutableArray();
        Value* element = Element(array, args, argc);
        *element = std::move(v);
        ClearTo(args - 1);
        return;
    }
    if (target.IsObject()) {
        if (target.Obj() == nullptr)
            throw ScriptError(kErrObjectNotSet);
        Value put = PopValue();
        const Value keep = target;
        InvokeById(keep.Obj(), DISPID_VALUE, u"", DISPATCH_PROPERTYPUT,
                   std::span<Value>(args, static_cast<std::size_t>(argc)), &put, isSet);
        ClearTo(args - 1);
        AfterOutsideCall();
        return;
    }
    throw ScriptError(kErrTypeMismatch);
}

void Interpreter::NewInstance(NameSite& site) {
    const Symbol* symbol = program_.Find(site.name);
    if (symbol == nullptr || symbol->kind != SymbolKind::Class) {
        // Classes of the runtime library (RegExp) when the script defines none of that name.
        Value builtin = NewBuiltinClass(site.name);
        if (builtin.IsEmpty())
            throw ScriptError(kErrClassNotDefined, site.name);
        *sp_++ = std::move(builtin);
        return;
    }
    Value object = NewObject(*program_.classes[symbol->index]);
    *sp_++ = std::move(object);
}

Value Interpreter::NewObject(const ClassInfo& cls) {
    auto* raw = new ScriptObject(engine_, cls);
    Value object = Value::Object(raw, true);
    raw->Release(); // the value holds the one reference
    for (std::size_t i = 0; i < cls.fields.size(); ++i) {
        const FieldInfo& field = cls.fields[i];
        if (!field.isArray)
            continue;
        std::vector<ArrayBound> bounds;
        for (std::int32_t upper : field.bounds)
            bounds.push_back({0, static_cast<std::uint32_t>(upper + 1)});
        ArrayRep* array = ArrayRep::Make(std::move(bounds));
        array->fixed = !field.bounds.empty();
        raw->Field(static_cast<int>(i)) = Value::AdoptArray(array);
    }
    if (cls.initialize)
        Call(*cls.initialize, {}, raw);
    return object;
}

void Interpreter::Terminate(ScriptObject& object) {
    if (object.Class().terminate == nullptr)
        return;
    try {
        Call(*object.Class().terminate, {}, &object);
    } catch (...) {
        // An error in Class_Terminate has nowhere to go.
    }
}

Value Interpreter::CallMember(ScriptObject& object, int memberIndex, bool put, bool putRef,
                              std::span<Value> args) {
    const ClassInfo& cls = object.Class();
    const ClassMember& member = cls.members[memberIndex];
    if (member.field >= 0) {
        Value& field = object.Field(member.field);
        if (put) {
            if (args.empty())
                throw ScriptError(kErrWrongArgCount, member.name);
            Value v = args.back().Deref();
            Value* dest = &field;
            if (args.size() > 1) {
                if (!field.Is(VType::Array))
                    throw ScriptError(kErrTypeMismatch, member.name);
                dest = Element(field.MutableArray(), args.data(), static_cast<int>(args.size() - 1));
            }
            putRef ? SetInto(*dest, std::move(v)) : LetInto(*dest, std::move(v));
            return {};
        }
        if (args.empty())
            return field;
        if (!field.Is(VType::Array))
            throw ScriptError(kErrTypeMismatch, member.name);
        return *Element(*field.Arr(), args.data(), static_cast<int>(args.size()));
    }
    const Procedure* proc = put ? (putRef ? member.set : member.let) : member.method;
    if (proc == nullptr && put)
        proc = putRef ? member.let : member.set;
    if (proc == nullptr)
        throw ScriptError(kErrWrongArgCount, member.name);
    return Call(*proc, args, &object);
}

// ------------------------------------------------------------------ loops

bool Interpreter::ForContinues(const Value& counter, const Value& end, const Value& step) {
    bool isNull = false;
    const int direction = Compare(step, Value::Integer(0), CompareMode::Binary, isNull);
    const int c = Compare(counter, end, CompareMode::Binary, isNull);
    if (isNull)
        throw ScriptError(kErrInvalidUseOfNull);
    return direction >= 0 ? c <= 0 : c >= 0;
}

void Interpreter::ForPrep(Place place, int operand, int temp) {
    Value step = ToNumeric(PopValue());
    Value end = ToNumeric(PopValue());
    Value start = ToNumeric(PopValue());
    if (step.IsNull() || end.IsNull() || start.IsNull())
        throw ScriptError(kErrInvalidUseOfNull);
    Frame& frame = frames_.back();
    const bool integerLoop = IsSmallInt(end) && IsSmallInt(step);
    frame.base[temp + 2] = integerLoop ? Value::Long(step.I()) : Value();
    frame.base[temp] = std::move(end);
    frame.base[temp + 1] = std::move(step);
    PlaceRef(place, operand) = std::move(start);
}

// Next for any counter, end and step: the sum and the comparison as the
// operators do them. True while the loop goes on.
bool Interpreter::ForStep(Place place, int operand, int temp) {
    Value& counter = PlaceRef(place, operand);
    const Value* temps = frames_.back().base + temp;
    counter = Add(counter, temps[1]);
    return ForContinues(counter, temps[0], temps[1]);
}

bool Interpreter::ForEachPrep(int temp) {
    Value collection = PopValue();
    const Value& c = collection.Deref();
    Frame& frame = frames_.back();
    if (c.Is(VType::Array)) {
        if (c.Arr()->items.empty())
            return false;
        frame.base[temp] = c;
        frame.base[temp + 1] = Value::Long(0);
        return true;
    }
    if (c.IsObject()) {
        if (c.Obj() == nullptr)
            throw ScriptError(kErrObjectNotSet);
        com::ComPtr<IEnumVARIANT> e = NewEnumerator(c.Obj());
        if (!e)
            throw ScriptError(kErrNotACollection);
        auto holder = com::MakeObject<EnumeratorHolder>(std::move(e));
        frame.base[temp] = Value::Object(holder.Get());
        frame.base[temp + 1] = Value::Long(-1);
        return true;
    }
    throw ScriptError(kErrNotACollection);
}

bool Interpreter::ForEachNext(int temp) {
    Frame& frame = frames_.back();
    Value& state = frame.base[temp];
    Value& position = frame.base[temp + 1];
    if (state.Is(VType::Array)) {
        const std::int32_t i = position.I();
        if (static_cast<std::size_t>(i) >= state.Arr()->items.size())
            return false;
        position = Value::Long(i + 1);
        *sp_++ = state.Arr()->items[static_cast<std::size_t>(i)];
        return true;
    }
    if (!state.IsObject() || state.Obj() == nullptr)
        return false;
    auto* holder = static_cast<EnumeratorHolder*>(state.Obj());
    VARIANT item;
    VariantInit(&item);
    ULONG fetched = 0;
    if (holder->enumerator->Next(1, &item, &fetched) != S_OK || fetched != 1) {
        VariantClear(&item);
        return false;
    }
    Value value = FromVariant(item);
    VariantClear(&item);
    *sp_++ = std::move(value);
    return true;
}

// ------------------------------------------------------------------ arrays

void Interpreter::DimArray(Place place, int operand, int dims) {
    Value* bounds = sp_ - dims;
    ArrayRep* array = ArrayRep::Make(BoundsFrom(bounds, dims));
    array->fixed = dims > 0;
    Value value = Value::AdoptArray(array);
    ClearTo(bounds);
    PlaceRef(place, operand) = std::move(value);
}

void Interpreter::ReDim(Place place, int operand, int dims, bool preserve) {
    Value* boundValues = sp_ - dims;
    std::vector<ArrayBound> bounds = BoundsFrom(boundValues, dims);
    ClearTo(boundValues);
    Value& target = PlaceRef(place, operand);
    if (target.Is(VType::Array) && target.Arr()->fixed)
        throw ScriptError(kErrArrayLocked);
    if (target.Is(VType::Array) && target.Arr()->locks > 0)
        throw ScriptError(kErrArrayLocked);
    // An array this variable alone holds keeps its storage when it grows.
    if (preserve && target.Is(VType::Array) && target.Arr()->refs == 1 && target.Arr()->GrowInPlace(bounds))
        return;
    ArrayRep* fresh = ArrayRep::Make(bounds);
    Value value = Value::AdoptArray(fresh);
    if (preserve && target.Is(VType::Array) && !target.Arr()->bounds.empty()) {
        const ArrayRep& old = *target.Arr();
        if (old.bounds.size() != bounds.size())
            throw ScriptError(kErrSubscript);
        for (std::size_t d = 0; d + 1 < bounds.size(); ++d)
            if (old.bounds[d].count != bounds[d].count)
                throw ScriptError(kErrSubscript);
        const std::size_t keep = std::min(old.items.size(), fresh->items.size());
        SpendWork(keep); // a loop copying ever longer arrays still meets the clock
        std::copy(old.items.begin(), old.items.begin() + static_cast<std::ptrdiff_t>(keep),
                  fresh->items.begin());
    }
    target = std::move(value);
}

// The general target = target + right; the place is found again after the
// sum, since adding may have run script code (an object's default member).
void Interpreter::AddInto(Place place, int operand, const Value& right) {
    Value sum = Add(PlaceRef(place, operand), right);
    if (sum.IsObject())
        sum = DefaultValue(sum);
    PlaceRef(place, operand) = std::move(sum);
}

void Interpreter::Erase(Place place, int operand) {
    Value& target = PlaceRef(place, operand);
    if (!target.Is(VType::Array))
        throw ScriptError(kErrTypeMismatch, u"Erase");
    if (target.Arr()->locks > 0)
        throw ScriptError(kErrArrayLocked);
    if (target.Arr()->fixed) {
        ArrayRep& array = target.MutableArray();
        for (Value& item : array.items)
            item = Value();
        return;
    }
    target = Value::AdoptArray(ArrayRep::Make({}));
}

// ------------------------------------------------------------------ the loop

// One handler is VBS_OP(name) body VBS_END. The handler moves pc past its
// instruction first, by the width the opcode table gives, so that the body
// reads its operands through `op` and a jump simply sets pc. A handler that
// throws does so before it moves pc elsewhere, so pc - 1 still lies in the
// failing instruction. The body is a do-while: `break` leaves it, ending
// the lives of its locals, before the next instruction is fetched.
//
// The top of the value stack lives in the local `sp` between instructions,
// where it stays in a register; `sp_` is right only inside a VBS_OP body
// (which gets it on entry and hands it back at its end) and inside
// VBS_SLOW. A VBS_FAST body works on `sp` alone: it must not throw, call
// anything that may run script code or release a counted value except
// within VBS_SLOW (whose statements must not `break`).
#if ZORV_VBS_SWITCH_DISPATCH
// The portable build: one switch in a loop.
#define VBS_DISPATCH                                                                                         \
    for (;;)                                                                                                 \
        switch (static_cast<Op>(*pc))
#define VBS_LABEL(name) case Op::name:
#define VBS_NEXT continue
#else
// Direct threading: every handler ends with its own jump to the next one
// (labels as values, in GCC and Clang), which branch predictors follow far
// better than one shared switch.
#define VBS_NEXT goto* kHandlers[*pc]
#define VBS_DISPATCH VBS_NEXT;
#define VBS_LABEL(name) L_##name:
#endif
#define VBS_FAST(name)                                                                                       \
    VBS_LABEL(name) do {                                                                                     \
        [[maybe_unused]] const std::int32_t* const op = pc;                                                  \
        pc += kWidth[static_cast<int>(Op::name)];
#define VBS_FAST_END                                                                                         \
    }                                                                                                        \
    while (false)                                                                                            \
        ;                                                                                                    \
    VBS_NEXT;
#define VBS_OP(name)                                                                                         \
    VBS_FAST(name)                                                                                           \
        sp_ = sp;
#define VBS_END                                                                                              \
    }                                                                                                        \
    while (false)                                                                                            \
        ;                                                                                                    \
    sp = sp_;                                                                                                \
    VBS_NEXT;
#define VBS_SLOW(...)                                                                                        \
    {                                                                                                        \
        sp_ = sp;                                                                                            \
        {__VA_ARGS__} sp = sp_;                                                                              \
    }
#define VBS_OPERAND(n) (op[(n) + 1])
// A step that may call script code in a new frame (a procedure reached by
// name, a class's property or default member): execution goes on in that
// frame, or after the instruction when none was entered. A macro, not a
// lambda, so that pc and the frame stay in registers.
#define VBS_MAY_ENTER_FRAME(step)                                                                            \
    do {                                                                                                     \
        frame->pc = pc;                                                                                      \
        const std::size_t depth = frames_.size();                                                            \
        step;                                                                                                \
        if (frames_.size() != depth)                                                                         \
            reload();                                                                                        \
    } while (0)
#define VBS_BINARY(function)                                                                                 \
    {                                                                                                        \
        Value right = PopValue();                                                                            \
        Value left = PopValue();                                                                             \
        *sp_++ = function(left, right);                                                                      \
    }
// Two plain numbers: an Integer or Long sum, difference or product, or a
// Double one when either is a Double (and the result stays finite).
#define VBS_ARITHMETIC(sign, function)                                                                       \
    {                                                                                                        \
        Value& l = sp[-2];                                                                                   \
        const Value& r = sp[-1];                                                                             \
        if (IsSmallInt(l) && IsSmallInt(r)) {                                                                \
            const bool bothInteger = l.Is(VType::Integer) && r.Is(VType::Integer);                           \
            l.ReplacePlain(IntResult(std::int64_t{l.I()} sign r.I(), bothInteger));                          \
            --sp;                                                                                            \
            break;                                                                                           \
        }                                                                                                    \
        if ((l.Is(VType::Double) || IsSmallInt(l)) && (r.Is(VType::Double) || IsSmallInt(r))) {              \
            const double d = (l.Is(VType::Double) ? l.D() : l.I())sign(r.Is(VType::Double) ? r.D() : r.I()); \
            if (std::isfinite(d)) {                                                                          \
                l.ReplacePlain(Value::Double(d));                                                            \
                --sp;                                                                                        \
                break;                                                                                       \
            }                                                                                                \
        }                                                                                                    \
        VBS_SLOW(VBS_BINARY(function))                                                                       \
    }
// \ and Mod on two Integers or Longs and a divisor other than zero: the
// quotient or remainder typed as the operators type it (Integer when both
// are), the one result outside the Long range (the lowest Long \ -1) left
// to the general path and its overflow error.
#define VBS_INTEGER_DIVISION(sign, function)                                                                 \
    {                                                                                                        \
        Value& l = sp[-2];                                                                                   \
        const Value& r = sp[-1];                                                                             \
        if (BothSmallInt(l, r) && r.I() != 0) {                                                              \
            const std::int64_t n = std::int64_t{l.I()} sign r.I();                                           \
            if (n >= INT32_MIN && n <= INT32_MAX) {                                                          \
                l.ReplacePlain(IntResult(n, l.Is(VType::Integer) && r.Is(VType::Integer)));                  \
                --sp;                                                                                        \
                break;                                                                                       \
            }                                                                                                \
        }                                                                                                    \
        VBS_SLOW(VBS_BINARY(function))                                                                       \
    }
// The same on two variables named by direct operands, pushing the result.
#define VBS_DIRECT_ARITHMETIC(sign, function)                                                                \
    {                                                                                                        \
        const Value& l = direct(VBS_OPERAND(0));                                                             \
        const Value& r = direct(VBS_OPERAND(1));                                                             \
        if (BothSmallInt(l, r)) {                                                                            \
            const bool bothInteger = l.Is(VType::Integer) && r.Is(VType::Integer);                           \
            ::new (static_cast<void*>(sp++)) Value(IntResult(std::int64_t{l.I()} sign r.I(), bothInteger));  \
            break;                                                                                           \
        }                                                                                                    \
        double x, y;                                                                                         \
        if (PlainDouble(l, x) && PlainDouble(r, y) && std::isfinite(x sign y)) {                             \
            ::new (static_cast<void*>(sp++)) Value(Value::Double(x sign y));                                 \
            break;                                                                                           \
        }                                                                                                    \
        VBS_SLOW(const Value left = l; const Value right = r; *sp_++ = function(left, right);)               \
    }
#define VBS_COMPARE(relation, test)                                                                          \
    {                                                                                                        \
        Value& l = sp[-2];                                                                                   \
        const Value& r = sp[-1];                                                                             \
        if (IsSmallInt(l) && IsSmallInt(r)) {                                                                \
            l.ReplacePlain(Value::Bool(l.I() test r.I()));                                                   \
            --sp;                                                                                            \
            break;                                                                                           \
        }                                                                                                    \
        VBS_SLOW(Value right = PopValue(); Value left = PopValue();                                          \
                 *sp_++ = CompareValues(left, right, Relation::relation);)                                   \
    }

#define VBS_COMPARE_JUMP(relation, test)                                                                     \
    {                                                                                                        \
        const Value& l = sp[-2];                                                                             \
        const Value& r = sp[-1];                                                                             \
        bool holds;                                                                                          \
        if (IsSmallInt(l) && IsSmallInt(r)) {                                                                \
            holds = l.I() test r.I();                                                                        \
            sp -= 2;                                                                                         \
        } else {                                                                                             \
            VBS_SLOW(Value right = PopValue(); Value left = PopValue();                                      \
                     holds = IsTrue(CompareValues(left, right, Relation::relation));)                        \
        }                                                                                                    \
        if (!holds)                                                                                          \
            pc = proc->code.data() + VBS_OPERAND(0);                                                         \
    }

#define VBS_COMPARE_VAR_INT_JUMP(relation, test)                                                             \
    {                                                                                                        \
        const Value& v = base[VBS_OPERAND(0)].Deref();                                                       \
        bool holds;                                                                                          \
        if (IsSmallInt(v)) {                                                                                 \
            holds = v.I() test VBS_OPERAND(1);                                                               \
        } else {                                                                                             \
            VBS_SLOW(const Value left = v;                                                                   \
                     const Value right = Value::Integer(static_cast<std::int16_t>(VBS_OPERAND(1)));          \
                     holds = IsTrue(CompareValues(left, right, Relation::relation));)                        \
        }                                                                                                    \
        if (!holds)                                                                                          \
            pc = proc->code.data() + VBS_OPERAND(2);                                                         \
    }

#define VBS_COMPARE_INT_JUMP(relation, test)                                                                 \
    {                                                                                                        \
        const Value& l = sp[-1];                                                                             \
        bool holds;                                                                                          \
        if (IsSmallInt(l)) {                                                                                 \
            holds = l.I() test VBS_OPERAND(0);                                                               \
            --sp;                                                                                            \
        } else {                                                                                             \
            VBS_SLOW(Value left = PopValue();                                                                \
                     const Value right = Value::Integer(static_cast<std::int16_t>(VBS_OPERAND(0)));          \
                     holds = IsTrue(CompareValues(left, right, Relation::relation));)                        \
        }                                                                                                    \
        if (!holds)                                                                                          \
            pc = proc->code.data() + VBS_OPERAND(1);                                                         \
    }

// Next on the counter `variable` (a local or a global, the operand 0),
// the loop's temps at the operand 1 and its body the operand 2 words back:
// LongForStep's test written out, so that the common step jumps straight
// back without a flag to test.
#define VBS_FOR_NEXT(variable, place)                                                                        \
    {                                                                                                        \
        if (--budget_ <= 0) [[unlikely]]                                                                     \
            VBS_SLOW(Tick();)                                                                                \
        Value& counter = variable;                                                                           \
        const Value* const temps = base + VBS_OPERAND(1);                                                    \
        std::int32_t next;                                                                                   \
        if (counter.Is(VType::Long) && temps[2].Is(VType::Long) &&                                           \
            !__builtin_add_overflow(counter.I(), temps[2].I(), &next)) [[likely]] {                          \
            counter.ReplacePlain(Value::Long(next));                                                         \
            const bool more = CountGoesOn(next, temps[0].I(), temps[2].I());                                 \
            pc = more ? op - VBS_OPERAND(2) : pc;                                                            \
            VBS_NEXT;                                                                                        \
        }                                                                                                    \
        bool more;                                                                                           \
        if (!IntegerForStep(counter, temps, more))                                                           \
            VBS_SLOW(more = ForStep(place, VBS_OPERAND(0), VBS_OPERAND(1));)                                 \
        if (more)                                                                                            \
            pc = op - VBS_OPERAND(2);                                                                        \
    }

// After a statement's fast path, pc past it: when pc is at the Next of a
// counting loop whose body is that statement alone (from op on), the rest of
// the loop runs in RunCountingLoop, with `body` doing the statement.
#define VBS_RUN_REST_OF_LOOP(...)                                                                            \
    if ((static_cast<Op>(*pc) == Op::ForNextLocal || static_cast<Op>(*pc) == Op::ForNextGlobal) &&           \
        pc - pc[3] == op) {                                                                                  \
        pc = RunCountingLoop(__VA_ARGS__, pc, base, globals, budget_);                                       \
        break;                                                                                               \
    }

// Leaves the frame: its result goes where the caller wanted it.
#define VBS_RETURN()                                                                                         \
    /* The destination lies at or below base (the first argument's slot, or */                               \
    /* the callee's below it). The frame's slots: plain ones simply left */                                  \
    /* above the top (which holds nothing counted), the rest released in */                                  \
    /* order. A plain result over a plain destination goes there first. */                                   \
    Value* const destination = frame->result;                                                                \
    const bool discard = frame->discardResult;                                                               \
    Value* const from = proc->resultSlot >= 0 ? base + proc->resultSlot : nullptr;                           \
    if (!destination->Counted() && (from == nullptr || !from->Counted())) {                                  \
        destination->ReplacePlain(from != nullptr ? std::move(*from) : Value());                             \
        while (sp > destination + 1) {                                                                       \
            if (sp[-1].Counted()) {                                                                          \
                VBS_SLOW(ClearTo(destination + 1);)                                                          \
                break;                                                                                       \
            }                                                                                                \
            --sp;                                                                                            \
        }                                                                                                    \
        sp = destination + 1;                                                                                \
        frames_.pop_back();                                                                                  \
    } else {                                                                                                 \
        Value result = from != nullptr ? std::move(*from) : Value();                                         \
        while (sp > base) {                                                                                  \
            if (sp[-1].Counted()) {                                                                          \
                VBS_SLOW(ClearTo(base);)                                                                     \
                break;                                                                                       \
            }                                                                                                \
            --sp;                                                                                            \
        }                                                                                                    \
        frames_.pop_back();                                                                                  \
        if (sp <= destination)                                                                               \
            sp = destination + 1;                                                                            \
        if (destination->Counted()) {                                                                        \
            VBS_SLOW(*destination = std::move(result);)                                                      \
        } else {                                                                                             \
            destination->ReplacePlain(std::move(result));                                                    \
        }                                                                                                    \
    }                                                                                                        \
    if (discard)                                                                                             \
        VBS_SLOW(ClearTo(destination);)                                                                      \
    if (frames_.end() == floorEnd) {                                                                         \
        sp_ = sp;                                                                                            \
        out = std::move(*destination);                                                                       \
        ClearTo(destination);                                                                                \
        return;                                                                                              \
    }                                                                                                        \
    reload();

void Interpreter::Loop(std::size_t floor, Value& out) {
    Value* sp = sp_;
    Frame* frame = &frames_.back();
    const std::int32_t* pc = frame->pc;
    Value* base = frame->base;
    const Procedure* proc = frame->proc;
    Value* const globals = program_.globals.Data();  // never moves
    const Frame* const floorEnd = frames_.at(floor); // the frames stay in one block
    // The common places without a call; the rest through PlaceRef.
    auto slot = [&](Place place, int operand) -> Value& {
        if (place == Place::Local)
            return base[operand];
        if (place == Place::Global)
            return globals[operand];
        if (place == Place::Ref)
            return base[operand].Deref();
        return PlaceRef(place, operand);
    };
    // The same without a call, for the fast paths: null for the places
    // that may fail (a field without Me, a name to resolve).
    auto plainSlot = [&](Place place, int operand) -> Value* {
        if (place == Place::Local)
            return base + operand;
        if (place == Place::Global)
            return globals + operand;
        if (place == Place::Ref)
            return &base[operand].Deref();
        return nullptr;
    };
    // A direct operand: a local slot, or ~slot for a script global.
    auto direct = [&](std::int32_t operand) -> Value& {
        return operand >= 0 ? base[operand] : globals[~operand];
    };
    auto reload = [&] {
        frame = &frames_.back();
        pc = frame->pc;
        base = frame->base;
        proc = frame->proc;
    };
#if !ZORV_VBS_SWITCH_DISPATCH
    static const void* const kHandlers[] = {
#define VBS_OP_LABEL(name, operands, effect) &&L_##name,
        VBS_OPCODES(VBS_OP_LABEL)
#undef VBS_OP_LABEL
    };
#endif
    try {
        VBS_DISPATCH {
            VBS_FAST(Pop)
                if (!sp[-1].Counted()) {
                    (--sp)->ForgetPlain();
                    break;
                }
                VBS_SLOW(Value dying = PopValue();)
            VBS_FAST_END
            VBS_FAST(PushConst)
                ::new (static_cast<void*>(sp++)) Value(proc->constants[VBS_OPERAND(0)]);
            VBS_FAST_END
            VBS_FAST(PushInt)
                ::new (static_cast<void*>(sp++))
                    Value(Value::Integer(static_cast<std::int16_t>(VBS_OPERAND(0))));
            VBS_FAST_END
            VBS_FAST(PushEmpty)
                ::new (static_cast<void*>(sp++)) Value();
            VBS_FAST_END
            VBS_OP(PushMissing)
                *sp_++ = Value::Missing();
            VBS_END
            VBS_FAST(LoadLocal)
                ::new (static_cast<void*>(sp++)) Value(base[VBS_OPERAND(0)]);
            VBS_FAST_END
            VBS_FAST(StoreLocal)
                Value& target = base[VBS_OPERAND(0)];
                if (!target.Counted() && !sp[-1].IsObject()) {
                    target.ReplacePlain(std::move(sp[-1]));
                    --sp;
                    break;
                }
                VBS_SLOW(if (sp_[-1].IsObject()) sp_[-1] = DefaultValue(sp_[-1]);
                         base[VBS_OPERAND(0)] = std::move(sp_[-1]); --sp_;)
            VBS_FAST_END
            VBS_FAST(LoadRef)
                ::new (static_cast<void*>(sp++)) Value(base[VBS_OPERAND(0)].Deref());
            VBS_FAST_END
            VBS_FAST(LoadGlobal)
                ::new (static_cast<void*>(sp++)) Value(globals[VBS_OPERAND(0)]);
            VBS_FAST_END
            VBS_FAST(StoreGlobal)
                Value& target = globals[VBS_OPERAND(0)];
                if (!target.Counted() && !sp[-1].IsObject()) {
                    target.ReplacePlain(std::move(sp[-1]));
                    --sp;
                    break;
                }
                VBS_SLOW(if (sp_[-1].IsObject()) sp_[-1] = DefaultValue(sp_[-1]);
                         globals[VBS_OPERAND(0)] = std::move(sp_[-1]); --sp_;)
            VBS_FAST_END
            VBS_OP(Load)
                const Place place = static_cast<Place>(VBS_OPERAND(0));
                if (place == Place::Name) {
                    frame->pc = pc;
                    Value v = ResolveLoad(const_cast<NameSite&>(proc->sites[VBS_OPERAND(1)]));
                    *sp_++ = std::move(v);
                } else {
                    *sp_++ = slot(place, VBS_OPERAND(1));
                }
            VBS_END
            VBS_OP(Store)
                const std::int32_t placeBits = VBS_OPERAND(0);
                Value v = PopValue();
                if (!(placeBits & 0x100) && v.IsObject())
                    v = DefaultValue(v);
                const Place place = static_cast<Place>(placeBits & 0xFF);
                if (v.Is(VType::Array) && (place == Place::Ref || place == Place::Outer)) {
                    const Value& raw =
                        place == Place::Ref ? base[VBS_OPERAND(1)] : frame->outer[VBS_OPERAND(1)];
                    if (const ArrayRep* pinned = raw.PinnedArray())
                        Unshare(v, pinned);
                }
                PlaceRef(place, VBS_OPERAND(1)) = std::move(v);
            VBS_END
            VBS_OP(SetStore)
                Value v = PopValue();
                SetInto(PlaceRef(static_cast<Place>(VBS_OPERAND(0) & 0xFF), VBS_OPERAND(1)), std::move(v));
            VBS_END
            VBS_OP(Addr)
                const Place place = static_cast<Place>(VBS_OPERAND(0));
                if (place == Place::Name) {
                    NameSite& site = const_cast<NameSite&>(proc->sites[VBS_OPERAND(1)]);
                    frame->pc = pc;
                    if (Value* global = AddressOfName(site)) {
                        *sp_++ = Value::RefTo(global);
                    } else {
                        frame->pc = pc;
                        Value v = ResolveLoad(site);
                        *sp_++ = std::move(v);
                    }
                } else {
                    *sp_++ = Value::RefTo(&slot(place, VBS_OPERAND(1)));
                }
            VBS_END
            VBS_OP(LoadMe)
                if (frame->me == nullptr)
                    throw ScriptError(kErrInvalidMe);
                *sp_++ = Value::Object(frame->me, true);
            VBS_END
            VBS_FAST(Add)
                VBS_ARITHMETIC(+, Add)
            VBS_FAST_END
            VBS_FAST(Sub)
                VBS_ARITHMETIC(-, Subtract)
            VBS_FAST_END
            VBS_FAST(Mul)
                VBS_ARITHMETIC(*, Multiply)
            VBS_FAST_END
            VBS_OP(Div)
                VBS_BINARY(Divide)
            VBS_END
            VBS_FAST(IntDiv)
                VBS_INTEGER_DIVISION(/, IntDivide)
            VBS_FAST_END
            VBS_FAST(Mod)
                VBS_INTEGER_DIVISION(%, Modulo)
            VBS_FAST_END
            VBS_OP(Pow)
                VBS_BINARY(Power)
            VBS_END
            VBS_OP(Concat)
                VBS_BINARY(Concat)
            VBS_END
            VBS_OP(Neg)
                Value v = PopValue();
                *sp_++ = Negate(v);
            VBS_END
            VBS_OP(Not)
                Value v = PopValue();
                *sp_++ = vbs::Not(v);
            VBS_END
            VBS_OP(And)
                VBS_BINARY(vbs::And)
            VBS_END
            VBS_OP(Or)
                VBS_BINARY(vbs::Or)
            VBS_END
            VBS_OP(Xor)
                VBS_BINARY(vbs::Xor)
            VBS_END
            VBS_OP(Eqv)
                VBS_BINARY(vbs::Eqv)
            VBS_END
            VBS_OP(Imp)
                VBS_BINARY(vbs::Imp)
            VBS_END
            VBS_FAST(Eq)
                VBS_COMPARE(Eq, ==)
            VBS_FAST_END
            VBS_FAST(Ne)
                VBS_COMPARE(Ne, !=)
            VBS_FAST_END
            VBS_FAST(Lt)
                VBS_COMPARE(Lt, <)
            VBS_FAST_END
            VBS_FAST(Gt)
                VBS_COMPARE(Gt, >)
            VBS_FAST_END
            VBS_FAST(Le)
                VBS_COMPARE(Le, <=)
            VBS_FAST_END
            VBS_FAST(Ge)
                VBS_COMPARE(Ge, >=)
            VBS_FAST_END
            VBS_OP(Is)
                Value right = PopValue();
                Value left = PopValue();
                *sp_++ = Value::Bool(SameObject(left, right));
            VBS_END
            VBS_FAST(AddInt)
                Value& l = sp[-1];
                if (IsSmallInt(l)) {
                    l.ReplacePlain(IntResult(std::int64_t{l.I()} + VBS_OPERAND(0), l.Is(VType::Integer)));
                    break;
                }
                VBS_SLOW(Value left = PopValue();
                         *sp_++ = Add(left, Value::Integer(static_cast<std::int16_t>(VBS_OPERAND(0))));)
            VBS_FAST_END
            VBS_FAST(LoadAddInt)
                const Value& v = base[VBS_OPERAND(0)].Deref();
                if (IsSmallInt(v)) {
                    ::new (static_cast<void*>(sp++))
                        Value(IntResult(std::int64_t{v.I()} + VBS_OPERAND(1), v.Is(VType::Integer)));
                    break;
                }
                VBS_SLOW(const Value left = v;
                         *sp_++ = Add(left, Value::Integer(static_cast<std::int16_t>(VBS_OPERAND(1))));)
            VBS_FAST_END
            VBS_FAST(LoadSubInt)
                const Value& v = base[VBS_OPERAND(0)].Deref();
                if (IsSmallInt(v)) {
                    ::new (static_cast<void*>(sp++))
                        Value(IntResult(std::int64_t{v.I()} - VBS_OPERAND(1), v.Is(VType::Integer)));
                    break;
                }
                VBS_SLOW(const Value left = v;
                         *sp_++ = Subtract(left, Value::Integer(static_cast<std::int16_t>(VBS_OPERAND(1))));)
            VBS_FAST_END
            VBS_FAST(SubInt)
                Value& l = sp[-1];
                if (IsSmallInt(l)) {
                    l.ReplacePlain(IntResult(std::int64_t{l.I()} - VBS_OPERAND(0), l.Is(VType::Integer)));
                    break;
                }
                VBS_SLOW(Value left = PopValue();
                         *sp_++ = Subtract(left, Value::Integer(static_cast<std::int16_t>(VBS_OPERAND(0))));)
            VBS_FAST_END
            VBS_FAST(JumpUnlessEqInt)
                VBS_COMPARE_INT_JUMP(Eq, ==)
            VBS_FAST_END
            VBS_FAST(JumpUnlessNeInt)
                VBS_COMPARE_INT_JUMP(Ne, !=)
            VBS_FAST_END
            VBS_FAST(JumpUnlessLtInt)
                VBS_COMPARE_INT_JUMP(Lt, <)
            VBS_FAST_END
            VBS_FAST(JumpUnlessGtInt)
                VBS_COMPARE_INT_JUMP(Gt, >)
            VBS_FAST_END
            VBS_FAST(JumpUnlessLeInt)
                VBS_COMPARE_INT_JUMP(Le, <=)
            VBS_FAST_END
            VBS_FAST(JumpUnlessGeInt)
                VBS_COMPARE_INT_JUMP(Ge, >=)
            VBS_FAST_END
            VBS_FAST(JumpUnlessVarEqInt)
                VBS_COMPARE_VAR_INT_JUMP(Eq, ==)
            VBS_FAST_END
            VBS_FAST(JumpUnlessVarNeInt)
                VBS_COMPARE_VAR_INT_JUMP(Ne, !=)
            VBS_FAST_END
            VBS_FAST(JumpUnlessVarLtInt)
                VBS_COMPARE_VAR_INT_JUMP(Lt, <)
            VBS_FAST_END
            VBS_FAST(JumpUnlessVarGtInt)
                VBS_COMPARE_VAR_INT_JUMP(Gt, >)
            VBS_FAST_END
            VBS_FAST(JumpUnlessVarLeInt)
                VBS_COMPARE_VAR_INT_JUMP(Le, <=)
            VBS_FAST_END
            VBS_FAST(JumpUnlessVarGeInt)
                VBS_COMPARE_VAR_INT_JUMP(Ge, >=)
            VBS_FAST_END
            VBS_FAST(Nop)
            VBS_FAST_END
            VBS_FAST(JumpUnlessEq)
                VBS_COMPARE_JUMP(Eq, ==)
            VBS_FAST_END
            VBS_FAST(JumpUnlessNe)
                VBS_COMPARE_JUMP(Ne, !=)
            VBS_FAST_END
            VBS_FAST(JumpUnlessLt)
                VBS_COMPARE_JUMP(Lt, <)
            VBS_FAST_END
            VBS_FAST(JumpUnlessGt)
                VBS_COMPARE_JUMP(Gt, >)
            VBS_FAST_END
            VBS_FAST(JumpUnlessLe)
                VBS_COMPARE_JUMP(Le, <=)
            VBS_FAST_END
            VBS_FAST(JumpUnlessGe)
                VBS_COMPARE_JUMP(Ge, >=)
            VBS_FAST_END
            VBS_FAST(AddTo)
                const Place place = static_cast<Place>(VBS_OPERAND(0));
                const int operand = VBS_OPERAND(1);
                Value* target = plainSlot(place, operand);
                if (target != nullptr && AddNumbersInPlace(*target, sp[-1])) {
                    (--sp)->ForgetPlain();
                    break;
                }
                VBS_SLOW(Value right = PopValue(); AddInto(place, operand, right);)
            VBS_FAST_END
            VBS_FAST(AddVarTo)
                const Place place = static_cast<Place>(VBS_OPERAND(0));
                const int operand = VBS_OPERAND(1);
                Value* target = plainSlot(place, operand);
                const Value* right = plainSlot(static_cast<Place>(VBS_OPERAND(2)), VBS_OPERAND(3));
                if (target != nullptr && right != nullptr && AddNumbersInPlace(*target, *right))
                    break;
                VBS_SLOW(const Value value = slot(static_cast<Place>(VBS_OPERAND(2)), VBS_OPERAND(3));
                         if (!AddNumbersInPlace(slot(place, operand), value)) AddInto(place, operand, value);)
            VBS_FAST_END
            VBS_FAST(AddAt)
                VBS_DIRECT_ARITHMETIC(+, Add)
            VBS_FAST_END
            VBS_FAST(SubAt)
                VBS_DIRECT_ARITHMETIC(-, Subtract)
            VBS_FAST_END
            VBS_FAST(AddToAt)
                if (AddNumbersInPlace(direct(VBS_OPERAND(0)), direct(VBS_OPERAND(1))))
                    break;
                VBS_SLOW(const std::int32_t to = VBS_OPERAND(0); const Value right = direct(VBS_OPERAND(1));
                         AddInto(to >= 0 ? Place::Local : Place::Global, to >= 0 ? to : ~to, right);)
            VBS_FAST_END
            VBS_FAST(AddToAtNext)
                Value& target = direct(VBS_OPERAND(0));
                const Value& right = direct(VBS_OPERAND(1));
                if (!AddNumbersInPlace(target, right)) {
                    VBS_SLOW(const std::int32_t to = VBS_OPERAND(0);
                             const Value value = direct(VBS_OPERAND(1));
                             AddInto(to >= 0 ? Place::Local : Place::Global, to >= 0 ? to : ~to, value);)
                    break;
                }
                VBS_RUN_REST_OF_LOOP([&target, &right] { return AddNumbersInPlace(target, right); })
                // pc is at the ForNextLocal or ForNextGlobal: its Long step
                // here, or the whole Next by itself.
                const std::int32_t* const next = pc;
                Value& counter =
                    static_cast<Op>(next[0]) == Op::ForNextLocal ? base[next[1]] : globals[next[1]];
                const Value* const temps = base + next[2];
                const int budget = budget_ - 1;
                std::int32_t value;
                if (budget > 0 && counter.Is(VType::Long) && temps[2].Is(VType::Long) &&
                    !__builtin_add_overflow(counter.I(), temps[2].I(), &value)) {
                    budget_ = budget;
                    counter.ReplacePlain(Value::Long(value));
                    const bool more = CountGoesOn(value, temps[0].I(), temps[2].I());
                    pc = more ? next - next[3] : next + kWidth[static_cast<int>(Op::ForNextLocal)];
                }
            VBS_FAST_END
            VBS_FAST(AddElemToAt)
                Value& target = direct(VBS_OPERAND(0));
                const Value& array = direct(VBS_OPERAND(1));
                const Value& index = direct(VBS_OPERAND(2));
                if (!AddElementInPlace(target, array, index))
                    break; // into the general code after it
                pc += VBS_OPERAND(3);
                VBS_RUN_REST_OF_LOOP(
                    [&target, &array, &index] { return AddElementInPlace(target, array, index); })
            VBS_FAST_END
            VBS_FAST(StoreAddElemAt)
                Value& array = direct(VBS_OPERAND(0));
                const Value& index = direct(VBS_OPERAND(1));
                const Value& left = direct(VBS_OPERAND(2));
                const Value& right = direct(VBS_OPERAND(3));
                if (StoreSumInElement(array, index, left, right)) {
                    VBS_RUN_REST_OF_LOOP([&array, &index, &left, &right] {
                        return StoreSumInElement(array, index, left, right);
                    })
                    break;
                }
                // As the three instructions it stands for: the index read,
                // the sum (its errors at the operand word that keeps its
                // position), then StoreElem's general store.
                VBS_SLOW(const Value at = index; const Value l = left; const Value r = right; pc = op + 2;
                         Value sum = Add(l, r); pc = op + kWidth[static_cast<int>(Op::StoreAddElemAt)];
                         *sp_++ = Value::RefTo(&direct(VBS_OPERAND(0))); *sp_++ = at; *sp_++ = std::move(sum);
                         frame->pc = pc; IndexStore(1, false);)
            VBS_FAST_END
            VBS_FAST(LoadElemAt)
                const Value& variable = direct(VBS_OPERAND(0));
                const Value& index = direct(VBS_OPERAND(1));
                if (variable.Is(VType::Array) && IsSmallInt(index)) {
                    if (const Value* item = variable.Arr()->Item1(index.I())) {
                        ::new (static_cast<void*>(sp++)) Value(*item);
                        break;
                    }
                }
                // Anything else as Index does it: the variable goes below its index.
                VBS_SLOW(*sp_++ = Value::RefTo(&direct(VBS_OPERAND(0))); *sp_++ = direct(VBS_OPERAND(1));
                         VBS_MAY_ENTER_FRAME(IndexValue(1));)
            VBS_FAST_END
            VBS_OP(AppendTo)
                Value v = PopValue();
                Value& target = slot(static_cast<Place>(VBS_OPERAND(0)), VBS_OPERAND(1));
                if (target.Is(VType::String) && v.Is(VType::String) && !v.HasOddByte()) {
                    target.Append(v.Str());
                } else if (target.Is(VType::String) && v.IsNumeric()) {
                    std::u16string text;
                    AppendText(text, v);
                    target.Append(text);
                } else {
                    target = Concat(target, v);
                }
            VBS_END
            VBS_FAST(Jump)
                pc = proc->code.data() + VBS_OPERAND(0);
            VBS_FAST_END
            VBS_FAST(JumpIfFalse)
                bool go;
                if (sp[-1].Is(VType::Boolean))
                    go = !(--sp)->B();
                else
                    VBS_SLOW(Value v = PopValue(); go = !IsTrue(v);)
                if (go)
                    pc = proc->code.data() + VBS_OPERAND(0);
            VBS_FAST_END
            VBS_FAST(JumpIfTrue)
                bool go;
                if (sp[-1].Is(VType::Boolean))
                    go = (--sp)->B();
                else
                    VBS_SLOW(Value v = PopValue(); go = IsTrue(v);)
                if (go)
                    pc = proc->code.data() + VBS_OPERAND(0);
            VBS_FAST_END
            VBS_FAST(LoopBack)
                if (--budget_ <= 0)
                    VBS_SLOW(Tick();)
                pc = proc->code.data() + VBS_OPERAND(0);
            VBS_FAST_END
            VBS_OP(ForPrep)
                const Place place = static_cast<Place>(VBS_OPERAND(0));
                const int temp = VBS_OPERAND(2);
                ForPrep(place, VBS_OPERAND(1), temp);
                const bool run = ForContinues(PlaceRef(place, VBS_OPERAND(1)), base[temp], base[temp + 1]);
                if (!run)
                    pc = proc->code.data() + VBS_OPERAND(3);
            VBS_END
            VBS_FAST(ForNext)
                if (--budget_ <= 0)
                    VBS_SLOW(Tick();)
                const Place place = static_cast<Place>(VBS_OPERAND(0));
                const int temp = VBS_OPERAND(2);
                Value* counter = plainSlot(place, VBS_OPERAND(1));
                bool more;
                if (counter == nullptr || (!LongForStep(*counter, base + temp, more) &&
                                           !IntegerForStep(*counter, base + temp, more)))
                    VBS_SLOW(more = ForStep(place, VBS_OPERAND(1), temp);)
                if (more)
                    pc = proc->code.data() + VBS_OPERAND(3);
            VBS_FAST_END
            VBS_FAST(ForNextLocal)
                VBS_FOR_NEXT(base[VBS_OPERAND(0)], Place::Local)
            VBS_FAST_END
            VBS_FAST(ForNextGlobal)
                VBS_FOR_NEXT(globals[VBS_OPERAND(0)], Place::Global)
            VBS_FAST_END
            VBS_OP(ForEachPrep)
                const bool run = ForEachPrep(VBS_OPERAND(0));
                if (!run)
                    pc = proc->code.data() + VBS_OPERAND(1);
            VBS_END
            VBS_OP(ForEachNext)
                const bool more = ForEachNext(VBS_OPERAND(0));
                if (!more)
                    pc = proc->code.data() + VBS_OPERAND(1);
            VBS_END
            VBS_FAST(CallProc)
                const Procedure& callee = *program_.procedures[VBS_OPERAND(0)];
                Value* const args = sp - VBS_OPERAND(1);
                frame->pc = pc;
                sp_ = sp;
                sp = EnterFrame(callee, args, VBS_OPERAND(1), args, nullptr, false);
                reload();
            VBS_FAST_END
            VBS_FAST(CallMethodMe)
                const Procedure& callee = *program_.procedures[VBS_OPERAND(0)];
                Value* const args = sp - VBS_OPERAND(1);
                frame->pc = pc;
                sp_ = sp;
                sp = EnterFrame(callee, args, VBS_OPERAND(1), args, frame->me, false);
                reload();
            VBS_FAST_END
            VBS_OP(CallBuiltin)
                frame->pc = pc;
                CallBuiltin(VBS_OPERAND(0), VBS_OPERAND(1));
            VBS_END
            VBS_OP(CallName)
                VBS_MAY_ENTER_FRAME(
                    CallByName(const_cast<NameSite&>(proc->sites[VBS_OPERAND(0)]), VBS_OPERAND(1)));
            VBS_END
            VBS_FAST(LoadElem)
                // a(i) of a one-dimensional array: the element copied over
                // its index, a plain number that needs no release.
                const Value* variable = plainSlot(static_cast<Place>(VBS_OPERAND(0)), VBS_OPERAND(1));
                if (variable != nullptr && variable->Is(VType::Array) && IsSmallInt(sp[-1])) {
                    if (const Value* item = variable->Arr()->Item1(sp[-1].I())) {
                        ::new (static_cast<void*>(sp - 1)) Value(*item);
                        break;
                    }
                }
                // Anything else as Index does it: the variable goes below its index.
                VBS_SLOW(Value& whole = slot(static_cast<Place>(VBS_OPERAND(0)), VBS_OPERAND(1));
                         *sp_ = std::move(sp_[-1]); sp_[-1] = Value::RefTo(&whole); ++sp_;
                         VBS_MAY_ENTER_FRAME(IndexValue(1));)
            VBS_FAST_END
            VBS_FAST(StoreElem)
                // a(i) = v over a plain element of an array held once: nothing
                // to release and no copy to make first.
                Value* variable = plainSlot(static_cast<Place>(VBS_OPERAND(0)), VBS_OPERAND(1));
                if (variable != nullptr && variable->Is(VType::Array) && IsSmallInt(sp[-2]) &&
                    !sp[-1].IsObject() && variable->Arr()->refs == 1) {
                    Value* item = variable->Arr()->Item1(sp[-2].I());
                    if (item != nullptr && !item->Counted()) {
                        item->ReplacePlain(std::move(sp[-1]));
                        sp -= 2;
                        sp->ForgetPlain();
                        break;
                    }
                }
                VBS_SLOW(Value& whole = slot(static_cast<Place>(VBS_OPERAND(0)), VBS_OPERAND(1));
                         *sp_ = std::move(sp_[-1]); sp_[-1] = std::move(sp_[-2]);
                         sp_[-2] = Value::RefTo(&whole); ++sp_; frame->pc = pc; IndexStore(1, false);)
            VBS_FAST_END
            VBS_OP(Index)
                // a(i) on a one-dimensional array, inline.
                if (VBS_OPERAND(0) == 1 && IsSmallInt(sp_[-1])) {
                    const Value& callee = sp_[-2].Deref();
                    if (callee.Is(VType::Array)) {
                        if (const Value* found = callee.Arr()->Item1(sp_[-1].I())) {
                            Value item = *found;
                            --sp_;
                            sp_[-1] = std::move(item);
                            break;
                        }
                    }
                }
                VBS_MAY_ENTER_FRAME(IndexValue(VBS_OPERAND(0)));
            VBS_END
            VBS_OP(ElemAddr)
                VBS_MAY_ENTER_FRAME(ElementAddress(VBS_OPERAND(0)));
            VBS_END
            VBS_OP(MemberGet)
                VBS_MAY_ENTER_FRAME(MemberGet(const_cast<NameSite&>(proc->sites[VBS_OPERAND(0)]),
                                              VBS_OPERAND(1), VBS_OPERAND(2) != 0));
            VBS_END
            VBS_OP(MemberPut)
                VBS_MAY_ENTER_FRAME(MemberPut(const_cast<NameSite&>(proc->sites[VBS_OPERAND(0)]),
                                              VBS_OPERAND(1), VBS_OPERAND(2) != 0));
            VBS_END
            VBS_OP(IndexStore)
                // a(i) = v on a one-dimensional array, inline.
                if (VBS_OPERAND(0) == 1 && VBS_OPERAND(1) == 0 && IsSmallInt(sp_[-2]) &&
                    !sp_[-1].IsObject()) {
                    Value& target = sp_[-3].Deref();
                    if (target.Is(VType::Array) && target.Arr()->Item1(sp_[-2].I()) != nullptr) {
                        *target.MutableArray().Item1(sp_[-2].I()) = std::move(sp_[-1]);
                        sp_ -= 2;
                        Value holder = PopValue();
                        break;
                    }
                }
                frame->pc = pc;
                IndexStore(VBS_OPERAND(0), VBS_OPERAND(1) != 0);
            VBS_END
            VBS_OP(New)
                frame->pc = pc;
                NewInstance(const_cast<NameSite&>(proc->sites[VBS_OPERAND(0)]));
            VBS_END
            VBS_FAST(Return)
                VBS_RETURN();
            VBS_FAST_END
            VBS_FAST(StoreReturn)
                Value& target = base[VBS_OPERAND(0)];
                if (!target.Counted() && !sp[-1].IsObject()) {
                    target.ReplacePlain(std::move(sp[-1]));
                    --sp;
                } else {
                    VBS_SLOW(if (sp_[-1].IsObject()) sp_[-1] = DefaultValue(sp_[-1]);
                             base[VBS_OPERAND(0)] = std::move(sp_[-1]); --sp_;)
                }
                VBS_RETURN();
            VBS_FAST_END
            VBS_OP(OnErrorResumeNext)
                frame->resumeNext = true;
                engine_.Err().Clear();
            VBS_END
            VBS_OP(OnErrorGoto0)
                frame->resumeNext = false;
                engine_.Err().Clear();
            VBS_END
            VBS_OP(DimArray)
                DimArray(static_cast<Place>(VBS_OPERAND(0)), VBS_OPERAND(1), VBS_OPERAND(2));
            VBS_END
            VBS_OP(ReDim)
                ReDim(static_cast<Place>(VBS_OPERAND(0)), VBS_OPERAND(1), VBS_OPERAND(2),
                      VBS_OPERAND(3) != 0);
            VBS_END
            VBS_OP(Erase)
                Erase(static_cast<Place>(VBS_OPERAND(0)), VBS_OPERAND(1));
            VBS_END
            VBS_OP(Undefined)
                throw ScriptError(kErrUndefinedVariable, proc->sites[VBS_OPERAND(0)].name);
            VBS_END
            VBS_OP(Raise)
                throw ScriptError(VBS_OPERAND(0));
            VBS_END
            VBS_OP(ObjectCheck)
                if (!sp_[-1].IsObject())
                    throw ScriptError(kErrObjectRequired);
            VBS_END
        }
    } catch (...) {
        // A frame is entered last in its handler: the one on top is the one that failed.
        frames_.back().pc = pc - 1;
        throw;
    }
}

} // namespace zorv::vbs
