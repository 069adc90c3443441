#pragma once
// Listens to the script control's Error event, which it fires when an event
// handler failed while no script was running (the failure is then in its
// Error object); a host reports it as it reports any run error.
#include <functional>

#include "platform/com/com_ptr.h"
#include "platform/com/connection.h"
#include "platform/com/dispatch.h"

namespace zorv::tools {

class ControlErrors {
public:
    // Without a connection point on the control, nothing is ever reported.
    ControlErrors(IDispatch* control, std::function<void()> failed);
    ~ControlErrors();
    ControlErrors(const ControlErrors&) = delete;
    ControlErrors& operator=(const ControlErrors&) = delete;

private:
    com::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

} // namespace zorv::tools
