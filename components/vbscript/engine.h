#pragma once
// One script engine: the code added so far, its globals, the interpreter
// and the Err object. The script control is a thin dispatch shell over it.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "err_object.h"
#include "platform/com/com_ptr.h"
#include "program.h"
#include "script_locale.h"

namespace zorv::vbs {

class EventBindings;
class Interpreter;
class ScriptObject;

struct NamedObject {
    std::u16string name;
    com::ComPtr<IDispatch> object;
    bool addMembers = false;
};

class Engine : public std::enable_shared_from_this<Engine> {
public:
    static std::shared_ptr<Engine> Create();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Each raises a ScriptError with its position and line filled in.
    void AddCode(std::u16string_view text);
    Value Run(std::u16string_view name, std::span<const Value> args);
    Value Eval(std::u16string_view expression);
    void Reset();
    // The object's events also reach the procedures named name_Event.
    void AddObject(std::u16string_view name, IDispatch* object, bool addMembers);
    // Runs an event handler; a handler's error raised while a script waits
    // comes out of the call that waited.
    Value RunHandler(Procedure& proc, std::span<const Value> args);
    EventBindings& Events() { return *events_; }

    Program& GetProgram() { return *program_; }
    Interpreter& Vm() { return *vm_; }
    ErrState& Err() { return *err_; }
    IDispatch* ErrDispatch() { return errObject_.Get(); }
    const std::vector<NamedObject>& NamedObjects() const { return namedObjects_; }
    bool tearingDown = false;
    bool allowUI = true;
    // Milliseconds a call from the host may run before the user is asked
    // whether to stop it (without asking when AllowUI is False); -1: never.
    std::int32_t timeoutMs = 10000;
    // Counts resets: what refers to code of an earlier generation is stale.
    std::uint64_t generation = 0;
    const Locale* locale = &FrenchLocale();
    std::uint32_t randomSeed = 0x50000; // Rnd's generator state, as the original seeds it
    double lastRandom = 0;

    // Script class instances alive, so that a reset can end them properly.
    std::uint64_t AdoptInstance(ScriptObject* object);
    void ForgetInstance(ScriptObject* object) { instances_.erase(object); }

    // Fills in the line text of an error from the procedure's source.
    static void AttachText(ScriptError& error, const std::u16string& source);

private:
    Engine();
    void Fresh();
    void Teardown();
    void TerminateSurvivors();
    Value RunProcedure(Procedure& proc, std::span<const Value> args);

    std::unique_ptr<EventBindings> events_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<Interpreter> vm_;
    std::shared_ptr<ErrState> err_;
    com::ComPtr<IDispatch> errObject_;
    std::vector<NamedObject> namedObjects_;
    std::vector<std::shared_ptr<const std::u16string>> sources_;
    std::vector<MemoryHold> sourceMemory_;
    std::unordered_map<ScriptObject*, std::uint64_t> instances_;
    std::uint64_t nextSerial_ = 0;
};

} // namespace zorv::vbs
