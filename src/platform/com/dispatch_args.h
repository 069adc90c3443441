#pragma once
// The arguments of an Invoke call, in their natural order, with typed readers
// that follow by-reference arguments and a writer for out-parameters.
#include <exception>
#include <string>

#include "com_ptr.h"
#include "dispatch.h"
#include "variant_value.h"

namespace zorv::com {

// Fails the Invoke call with a plain code (argument errors, missing members).
struct DispatchError {
    HRESULT code;
    UINT argument = static_cast<UINT>(-1);
};

// Fails the Invoke call with DISP_E_EXCEPTION and a description for EXCEPINFO.
class DispatchException : public std::exception {
public:
    DispatchException(std::u16string description, SCODE code = E_FAIL)
        : description_(std::move(description)), code_(code) {}
    const char* what() const noexcept override { return "dispatch exception"; }
    const std::u16string& Description() const { return description_; }
    SCODE Code() const { return code_; }

private:
    std::u16string description_;
    SCODE code_;
};

class DispatchArgs {
public:
    explicit DispatchArgs(const DISPPARAMS& params) : params_(params) {}

    UINT Count() const { return params_.cArgs; }
    // An argument left out by the caller (absent or VT_ERROR/DISP_E_PARAMNOTFOUND).
    bool IsMissing(UINT i) const;
    // The argument as passed, possibly by reference.
    VARIANT& Raw(UINT i) const;

    // Converted readers; a conversion failure raises DispatchError for that argument.
    LONG Long(UINT i) const;
    double Double(UINT i) const;
    bool Bool(UINT i) const;
    std::u16string String(UINT i) const;
    // A copy of the value, by-reference indirection removed.
    Variant Value(UINT i) const;
    // The object an argument holds, or none.
    ComPtr<IDispatch> Object(UINT i) const;

    bool IsByRef(UINT i) const { return (Raw(i).vt & VT_BYREF) != 0; }
    // Stores `value` in the caller's variable when the argument came by
    // reference, converted to the variable's type; by-value arguments are left alone.
    void SetByRef(UINT i, const VARIANT& value) const;

    // Raises DISP_E_BADPARAMCOUNT unless min <= Count() <= max.
    void ExpectCount(UINT min, UINT max) const;

private:
    Variant Converted(UINT i, VARTYPE type) const;

    const DISPPARAMS& params_;
};

} // namespace zorv::com
