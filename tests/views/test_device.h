#pragma once
// A device object played by the test control, and the source through which
// the views fetch it, counting the fetches.
#include <string>
#include <vector>

#include "devices/test_control.h"
#include "outside/late_bound.h"
#include "platform/com/class_table.h"
#include "views/run_catalogue.h"

namespace zorv::testing {

inline com::ComPtr<IDispatch> CreateByProgId(std::u16string_view progId) {
    CLSID clsid;
    outside::CheckResult(CLSIDFromProgID(std::u16string(progId).c_str(), &clsid));
    com::ComPtr<IDispatch> object;
    outside::CheckResult(
        CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, object.ReleaseAndGetVoidAddress()));
    return object;
}

class TestDevice {
public:
    TestDevice() : object_(CreateByProgId(u"Zorv.ViewsTestDevice")) {}

    TestControlLog& Log() { return registration_.Log(); }
    IDispatch* Object() const { return object_.Get(); }
    int Fetches() const { return fetches_; }

    views::DeviceObjectSource Source() {
        return [this] {
            ++fetches_;
            return object_;
        };
    }

    // Every property get, by member name, in the order made.
    std::vector<std::u16string> Reads() {
        std::vector<std::u16string> names;
        for (const RecordedCall& call : registration_.Log().calls)
            if (call.flags & DISPATCH_PROPERTYGET)
                names.push_back(call.member);
        return names;
    }

private:
    TestControlRegistration registration_{u"Zorv.ViewsTestDevice"};
    com::ComPtr<IDispatch> object_;
    int fetches_ = 0;
};

} // namespace zorv::testing
