#pragma once
// The component behind ProgID "ScriptControl": Language, AddCode, Run,
// Eval, ExecuteStatement, Reset, AddObject, AllowUI, Timeout and the Error object,
// all by name. A script failure fails the call with DISP_E_EXCEPTION and a
// description that says where, in French: "... (ligne 12, colonne 5)".
// ConnectObject(object, prefix) and DisconnectObject(object) let a host's
// objects (WScript) bind events to script procedures. An event handler that
// fails while no script runs fires the control's Error event, the failure
// being in the Error object as for any run.
#include <memory>
#include <string>

#include "engine.h"
#include "platform/com/connection_points.h"
#include "platform/com/table_dispatch.h"
#include "platform/com/type_info.h"

namespace zorv::vbs {

inline constexpr CLSID kClsidScriptControl = {0x7A3C5E21, 0x4B6D, 0x4F8A, {0x9C, 0x2E, 0x5D, 0x1B, 0x0A, 0x9E, 0x3F, 0x47}};
// The control's events: Error (1), when an event handler failed outside a run.
inline constexpr IID kIidScriptControlEvents = {0x7A3C5E23, 0x4B6D, 0x4F8A, {0x9C, 0x2E, 0x5D, 0x1B, 0x0A, 0x9E, 0x3F, 0x47}};

// What the Error object shows: the last failure, field by field.
struct LastError {
    int number = 0;
    std::u16string description;
    std::u16string source;
    std::u16string text;
    int line = 0;
    int column = 0;
};

class ScriptErrorObject final : public com::TableDispatch<ScriptErrorObject> {
public:
    explicit ScriptErrorObject(std::shared_ptr<LastError> last) : last_(std::move(last)) {}
    static const com::DispatchTable<ScriptErrorObject>& DispatchMembers();

private:
    void GetNumber(VARIANT& result);
    void GetDescription(VARIANT& result);
    void GetSource(VARIANT& result);
    void GetLine(VARIANT& result);
    void GetColumn(VARIANT& result);
    void GetText(VARIANT& result);
    void Clear(const com::DispatchArgs& args, VARIANT& result);

    std::shared_ptr<LastError> last_;
};

class ScriptControl final
    : public com::TableDispatch<ScriptControl, IConnectionPointContainer, IProvideClassInfo> {
public:
    ScriptControl();
    ~ScriptControl() override;
    static const com::DispatchTable<ScriptControl>& DispatchMembers();

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** ppTI) override;

private:
    std::u16string_view DispatchSource() const override { return u"ScriptControl"; }

    void GetLanguage(VARIANT& result);
    void PutLanguage(const VARIANT& value);
    void GetAllowUI(VARIANT& result);
    void PutAllowUI(const VARIANT& value);
    void GetMemoryLimit(VARIANT& result);
    void PutMemoryLimit(const VARIANT& value);
    void GetTimeout(VARIANT& result);
    // True once an event handler failed while a script runs: the script stops
    // at its next statement, so a host's wait (WScript.Sleep) should end now.
    void GetStopping(VARIANT& result);
    void PutTimeout(const VARIANT& value);
    void GetError(VARIANT& result);
    void AddCode(const com::DispatchArgs& args, VARIANT& result);
    void Run(const com::DispatchArgs& args, VARIANT& result);
    void Eval(const com::DispatchArgs& args, VARIANT& result);
    void ExecuteStatement(const com::DispatchArgs& args, VARIANT& result);
    void Reset(const com::DispatchArgs& args, VARIANT& result);
    void AddObject(const com::DispatchArgs& args, VARIANT& result);
    void ConnectObject(const com::DispatchArgs& args, VARIANT& result);
    void DisconnectObject(const com::DispatchArgs& args, VARIANT& result);
    void Keep(const ScriptError& error);
    void HandlerFailed(const ScriptError& error);

    void RequireLanguage() const;
    // Runs `body`; a script error is kept for the Error object and fails the call.
    template <class Body>
    void Guarded(Body&& body);

    std::shared_ptr<Engine> engine_;
    std::shared_ptr<LastError> last_;
    com::ComPtr<IDispatch> errorObject_;
    std::u16string language_;
    com::ConnectionPoints points_;
};

} // namespace zorv::vbs
