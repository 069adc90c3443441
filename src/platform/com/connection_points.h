#pragma once
// Connection points for an object's container: advising, unadvising, the
// enumeration hosts walk to find the first point, and firing dispatch events
// on every advised sink.
#include <memory>
#include <vector>

#include "com_ptr.h"
#include "connection.h"
#include "dispatch.h"

namespace zorv::com {

// One point, living inside its container object; its references count on
// the container, so the container outlives every client's hold on the point.
class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer& owner, const IID& iid) : owner_(owner), iid_(iid) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    // The sink is asked for the point's interface; a sink that refuses it is
    // refused with CONNECT_E_CANNOTCONNECT.
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override;

    const IID& Iid() const { return iid_; }
    // Beyond this many sinks, Advise answers CONNECT_E_ADVISELIMIT.
    void SetAdviseLimit(std::size_t limit) { adviseLimit_ = limit; }
    std::size_t SinkCount() const { return sinks_.size(); }
    // The advised sinks, as the point's interface, in the order they came.
    std::vector<ComPtr<IUnknown>> Sinks() const;

    // Calls Invoke(DISPATCH_METHOD) on every sink with the arguments given in
    // their natural order; by-reference arguments see the sinks' changes.
    // Answers the first failure, after every sink has been called.
    HRESULT FireDispatch(DISPID id, VARIANT* args, UINT count);

private:
    struct Sink {
        DWORD cookie;
        ComPtr<IUnknown> sink;
    };

    IConnectionPointContainer& owner_;
    IID iid_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
    std::size_t adviseLimit_ = static_cast<std::size_t>(-1);
};

// The points of one container, in the order they are enumerated.
class ConnectionPoints {
public:
    explicit ConnectionPoints(IConnectionPointContainer& owner) : owner_(owner) {}

    ConnectionPoint& Add(const IID& iid);
    ConnectionPoint* Find(const IID& iid);

    HRESULT EnumConnectionPoints(IEnumConnectionPoints** ppEnum);
    HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP);

private:
    IConnectionPointContainer& owner_;
    std::vector<std::unique_ptr<ConnectionPoint>> points_;
};

} // namespace zorv::com
