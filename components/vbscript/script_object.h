#pragma once
// An instance of a script Class. It is an IDispatch like any object, so
// hosts and other components can hold and call it; the interpreter spots
// its own instances and reaches fields and methods without Invoke.
#include <memory>
#include <vector>

#include "platform/com/dispatch.h"
#include "program.h"

namespace zorv::vbs {

class Engine;

class ScriptObject final : public IDispatch {
public:
    ScriptObject(std::weak_ptr<Engine> engine, const ClassInfo& cls);
    ScriptObject(const ScriptObject&) = delete;
    ScriptObject& operator=(const ScriptObject&) = delete;

    // The instance behind an IDispatch, when it is one of ours.
    static ScriptObject* FromDispatch(IDispatch* object);

    const ClassInfo& Class() const { return *class_; }
    Value& Field(int index) { return fields_[index]; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excepInfo, UINT* argErr) override;

private:
    ~ScriptObject() = default;

    ULONG refs_ = 1;
    std::weak_ptr<Engine> engine_;
    const ClassInfo* class_;
    std::vector<Value> fields_;
};

} // namespace zorv::vbs
