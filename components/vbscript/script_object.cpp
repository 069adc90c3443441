#include "script_object.h"

#include "com_bridge.h"
#include "engine.h"
#include "interpreter.h"
#include "platform/com/table_dispatch.h"

namespace zorv::vbs {
namespace {

// Private: only this engine asks for it, to recognise its own instances.
constexpr IID kIidScriptObject = {
    0x5B7E2C10, 0x8D41, 0x4C0A, {0x9E, 0x3F, 0x61, 0x2A, 0x7B, 0x44, 0x10, 0xC3}};

} // namespace

ScriptObject::ScriptObject(Engine& engine, const ClassInfo& cls)
    : charged_(Charge(cls)), engine_(&engine), class_(&cls), serial_(engine.AdoptInstance(this)),
      fields_(cls.fields.size()) {}

ScriptObject::~ScriptObject() {
    RefundScriptMemory(charged_);
}

std::size_t ScriptObject::Charge(const ClassInfo& cls) {
    // The object, its fields, and its entry in the engine's table of instances.
    constexpr std::size_t kTableEntry = 48;
    std::size_t bytes = HeapFootprint(sizeof(ScriptObject)) + kTableEntry;
    if (!cls.fields.empty())
        bytes += HeapFootprint(cls.fields.size() * sizeof(Value));
    ChargeScriptMemory(bytes);
    return bytes;
}

void ScriptObject::RunTerminate() {
    if (terminated_ || engine_ == nullptr || engine_->tearingDown || class_->terminate == nullptr)
        return;
    terminated_ = true;
    engine_->Vm().Terminate(*this);
}

ScriptObject* ScriptObject::FromDispatch(IDispatch* object) {
    void* found = nullptr;
    if (object == nullptr || FAILED(object->QueryInterface(kIidScriptObject, &found)))
        return nullptr;
    auto* script = static_cast<ScriptObject*>(found);
    script->Release();
    return script->engine_ != nullptr ? script : nullptr; // a detached instance is just an inert object
}

HRESULT ScriptObject::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
        *ppv = static_cast<IDispatch*>(this);
    else if (IsEqualIID(riid, kIidScriptObject))
        *ppv = this;
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG ScriptObject::Release() {
    if (refs_ > 1)
        return --refs_;
    EndInstance(this);
    return 0;
}

bool ScriptObject::LastRelease() {
    // Class_Terminate runs first, while the engine lives.
    RunTerminate();
    return --refs_ == 0;
}

void ScriptObject::Destroy() {
    if (engine_ != nullptr)
        engine_->ForgetInstance(this);
    delete this;
}

HRESULT ScriptObject::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo == nullptr)
        return E_INVALIDARG;
    *pctinfo = 0;
    return S_OK;
}

HRESULT ScriptObject::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo)
        *ppTInfo = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT ScriptObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (names == nullptr || ids == nullptr || count == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    if (engine_ == nullptr)
        return E_UNEXPECTED; // the class went with its engine
    const ClassMember* member = names[0] ? class_->Find(com::OleView(names[0])) : nullptr;
    if (member == nullptr || !member->isPublic)
        return DISP_E_UNKNOWNNAME;
    ids[0] = static_cast<DISPID>(member - class_->members.data()) + 1;
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ScriptObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excepInfo, UINT*) {
    if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr))
        return E_INVALIDARG;
    if (result)
        VariantInit(result);
    if (engine_ == nullptr)
        return E_UNEXPECTED;
    Engine* engine = engine_;
    auto hold = engine->weak_from_this().lock(); // a call that releases the control keeps it alive meanwhile
    int member = id == DISPID_VALUE ? class_->defaultMember : id - 1;
    if (member < 0 || member >= static_cast<int>(class_->members.size()))
        return DISP_E_MEMBERNOTFOUND;
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const bool putRef = (flags & DISPATCH_PROPERTYPUTREF) != 0;
    std::vector<Value> args;
    for (UINT i = params->cArgs; i-- > 0;)
        args.push_back(FromVariant(params->rgvarg[i]));
    Value keep = Value::Object(this, true);
    try {
        Value value = engine->Vm().CallMember(*this, member, put, putRef, args);
        if (result && !put)
            ToVariant(value, *result);
        return S_OK;
    } catch (const ScriptError& error) {
        com::FillExcepInfo(excepInfo, error.source, error.description, ScodeOf(error.number));
        return DISP_E_EXCEPTION;
    }
}

} // namespace zorv::vbs
