#pragma once
// The bytecode interpreter. Script-to-script calls run in one dispatch loop
// on the engine's own value stack; a call from outside (a host, a default
// value fetched through IDispatch) nests a new loop on the same stack.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <vector>

#include "program.h"

namespace zorv::vbs {

class Engine;
class ScriptObject;

class Interpreter {
public:
    explicit Interpreter(Engine& engine);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Runs a procedure to its end. Arguments may be references
    // (Value::RefTo) for ByRef parameters.
    Value Call(const Procedure& proc, std::span<const Value> args, ScriptObject* me, Value* outer = nullptr);
    // Eval, Execute and ExecuteGlobal: compiles `text` in the scope of the
    // procedure running now (or at script level) and runs it.
    Value RunText(std::u16string_view text, bool expression, bool global);
    // A member of a script object called through IDispatch.
    Value CallMember(ScriptObject& object, int member, bool put, bool putRef, std::span<Value> args);
    // A new instance with Class_Initialize run.
    Value NewObject(const ClassInfo& cls);
    void Terminate(ScriptObject& object);

    Engine& GetEngine() { return engine_; }
    // Work a built-in does (characters scanned, elements visited) spends the
    // runaway guard's budget, so that one long call still meets the clock.
    void SpendWork(std::size_t units) { Charge(static_cast<int>(std::min<std::size_t>(units, 1 << 20))); }
    bool Running() const { return nesting_ > 0; }

private:
    struct Frame {
        const Procedure* proc;
        const std::int32_t* pc;
        Value* base;
        Value* result; // where the call's value goes
        ScriptObject* me;
        Value* outer; // code run by Execute or Eval: the slots of the procedure that ran it
        bool resumeNext;
        bool discardResult;
    };

    // The call frames: a fixed block, so that entering and leaving a frame
    // is a pointer step with no capacity check.
    class FrameStack {
    public:
        explicit FrameStack(std::size_t capacity)
            : frames_(std::make_unique<Frame[]>(capacity)), end_(frames_.get()) {}
        void push_back(const Frame& frame) { *end_++ = frame; }
        void pop_back() { --end_; }
        Frame& back() { return end_[-1]; }
        const Frame* end() const { return end_; }
        const Frame* at(std::size_t depth) const { return frames_.get() + depth; }
        Frame& operator[](std::size_t i) { return frames_[i]; }
        std::size_t size() const { return static_cast<std::size_t>(end_ - frames_.get()); }
        bool empty() const { return end_ == frames_.get(); }

    private:
        std::unique_ptr<Frame[]> frames_;
        Frame* end_; // one past the top frame
    };

    Value Execute(std::size_t floor);
    void Loop(std::size_t floor, Value& out);
    bool Recover(ScriptError& error, std::size_t floor);
    void PopFrame();
    [[noreturn, gnu::noinline, gnu::cold]] static void CannotEnter(const Procedure& proc, int argc);
    // Returns the new top of the stack, which sp_ also holds.
    Value* EnterFrame(const Procedure& proc, Value* args, int argc, Value* result, ScriptObject* me,
                      bool discard, Value* outer = nullptr);
    // Every few thousand backward jumps and calls: the runaway-script guard.
    void Tick();
    // A call that left the script (WScript.Sleep, MsgBox, a device method)
    // may have run event handlers meanwhile: one that failed stops the script
    // right there, before its next statement.
    void AfterOutsideCall();
    Value AfterOutsideCall(Value result) {
        AfterOutsideCall();
        return result;
    }
    // Resets the budget; true when the time is up and the script must stop
    // (after asking, when the script may show questions).
    bool ClockSaysStop();
    static ScriptError StopError();
    // Slow steps (built-ins, which may print or wait, and recovered errors)
    // spend more of the budget, so a loop made of them still meets the clock.
    void Charge(int units) {
        budget_ -= units;
        if (budget_ <= 0)
            Tick();
    }
    void RestartClock();

    void AddInto(Place place, int operand, const Value& right);
    Value& PlaceRef(Place place, int operand);
    Value ResolveLoad(NameSite& site);
    Value* ResolveGlobal(NameSite& site);
    Value* FrameName(const NameSite& site);
    void CallByName(NameSite& site, int argc);
    void MemberGet(NameSite& site, int argc, bool asCall);
    void MemberPut(NameSite& site, int argc, bool isSet);
    void IndexValue(int argc);
    void ElementAddress(int argc);
    Value* AddressOfName(NameSite& site);
    void IndexStore(int argc, bool isSet);
    void ForPrep(Place place, int operand, int temp);
    bool ForContinues(const Value& counter, const Value& end, const Value& step);
    bool ForStep(Place place, int operand, int temp);
    bool ForEachPrep(int temp);
    bool ForEachNext(int temp);
    void CallBuiltin(int index, int argc);
    void NewInstance(NameSite& site);
    void DimArray(Place place, int operand, int dims);
    void ReDim(Place place, int operand, int dims, bool preserve);
    void Erase(Place place, int operand);
    void ClearTo(Value* newTop);
    Value PopValue() { return std::move(*--sp_); }
    // The slots from sp_ up are always Empty: a push copies into one
    // without first releasing what it holds.
    void Push(const Value& v) {
        ::new (static_cast<void*>(sp_)) Value(v);
        ++sp_;
    }

    Engine& engine_;
    Program& program_;
    struct FreeStack {
        void operator()(Value* stack) const { std::free(stack); } // nothing above the top needs releasing
    };
    std::unique_ptr<Value, FreeStack> stack_;
    Value* sp_;
    Value* stackEnd_;
    FrameStack frames_;
    int nesting_ = 0;
    int budget_ = 0;
    std::chrono::steady_clock::time_point deadline_;
};

} // namespace zorv::vbs
