#pragma once
// Drives the simulated devices as the program does: created by ProgID
// through the class table, called late-bound by member name, events
// observed through a sink advised on the first connection point.
#include <functional>
#include <string>
#include <vector>

#include "outside/late_bound.h"
#include "platform/com/com_object.h"
#include "platform/com/connection.h"
#include "platform/com/text.h"

namespace opos_test {

using zorv::com::ComPtr;
using zorv::com::Variant;
using zorv::outside::Arg;

// DirectIO commands of the simulation, as the component's README lists them.
constexpr LONG kInput = 1, kError = 2, kPower = 3, kReadBack = 4, kSensor = 5, kDirectIOEvent = 6,
               kDirectIOReply = 7, kArmWait = 8, kProfileNotes = 9;

ComPtr<IDispatch> Create(const char16_t* progId);

LONG Call(IDispatch* device, const char16_t* method, std::initializer_list<Arg> args = {});
LONG Long(IDispatch* device, const char16_t* property);
bool Bool(IDispatch* device, const char16_t* property);
std::u16string Text(IDispatch* device, const char16_t* property);
// Puts and answers the ResultCode that the put left.
LONG Put(IDispatch* device, const char16_t* property, const Arg& value);

// DirectIO with pData and pString by reference; they come back changed.
struct DirectIOResult {
    LONG code;
    LONG data;
    std::u16string text;
};
DirectIOResult DirectIO(IDispatch* device, LONG command, LONG data = 0, std::u16string_view text = u"");

// Open, then Claim and enable as the program's open sequence does.
void OpenReady(IDispatch* device, const char16_t* name, bool claim = true);

struct ReceivedEvent {
    DISPID id;
    std::vector<VARTYPE> types;
    std::vector<LONG> numbers; // VT_I4 and VT_BYREF|VT_I4 values, in order
    std::u16string text;       // a VT_BYREF|VT_BSTR argument
};

// A sink that takes the events of one interface; it can answer ErrorEvent's
// pErrorResponse and DirectIOEvent's by-reference values, and run a
// reaction inside each event as a handler would.
class Sink final : public zorv::com::ComObject<IDispatch> {
public:
    explicit Sink(const IID& events) : events_(events) {}

    std::vector<ReceivedEvent> received;
    LONG errorResponse = 0; // 0: leave the proposed response
    LONG replyData = 0;
    std::u16string replyText;
    std::function<void(const ReceivedEvent&)> reaction;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

protected:
    HRESULT QueryOtherInterface(REFIID riid, void** ppv) override;

private:
    IID events_;
};

// Advises a new sink on the device's first connection point.
ComPtr<Sink> AdviseSink(IDispatch* device);

} // namespace opos_test
