#pragma once
// The bytecode interpreter. Script-to-script calls run in one dispatch loop
// on the engine's own value stack; a call from outside (a host, a default
// value fetched through IDispatch) nests a new loop on the same stack.
#include <cstdint>
#include <memory>
#include <span>
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
    Value Call(const Procedure& proc, std::span<const Value> args, ScriptObject* me);
    // A member of a script object called through IDispatch.
    Value CallMember(ScriptObject& object, int member, bool put, bool putRef, std::span<Value> args);
    // A new instance with Class_Initialize run.
    Value NewObject(const ClassInfo& cls);
    void Terminate(ScriptObject& object);

    Engine& GetEngine() { return engine_; }

private:
    struct Frame {
        const Procedure* proc;
        const std::int32_t* pc;
        Value* base;
        Value* result; // where the call's value goes
        ScriptObject* me;
        bool resumeNext;
        bool discardResult;
    };

    Value Execute(std::size_t floor);
    void Loop(std::size_t floor, Value& out);
    bool Recover(ScriptError& error, std::size_t floor);
    void PopFrame();
    void EnterFrame(const Procedure& proc, Value* args, int argc, Value* result, ScriptObject* me, bool discard);
    void Tick();

    Value& PlaceRef(Place place, int operand);
    Value ResolveLoad(NameSite& site);
    Value* ResolveGlobal(NameSite& site);
    void CallByName(NameSite& site, int argc);
    void MemberGet(NameSite& site, int argc, bool asCall);
    void MemberPut(NameSite& site, int argc, bool isSet);
    void IndexValue(int argc);
    void IndexStore(int argc, bool isSet);
    void ForPrep(Place place, int operand, int temp);
    bool ForContinues(const Value& counter, const Value& end, const Value& step);
    bool ForEachPrep(int temp);
    bool ForEachNext(int temp);
    void CallBuiltin(int index, int argc);
    void NewInstance(NameSite& site);
    void DimArray(Place place, int operand, int dims);
    void ReDim(Place place, int operand, int dims, bool preserve);
    void Erase(Place place, int operand);
    void ClearTo(Value* newTop);
    Value PopValue() { return std::move(*--sp_); }

    Engine& engine_;
    Program& program_;
    std::unique_ptr<Value[]> stack_;
    Value* sp_;
    Value* stackEnd_;
    std::vector<Frame> frames_;
    int nesting_ = 0;
    int budget_ = 0;
};

} // namespace zorv::vbs
