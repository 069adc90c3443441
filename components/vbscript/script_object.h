#pragma once
// An instance of a script Class. It is an IDispatch like any object, so
// hosts and other components can hold and call it; the interpreter spots
// its own instances and reaches fields and methods without Invoke.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/com/dispatch.h"
#include "program.h"

namespace zorv::vbs {

class Engine;

class ScriptObject final : public IDispatch {
public:
    // The engine registers each instance and detaches the survivors when it
    // is reset or goes, so `engine` is valid for as long as it is held here.
    ScriptObject(Engine& engine, const ClassInfo& cls);
    ScriptObject(const ScriptObject&) = delete;
    ScriptObject& operator=(const ScriptObject&) = delete;

    // The instance behind an IDispatch, when it is one of ours.
    static ScriptObject* FromDispatch(IDispatch* object);

    const ClassInfo& Class() const { return *class_; }
    Value& Field(int index) { return fields_[index]; }
    std::uint64_t Serial() const { return serial_; }
    // Class_Terminate, once at most, while the engine can still run it.
    void RunTerminate();
    // The last reference goes (see EndInstance): Class_Terminate runs; true
    // when its code kept no new reference, and the instance may be destroyed.
    bool LastRelease();
    void Destroy();
    bool Terminated() const { return terminated_; }
    // The engine is going: the class goes with it, the instance stays inert.
    void Detach() { engine_ = nullptr; }
    // After Detach: lets go of what the fields hold, which breaks reference cycles.
    void DropFields() {
        std::vector<Value> dying;
        dying.swap(fields_);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

private:
    ~ScriptObject();
    // Charges the instance to the memory guard before anything else is done.
    static std::size_t Charge(const ClassInfo& cls);

    std::size_t charged_;
    ULONG refs_ = 1;
    Engine* engine_;
    const ClassInfo* class_;
    std::uint64_t serial_;
    bool terminated_ = false;
    std::vector<Value> fields_;
};

} // namespace zorv::vbs
