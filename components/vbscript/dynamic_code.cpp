#include "dynamic_code.h"

#include <memory>

#include "com_bridge.h"
#include "compiler.h"
#include "conversion.h"
#include "engine.h"
#include "interpreter.h"
#include "parser.h"
#include "platform/com/com_object.h"
#include "platform/com/table_dispatch.h"
#include "platform/com/untyped_dispatch.h"
#include "script_error.h"

namespace zorv::vbs {
namespace {

// Private: only this engine asks for it, to call its own procedures directly.
constexpr IID kIidProcedureRef = {
    0x2C9D4E71, 0x6A3B, 0x4F02, {0x8B, 0x15, 0x7E, 0x90, 0x3D, 0x4C, 0x21, 0xA8}};

// What GetRef answers: an object whose default method calls the procedure.
class ProcedureRef final : public com::UntypedDispatch<> {
public:
    ProcedureRef(Engine& engine, const Procedure& proc)
        : engine_(engine.weak_from_this()), generation_(engine.generation), proc_(&proc) {}

    // The procedure, while the code it came with is still the engine's.
    const Procedure* Target(const Engine& engine) const {
        const auto alive = engine_.lock();
        return alive.get() == &engine && engine.generation == generation_ ? proc_ : nullptr;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; ids && i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excepInfo, UINT*) override {
        if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr))
            return E_INVALIDARG;
        if (result)
            VariantInit(result);
        if (id != DISPID_VALUE || (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0)
            return DISP_E_MEMBERNOTFOUND;
        const auto engine = engine_.lock();
        if (!engine || engine->generation != generation_)
            return E_UNEXPECTED;
        std::vector<Value> args;
        for (UINT i = params->cArgs; i-- > 0;)
            args.push_back(FromVariant(params->rgvarg[i]));
        try {
            const Value value = engine->Vm().Call(*proc_, args, nullptr);
            if (result)
                ToVariant(value, *result);
            return S_OK;
        } catch (const ScriptError& error) {
            com::FillExcepInfo(excepInfo, error.source, error.description, ScodeOf(error.number));
            return DISP_E_EXCEPTION;
        }
    }

protected:
    HRESULT QueryOtherInterface(REFIID riid, void** ppv) override {
        if (!IsEqualIID(riid, kIidProcedureRef))
            return E_NOINTERFACE;
        AddRef();
        *ppv = this;
        return S_OK;
    }

private:
    std::weak_ptr<Engine> engine_;
    std::uint64_t generation_;
    const Procedure* proc_;
};

std::u16string TextArgument(const Value& value) {
    if (value.IsNull())
        throw ScriptError(kErrTypeMismatch);
    return ToText(value);
}

} // namespace

Value EvalFunction(Interpreter& vm, std::span<Value> args) {
    return vm.RunText(TextArgument(args[0]), true, false);
}

Value ExecuteFunction(Interpreter& vm, std::span<Value> args) {
    vm.RunText(TextArgument(args[0]), false, false);
    return {};
}

Value ExecuteGlobalFunction(Interpreter& vm, std::span<Value> args) {
    vm.RunText(TextArgument(args[0]), false, true);
    return {};
}

Value GetRefFunction(Interpreter& vm, std::span<Value> args) {
    const std::u16string name = TextArgument(args[0]);
    Engine& engine = vm.GetEngine();
    const Symbol* symbol = engine.GetProgram().Find(name);
    if (symbol == nullptr || symbol->kind != SymbolKind::Procedure)
        throw ScriptError(kErrInvalidCall, u"GetRef");
    auto ref = com::MakeObject<ProcedureRef>(engine, *engine.GetProgram().procedures[symbol->index]);
    return Value::Object(ref.Get());
}

const Procedure* ReferencedProcedure(IDispatch* object, const Engine& engine) {
    void* found = nullptr;
    if (object == nullptr || FAILED(object->QueryInterface(kIidProcedureRef, &found)))
        return nullptr;
    auto* ref = static_cast<ProcedureRef*>(static_cast<IDispatch*>(found));
    const Procedure* target = ref->Target(engine);
    ref->Release();
    return target;
}

// ------------------------------------------------------------------ the interpreter's side

namespace {

ScriptError AtTheCall(ScriptError error) {
    // Reported where Execute or Eval was called, as the code given has no line of its own.
    error.positioned = false;
    error.compile = false;
    error.pos = {};
    error.text.clear();
    return error;
}

} // namespace

Value Interpreter::RunText(std::u16string_view text, bool expression, bool global) {
    if (frames_.empty())
        throw ScriptError(kErrInternal);
    const Frame caller = frames_.back();
    const bool atScriptLevel = global || (caller.proc->isTopLevel && caller.outer == nullptr);
    DynamicScope scope;
    scope.caller = atScriptLevel ? nullptr : caller.proc;
    auto source = std::make_shared<const std::u16string>(text);
    std::vector<ScriptError> errors;
    std::unique_ptr<Procedure> proc;
    if (expression) {
        ExprPtr parsedExpression;
        ParseResult parsed = ParseExpressionText(*source, parsedExpression);
        if (!parsed.errors.empty())
            throw AtTheCall(parsed.errors.front());
        proc = CompileDynamicExpression(program_, *parsedExpression, source, errors, scope);
        if (!errors.empty())
            throw AtTheCall(errors.front());
    } else {
        ParseResult parsed = ParseScript(*source);
        if (!parsed.errors.empty())
            throw AtTheCall(parsed.errors.front());
        // Code that fails to compile declares nothing.
        const auto savedSymbols = program_.symbols;
        const bool savedExplicit = program_.optionExplicit;
        proc = CompileDynamic(program_, parsed.ast, source, errors, scope);
        if (!errors.empty()) {
            program_.symbols = savedSymbols;
            program_.optionExplicit = savedExplicit;
            throw AtTheCall(errors.front());
        }
    }
    try {
        return Call(*proc, {}, atScriptLevel ? nullptr : caller.me, atScriptLevel ? nullptr : caller.base);
    } catch (ScriptError& error) {
        if (error.fatal)
            throw;
        throw AtTheCall(std::move(error));
    }
}

} // namespace zorv::vbs
