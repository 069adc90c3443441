#pragma once
// Device events in scripts: an object's default source interface connected
// to the script procedures named prefix + event name, as the classic script
// control does for the objects added to it ("Scanner_DataEvent").
// Procedures are looked up when the event arrives, so code added later
// handles events too; an event without a procedure is dropped.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/connection.h"
#include "platform/com/dispatch.h"
#include "script_error.h"

namespace zorv::vbs {

class Engine;

class EventBindings {
public:
    explicit EventBindings(Engine& engine) : engine_(engine) {}
    ~EventBindings() { DisconnectAll(); }
    EventBindings(const EventBindings&) = delete;
    EventBindings& operator=(const EventBindings&) = delete;

    // False when the object describes no events or offers no connection
    // point for them. Connecting an object again replaces its prefix.
    bool Connect(IDispatch* object, std::u16string_view prefix);
    // False when the object was not connected.
    bool Disconnect(IDispatch* object);
    void DisconnectAll();

    // What sinks call when an event arrives: runs the procedure, if the
    // script has one, with the event's arguments; by-reference ones get the
    // handler's changes back.
    void Deliver(const std::u16string& procedure, DISPPARAMS& params);

    // A handler's error: raised by the script call that was waiting when it
    // happened, or, when no script runs, handed to `idleError`.
    std::optional<ScriptError> TakeError();
    bool ErrorPending() const { return pending_.has_value(); }
    std::function<void(const ScriptError&)> idleError;

private:
    struct Connection {
        com::ComPtr<IUnknown> identity;
        com::ComPtr<IConnectionPoint> point;
        DWORD cookie = 0;
    };

    Engine& engine_;
    std::vector<Connection> connections_;
    std::optional<ScriptError> pending_;
};

} // namespace zorv::vbs
