#include "event_binding.h"

#include <unordered_map>

#include "com_bridge.h"
#include "engine.h"
#include "interpreter.h"
#include "platform/com/com_object.h"
#include "platform/com/described_type.h"
#include "platform/com/dispatch_args.h"
#include "platform/com/untyped_dispatch.h"

namespace zorv::vbs {
namespace {

// The sink advised on one object: maps each event's identifier to the name
// of the procedure that handles it. It answers for the event interface as
// IDispatch, which is how a dispatch-only source interface is served.
class EventSink final : public com::UntypedDispatch<> {
public:
    EventSink(std::weak_ptr<Engine> engine, const IID& iid,
              std::unordered_map<DISPID, std::u16string> procedures)
        : engine_(std::move(engine)), iid_(iid), procedures_(std::move(procedures)) {}

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (result != nullptr)
            VariantInit(result);
        const auto found = procedures_.find(id);
        std::shared_ptr<Engine> engine = engine_.lock();
        if (found == procedures_.end() || !engine || params == nullptr)
            return S_OK;
        engine->Events().Deliver(found->second, *params);
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
    std::weak_ptr<Engine> engine_;
    IID iid_;
    std::unordered_map<DISPID, std::u16string> procedures_;
};

com::ComPtr<IUnknown> IdentityOfObject(IDispatch* object) {
    com::ComPtr<IUnknown> identity;
    object->QueryInterface(IID_IUnknown, identity.ReleaseAndGetVoidAddress());
    return identity;
}

} // namespace

bool EventBindings::Connect(IDispatch* object, std::u16string_view prefix) {
    if (object == nullptr)
        return false;
    const std::optional<com::EventInterface> events = com::DescribeEvents(object);
    com::ComPtr<IConnectionPointContainer> container =
        com::ComPtr<IDispatch>(object).As<IConnectionPointContainer>();
    com::ComPtr<IConnectionPoint> point;
    if (!events || !container ||
        FAILED(container->FindConnectionPoint(events->iid, point.ReleaseAndGetAddressOf())))
        return false;
    std::unordered_map<DISPID, std::u16string> procedures;
    for (const com::DescribedFunction& event : events->events)
        procedures[event.id] = std::u16string(prefix) + event.name;
    auto sink = com::MakeObject<EventSink>(engine_.weak_from_this(), events->iid, std::move(procedures));
    Disconnect(object);
    Connection connection{IdentityOfObject(object), point, 0};
    if (FAILED(point->Advise(static_cast<IDispatch*>(sink.Get()), &connection.cookie)))
        return false;
    connections_.push_back(std::move(connection));
    return true;
}

bool EventBindings::Disconnect(IDispatch* object) {
    if (object == nullptr)
        return false;
    const com::ComPtr<IUnknown> identity = IdentityOfObject(object);
    for (auto it = connections_.begin(); it != connections_.end(); ++it) {
        if (it->identity.Get() == identity.Get()) {
            Connection gone = std::move(*it);
            connections_.erase(it);
            gone.point->Unadvise(gone.cookie);
            return true;
        }
    }
    return false;
}

void EventBindings::DisconnectAll() {
    // Unadvising may release the last hold on an object, which may fire again.
    std::vector<Connection> gone = std::move(connections_);
    connections_.clear();
    for (Connection& connection : gone)
        connection.point->Unadvise(connection.cookie);
}

void EventBindings::Deliver(const std::u16string& procedure, DISPPARAMS& params) {
    if (engine_.tearingDown)
        return;
    const Symbol* symbol = engine_.GetProgram().Find(procedure);
    if (symbol == nullptr || symbol->kind != SymbolKind::Procedure)
        return;
    Procedure& proc = *engine_.GetProgram().procedures[symbol->index];
    const com::DispatchArgs args(params);
    std::vector<Value> values(args.Count());
    std::vector<Value> passed;
    for (UINT i = 0; i < args.Count(); ++i) {
        values[i] = FromVariant(args.Raw(i));
        passed.push_back(args.IsByRef(i) ? Value::RefTo(&values[i]) : values[i]);
    }
    try {
        engine_.RunHandler(proc, passed);
        for (UINT i = 0; i < args.Count(); ++i) {
            if (!args.IsByRef(i))
                continue;
            com::Variant back;
            ToVariant(values[i], back);
            args.SetByRef(i, back);
        }
    } catch (const ScriptError& error) {
        if (engine_.Vm().Running()) {
            // The waiting script's On Error Resume Next is not the handler's.
            pending_ = error;
            pending_->fatal = true;
        } else if (idleError) {
            idleError(error);
        }
    } catch (const com::DispatchError&) {
        // A value the handler left that the event's variable cannot take: the variable keeps its value.
    }
}

std::optional<ScriptError> EventBindings::TakeError() {
    std::optional<ScriptError> error = std::move(pending_);
    pending_.reset();
    return error;
}

} // namespace zorv::vbs
