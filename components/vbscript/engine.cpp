#include "engine.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "compiler.h"
#include "event_binding.h"
#include "interpreter.h"
#include "parser.h"
#include "platform/com/com_object.h"
#include "script_object.h"

namespace zorv::vbs {
namespace {

// Makes the engine's locale the active one for the time of a call.
class LocaleScope {
public:
    explicit LocaleScope(const Locale& locale) : previous_(ActiveLocale()) { SetActiveLocale(locale); }
    ~LocaleScope() { SetActiveLocale(previous_); }

private:
    const Locale& previous_;
};

// The error that comes first in the text, wherever it was found.
ScriptError FirstOf(std::vector<ScriptError>& errors, const std::u16string& source) {
    auto later = [](const ScriptError& a, const ScriptError& b) {
        const auto key = [](const ScriptError& e) {
            return std::pair(e.pos.line == 0 ? UINT32_MAX : e.pos.line, e.pos.column);
        };
        return key(a) < key(b);
    };
    ScriptError error = *std::min_element(errors.begin(), errors.end(), later);
    error.compile = true;
    error.source = std::u16string(kCompileErrorSource);
    Engine::AttachText(error, source);
    return error;
}

// Running out of memory while compiling (the guard's bound, or the heap
// itself) is a compile error at the line reached, like any other.
template <class Step> auto Compiling(const std::u16string& source, Step&& step) -> decltype(step()) {
    try {
        return step();
    } catch (ScriptError& error) {
        if (error.compile)
            throw;
        std::vector<ScriptError> errors{std::move(error)};
        throw FirstOf(errors, source);
    } catch (const std::bad_alloc&) {
        std::vector<ScriptError> errors{ScriptError(kErrOutOfMemory)};
        throw FirstOf(errors, source);
    } catch (const std::length_error&) {
        std::vector<ScriptError> errors{ScriptError(kErrOutOfMemory)};
        throw FirstOf(errors, source);
    }
}

} // namespace

std::shared_ptr<Engine> Engine::Create() { return std::shared_ptr<Engine>(new Engine()); }

Engine::Engine() : events_(std::make_unique<EventBindings>(*this)), err_(std::make_shared<ErrState>()) {
    errObject_ = com::MakeObject<ErrObject>(err_).Get();
    Fresh();
}

Engine::~Engine() { Teardown(); }

std::uint64_t Engine::AdoptInstance(ScriptObject* object) {
    instances_[object] = nextSerial_;
    return nextSerial_++;
}

// Class_Terminate runs for every instance before the code goes: first as
// the script's variables are released in the order they were declared, then,
// oldest first, for instances still held (cycles, the host). Each instance is
// held while its handler runs; errors there have nowhere to go.
void Engine::TerminateSurvivors() {
    if (!program_ || !vm_ || vm_->Running())
        return;
    LocaleScope scope(*locale);
    for (int round = 0; round < 4; ++round) {
        bool released = false;
        for (int i = 0; i < program_->globals.Count(); ++i) {
            if (program_->globals[i].IsHeap()) {
                Value dying = std::move(program_->globals[i]);
                released = true;
            }
        }
        std::vector<std::pair<std::uint64_t, ScriptObject*>> pending;
        for (const auto& [object, serial] : instances_)
            if (!object->Terminated() && object->Class().terminate)
                pending.emplace_back(serial, object);
        if (pending.empty() && !released)
            return;
        std::sort(pending.begin(), pending.end());
        std::vector<Value> held;
        for (const auto& entry : pending)
            held.push_back(Value::Object(entry.second, true));
        for (const auto& entry : pending)
            entry.second->RunTerminate();
    }
}

void Engine::Teardown() {
    events_->DisconnectAll();
    TerminateSurvivors();
    tearingDown = true;
    // Survivors (cycles, or held by the host) become inert; dropping their
    // fields frees the cycles, while what the host holds stays valid.
    std::vector<Value> survivors;
    for (const auto& entry : instances_)
        survivors.push_back(Value::Object(entry.first, true));
    for (const auto& entry : instances_)
        entry.first->Detach();
    instances_.clear();
    for (Value& survivor : survivors)
        static_cast<ScriptObject*>(survivor.Obj())->DropFields();
    survivors.clear();
    vm_.reset();
    program_.reset();
    sources_.clear();
    sourceMemory_.clear();
    err_->Clear();
}

void Engine::Fresh() {
    Teardown();
    ++generation;
    tearingDown = false;
    program_ = std::make_unique<Program>();
    vm_ = std::make_unique<Interpreter>(*this);
    err_->Clear();
    for (const NamedObject& named : namedObjects_) {
        const int slot = program_->globals.Add();
        program_->globals[slot] = Value::Object(named.object.Get());
        program_->symbols[Folded(named.name)] = Symbol{SymbolKind::Variable, slot, {}};
    }
}

void Engine::Reset() {
    if (vm_->Running())
        throw ScriptError(kErrPermissionDenied, u"Reset");
    namedObjects_.clear();
    Fresh();
}

void Engine::AttachText(ScriptError& error, const std::u16string& source) {
    std::size_t line = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < source.size() && line < error.pos.line; ++i) {
        if (source[i] == u'\n' || (source[i] == u'\r' && (i + 1 >= source.size() || source[i + 1] != u'\n'))) {
            ++line;
            start = i + 1;
        }
    }
    std::size_t end = start;
    while (end < source.size() && source[end] != u'\r' && source[end] != u'\n')
        ++end;
    error.text = source.substr(start, std::min<std::size_t>(end - start, 1024));
}

Value Engine::RunProcedure(Procedure& proc, std::span<const Value> args) {
    LocaleScope scope(*locale);
    auto self = shared_from_this(); // a script that releases the control keeps it alive meanwhile
    Value result = vm_->Call(proc, args, nullptr);
    if (!vm_->Running())
        if (std::optional<ScriptError> error = events_->TakeError())
            throw std::move(*error);
    return result;
}

Value Engine::RunHandler(Procedure& proc, std::span<const Value> args) {
    return RunProcedure(proc, args);
}

void Engine::AddCode(std::u16string_view text) {
    // The text stays for the error messages as long as the engine: it counts.
    MemoryHold sourceMemory;
    auto source = Compiling(std::u16string(), [&] {
        sourceMemory.Charge(HeapFootprint((text.size() + 1) * sizeof(char16_t)));
        return std::make_shared<const std::u16string>(text);
    });
    ParseResult parsed = Compiling(*source, [&] { return ParseScript(*source); });
    // A text that fails to compile leaves the engine as it was. What did
    // parse is compiled even after a syntax error, so that the error
    // reported is the first in the text, of either kind.
    const auto savedSymbols = program_->symbols;
    const bool savedExplicit = program_->optionExplicit;
    std::vector<ScriptError> errors = std::move(parsed.errors);
    Procedure* top = nullptr;
    try {
        top = Compiling(*source, [&] { return CompileScript(*program_, parsed.ast, source, errors); });
    } catch (...) {
        program_->symbols = savedSymbols;
        program_->optionExplicit = savedExplicit;
        throw;
    }
    if (!errors.empty()) {
        program_->symbols = savedSymbols;
        program_->optionExplicit = savedExplicit;
        throw FirstOf(errors, *source);
    }
    sources_.push_back(source);
    sourceMemory_.push_back(std::move(sourceMemory));
    RunProcedure(*top, {});
}

Value Engine::Run(std::u16string_view name, std::span<const Value> args) {
    const Symbol* symbol = program_->Find(name);
    if (symbol == nullptr || symbol->kind != SymbolKind::Procedure) {
        ScriptError error(kErrUndefinedProc, name);
        throw error;
    }
    return RunProcedure(*program_->procedures[symbol->index], args);
}

Value Engine::Eval(std::u16string_view text) {
    auto source = std::make_shared<const std::u16string>(text);
    ExprPtr expression;
    ParseResult parsed = ParseExpressionText(*source, expression);
    if (!parsed.errors.empty())
        throw FirstOf(parsed.errors, *source);
    std::vector<ScriptError> errors;
    Procedure* proc = CompileEvaluation(*program_, *expression, source, errors);
    if (!errors.empty())
        throw FirstOf(errors, *source);
    sources_.push_back(source);
    return RunProcedure(*proc, {});
}

void Engine::AddObject(std::u16string_view name, IDispatch* object, bool addMembers) {
    const std::u16string key = Folded(name);
    if (program_->symbols.count(key))
        throw ScriptError(kErrNameRedefined, name);
    namedObjects_.push_back({std::u16string(name), com::ComPtr<IDispatch>(object), addMembers});
    events_->Connect(object, std::u16string(name) + u"_");
    const int slot = program_->globals.Add();
    program_->globals[slot] = Value::Object(object);
    program_->symbols[key] = Symbol{SymbolKind::Variable, slot, {}};
}

} // namespace zorv::vbs
