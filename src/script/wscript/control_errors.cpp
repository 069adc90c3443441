#include "script/wscript/control_errors.h"

#include "platform/com/com_object.h"
#include "platform/com/untyped_dispatch.h"

namespace zorv::tools {
namespace {

class ErrorSink final : public com::UntypedDispatch<> {
public:
    ErrorSink(const IID& iid, std::function<void()> failed) : iid_(iid), failed_(std::move(failed)) {}

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    // Event 1 is Error.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (result != nullptr)
            VariantInit(result);
        if (id == 1 && failed_)
            failed_();
        return S_OK;
    }

protected:
    HRESULT QueryOtherInterface(REFIID riid, void** ppv) override {
        if (!IsEqualIID(riid, iid_))
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }

private:
    IID iid_;
    std::function<void()> failed_;
};

// The control's first connection point, which carries its events.
com::ComPtr<IConnectionPoint> FirstPoint(IDispatch* control) {
    com::ComPtr<IConnectionPointContainer> container =
        com::ComPtr<IDispatch>(control).As<IConnectionPointContainer>();
    com::ComPtr<IEnumConnectionPoints> points;
    com::ComPtr<IConnectionPoint> point;
    ULONG fetched = 0;
    if (!container || FAILED(container->EnumConnectionPoints(points.ReleaseAndGetAddressOf())) ||
        points->Next(1, point.ReleaseAndGetAddressOf(), &fetched) != S_OK)
        return {};
    return point;
}

} // namespace

ControlErrors::ControlErrors(IDispatch* control, std::function<void()> failed) {
    if (control == nullptr)
        return;
    point_ = FirstPoint(control);
    IID iid;
    if (!point_ || FAILED(point_->GetConnectionInterface(&iid))) {
        point_.Reset();
        return;
    }
    auto sink = com::MakeObject<ErrorSink>(iid, std::move(failed));
    if (FAILED(point_->Advise(static_cast<IDispatch*>(sink.Get()), &cookie_)))
        point_.Reset();
}

ControlErrors::~ControlErrors() {
    if (point_)
        point_->Unadvise(cookie_);
}

} // namespace zorv::tools
