#pragma once
// TOleControl hosts one ActiveX control object as a component of the
// application: creates it from a class identifier resolved at run time,
// gives it a client site and fresh state on first use, offers its dispatch
// interface for late-bound calls, and routes its events, received through
// the first connection point it offers, to the device control's handler slots.
#include <memory>
#include <string>

#include "devices/olectrls2/component.h"
#include "devices/olectrls2/control_descriptor.h"
#include "platform/com/com_ptr.h"
#include "platform/com/ole_control.h"

namespace zorv::devices {

class TEventDispatch;
class TOleControlSite;

class TOleControl : public TComponent {
public:
    // Constructs a control of class T and creates its object. An error here
    // destroys the partly built control and reaches the caller.
    template <class T, class... Args>
    static T* Create(TComponent* owner, Args&&... args) {
        std::unique_ptr<T> control(new T(owner, std::forward<Args>(args)...));
        control->Construct();
        return control.release();
    }

    ~TOleControl() override;

    // Sets the object up on first use (client site, fresh state, events),
    // then answers its dispatch interface. A failed set-up is tried again
    // on the next call.
    com::ComPtr<IDispatch> DeviceObject();

    const std::u16string& Name() const { return FName; }
    void SetName(std::u16string name) { FName = std::move(name); }

    // What the host holds, for those who need to look.
    const TControlDescriptor* ControlData() const { return FControlData; }
    LONG RefCount() const { return FRefCount; }
    DWORD MiscStatus() const { return FMiscStatus; }
    DWORD EventsConnection() const { return FEventsConnection; }
    DWORD PropConnection() const { return FPropConnection; }
    bool SetUpDone() const { return static_cast<bool>(FOleControl); }
    bool Visible() const { return FVisible; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Enabled() const { return FEnabled; }

protected:
    explicit TOleControl(TComponent* owner);

    virtual void FillControlDescriptor() = 0;
    virtual void InitControlObject(IUnknown* object);
    // Property-change notification: the standard properties the host keeps in step.
    virtual HRESULT OnChanged(DISPID dispId);
    virtual HRESULT OnRequestEdit(DISPID dispId);

    void SetControlData(TControlDescriptor* descriptor) { FControlData = descriptor; }

private:
    friend class TEventDispatch;
    friend class TOleControlSite;

    void Construct();
    void SetUp();
    void DisconnectEvents();
    void DisconnectPoint(DWORD& cookie, const IID& iid);
    void ApplyExtent();
    void RouteEvent(DISPID dispId, DISPPARAMS& params);
    LONG AddRefHost() { return ++FRefCount; }
    LONG ReleaseHost() { return --FRefCount; }

    TControlDescriptor* FControlData = nullptr;
    LONG FRefCount = 0;
    TEventDispatch* FEventDispatch = nullptr;
    TOleControlSite* FSite = nullptr;
    com::ComPtr<IOleObject> FOleObject;
    com::ComPtr<IPersistStreamInit> FPersistStream;
    com::ComPtr<IOleControl> FOleControl;
    com::ComPtr<IDispatch> FControlDispatch;
    DWORD FPropConnection = 0;
    DWORD FEventsConnection = 0;
    DWORD FMiscStatus = 0;
    bool FUpdatingColor = false;
    bool FUpdatingFont = false;
    bool FUpdatingEnabled = false;

    std::u16string FName;
    bool FVisible = true;
    int FWidth = 0;
    int FHeight = 0;
    bool FEnabled = true;
    LONG FColor = 0x80000005;     // the window colour
    LONG FFontColor = 0x80000008; // the window text colour
};

// Both connections go to the first point the object enumerates, whatever
// interface the caller had in mind; a refusal leaves the cookie 0.
void ConnectFirstPoint(IUnknown* object, IUnknown* sink, DWORD& cookie);

// Hundredths of millimetres to pixels at 96 dots per inch, and back.
int HimetricToPixels(LONG himetric);
LONG PixelsToHimetric(int pixels);

} // namespace zorv::devices
