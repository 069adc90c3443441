#pragma once
// The script's Err object: the last error that On Error Resume Next let
// pass, Raise and Clear.
#include <memory>
#include <string>

#include "platform/com/table_dispatch.h"
#include "script_error.h"

namespace zorv::vbs {

struct ErrState {
    int number = 0;
    std::u16string description;
    std::u16string source;
    std::u16string helpFile;
    int helpContext = 0;

    void Clear() { *this = ErrState{}; }
    void Set(const ScriptError& error) {
        number = error.number;
        description = error.description;
        source = error.source;
        helpFile = error.helpFile;
        helpContext = error.helpContext;
    }
};

class ErrObject final : public com::TableDispatch<ErrObject> {
public:
    explicit ErrObject(std::shared_ptr<ErrState> state) : state_(std::move(state)) {}
    static const com::DispatchTable<ErrObject>& DispatchMembers();
    // Raise's source, help file and context must reach EXCEPINFO, which the
    // table fills before the call runs.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

private:
    std::u16string_view DispatchSource() const override { return raisedSource_; }

    void GetNumber(VARIANT& result);
    void PutNumber(const VARIANT& value);
    void GetDescription(VARIANT& result);
    void PutDescription(const VARIANT& value);
    void GetSource(VARIANT& result);
    void PutSource(const VARIANT& value);
    void GetHelpFile(VARIANT& result);
    void PutHelpFile(const VARIANT& value);
    void GetHelpContext(VARIANT& result);
    void PutHelpContext(const VARIANT& value);
    void Raise(const com::DispatchArgs& args, VARIANT& result);
    void Clear(const com::DispatchArgs& args, VARIANT& result);

    std::shared_ptr<ErrState> state_;
    std::u16string raisedSource_;
    std::u16string raisedHelpFile_;
    std::int32_t raisedHelpContext_ = 0;
};

} // namespace zorv::vbs
