#include "err_object.h"

#include "com_bridge.h"
#include "conversion.h"

namespace zorv::vbs {
namespace {

std::u16string Text(const VARIANT& value) {
    return ToText(FromVariant(value));
}

void SetText(VARIANT& result, std::u16string_view text) {
    result = com::Variant(text).Detach();
}

} // namespace

const com::DispatchTable<ErrObject>& ErrObject::DispatchMembers() {
    static const com::DispatchTable<ErrObject> table{
        {u"Number", 0, &ErrObject::GetNumber, &ErrObject::PutNumber},
        {u"Description", 1, &ErrObject::GetDescription, &ErrObject::PutDescription},
        {u"Source", 2, &ErrObject::GetSource, &ErrObject::PutSource},
        {u"HelpFile", 3, &ErrObject::GetHelpFile, &ErrObject::PutHelpFile},
        {u"HelpContext", 4, &ErrObject::GetHelpContext, &ErrObject::PutHelpContext},
        {u"Raise", 5, nullptr, nullptr, &ErrObject::Raise},
        {u"Clear", 6, nullptr, nullptr, &ErrObject::Clear},
    };
    return table;
}

HRESULT ErrObject::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* excepInfo, UINT* argErr) {
    raisedSource_.clear();
    raisedHelpFile_.clear();
    raisedHelpContext_ = 0;
    const HRESULT hr = TableDispatch::Invoke(id, riid, lcid, flags, params, result, excepInfo, argErr);
    if (hr == DISP_E_EXCEPTION && excepInfo != nullptr && !raisedSource_.empty()) {
        SysFreeString(excepInfo->bstrSource);
        excepInfo->bstrSource = com::Bstr(raisedSource_).Detach();
        SysFreeString(excepInfo->bstrHelpFile);
        excepInfo->bstrHelpFile = raisedHelpFile_.empty() ? nullptr : com::Bstr(raisedHelpFile_).Detach();
        excepInfo->dwHelpContext = static_cast<DWORD>(raisedHelpContext_);
    }
    return hr;
}

void ErrObject::GetNumber(VARIANT& result) {
    result = com::Variant(LONG{state_->number}).Detach();
}
void ErrObject::PutNumber(const VARIANT& value) {
    state_->number = ToLong(FromVariant(value));
}
void ErrObject::GetDescription(VARIANT& result) {
    SetText(result, state_->description);
}
void ErrObject::PutDescription(const VARIANT& value) {
    state_->description = Text(value);
}
void ErrObject::GetSource(VARIANT& result) {
    SetText(result, state_->source);
}
void ErrObject::PutSource(const VARIANT& value) {
    state_->source = Text(value);
}
void ErrObject::GetHelpFile(VARIANT& result) {
    SetText(result, state_->helpFile);
}
void ErrObject::PutHelpFile(const VARIANT& value) {
    state_->helpFile = Text(value);
}
void ErrObject::GetHelpContext(VARIANT& result) {
    result = com::Variant(LONG{state_->helpContext}).Detach();
}
void ErrObject::PutHelpContext(const VARIANT& value) {
    state_->helpContext = ToLong(FromVariant(value));
}

// Err.Raise number [, source [, description [, helpfile [, helpcontext]]]]
void ErrObject::Raise(const com::DispatchArgs& args, VARIANT&) {
    if (args.Count() < 1 || args.IsMissing(0))
        throw com::DispatchException(std::u16string(ErrorText(kErrArgNotOptional)),
                                     ScodeOf(kErrArgNotOptional));
    const std::int32_t number = ToLong(FromVariant(args.Raw(0)));
    if (number == 0)
        throw com::DispatchException(std::u16string(ErrorText(kErrInvalidCall)), ScodeOf(kErrInvalidCall));
    raisedSource_ =
        args.Count() > 1 && !args.IsMissing(1) ? Text(args.Raw(1)) : std::u16string(kRuntimeErrorSource);
    std::u16string description =
        args.Count() > 2 && !args.IsMissing(2) ? Text(args.Raw(2)) : std::u16string();
    if (description.empty())
        description = ErrorText(number > 0 && number <= 0xFFFF ? number : -1);
    raisedHelpFile_ = args.Count() > 3 && !args.IsMissing(3) ? Text(args.Raw(3)) : std::u16string();
    raisedHelpContext_ = args.Count() > 4 && !args.IsMissing(4) ? ToLong(FromVariant(args.Raw(4))) : 0;
    throw com::DispatchException(std::move(description), ScodeOf(number));
}

void ErrObject::Clear(const com::DispatchArgs&, VARIANT&) {
    state_->Clear();
}

} // namespace zorv::vbs
