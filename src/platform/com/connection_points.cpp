#include "connection_points.h"

#include <algorithm>

#include "com_object.h"

namespace zorv::com {
namespace {

class PointEnumerator final : public ComObject<IEnumConnectionPoints> {
public:
    PointEnumerator(std::vector<ComPtr<IConnectionPoint>> points, std::size_t position)
        : points_(std::move(points)), position_(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
        if (out == nullptr || (count > 1 && fetched == nullptr))
            return E_POINTER;
        ULONG taken = 0;
        while (taken < count && position_ < points_.size())
            points_[position_++].CopyTo(&out[taken++]);
        if (fetched != nullptr)
            *fetched = taken;
        return taken == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const std::size_t left = points_.size() - position_;
        position_ += std::min<std::size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** ppEnum) override {
        if (ppEnum == nullptr)
            return E_POINTER;
        *ppEnum = new PointEnumerator(points_, position_);
        return S_OK;
    }

private:
    std::vector<ComPtr<IConnectionPoint>> points_;
    std::size_t position_;
};

} // namespace

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IConnectionPoint))
        return E_NOINTERFACE;
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* pIID) {
    if (pIID == nullptr)
        return E_POINTER;
    *pIID = iid_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
    if (ppCPC == nullptr)
        return E_POINTER;
    *ppCPC = &owner_;
    owner_.AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
    if (pdwCookie == nullptr)
        return E_POINTER;
    *pdwCookie = 0;
    if (pUnkSink == nullptr)
        return E_POINTER;
    if (sinks_.size() >= adviseLimit_)
        return CONNECT_E_ADVISELIMIT;
    ComPtr<IUnknown> sink;
    if (FAILED(pUnkSink->QueryInterface(iid_, sink.ReleaseAndGetVoidAddress())) || !sink)
        return CONNECT_E_CANNOTCONNECT;
    const DWORD cookie = nextCookie_++;
    sinks_.push_back({cookie, std::move(sink)});
    *pdwCookie = cookie;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD dwCookie) {
    const auto found =
        std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == dwCookie; });
    if (found == sinks_.end())
        return CONNECT_E_NOCONNECTION;
    // Moved out before the release: the sink's destruction may call back in.
    ComPtr<IUnknown> released = std::move(found->sink);
    sinks_.erase(found);
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
    if (ppEnum != nullptr)
        *ppEnum = nullptr;
    return E_NOTIMPL;
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
    std::vector<ComPtr<IUnknown>> sinks;
    sinks.reserve(sinks_.size());
    for (const Sink& s : sinks_)
        sinks.push_back(s.sink);
    return sinks;
}

HRESULT ConnectionPoint::FireDispatch(DISPID id, VARIANT* args, UINT count) {
    // Dispatch order is last argument first. A shallow copy: the caller keeps
    // owning the values, and by-reference ones still point at its variables.
    std::vector<VARIANT> reversed(args, args + count);
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params{reversed.data(), nullptr, count, 0};
    HRESULT first = S_OK;
    // A copy: a handler may unadvise, or advise another sink, while we fire.
    for (const ComPtr<IUnknown>& sink : Sinks()) {
        auto* dispatch = static_cast<IDispatch*>(sink.Get());
        VARIANT result;
        VariantInit(&result);
        const HRESULT hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                                            nullptr, nullptr);
        VariantClear(&result);
        if (FAILED(hr) && SUCCEEDED(first))
            first = hr;
    }
    return first;
}

ConnectionPoint& ConnectionPoints::Add(const IID& iid) {
    points_.push_back(std::make_unique<ConnectionPoint>(owner_, iid));
    return *points_.back();
}

ConnectionPoint* ConnectionPoints::Find(const IID& iid) {
    for (const auto& point : points_)
        if (IsEqualIID(point->Iid(), iid))
            return point.get();
    return nullptr;
}

HRESULT ConnectionPoints::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    if (ppEnum == nullptr)
        return E_POINTER;
    std::vector<ComPtr<IConnectionPoint>> points;
    for (const auto& point : points_)
        points.emplace_back(point.get());
    *ppEnum = new PointEnumerator(std::move(points), 0);
    return S_OK;
}

HRESULT ConnectionPoints::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (ppCP == nullptr)
        return E_POINTER;
    *ppCP = nullptr;
    ConnectionPoint* point = Find(riid);
    if (point == nullptr)
        return CONNECT_E_NOCONNECTION;
    point->AddRef();
    *ppCP = point;
    return S_OK;
}

} // namespace zorv::com
