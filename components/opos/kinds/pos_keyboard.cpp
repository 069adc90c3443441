// The POS keyboard: a key press gives a key-down event, and a key-up too
// when the application asked for both.
#include "kinds/kind_table.h"
#include "model/device.h"

namespace zorv::opos {
namespace {

constexpr Prop kInputProperties[] = {Prop::POSKeyData, Prop::POSKeyEventType};

class POSKeyboard final : public KindBehaviour {
public:
    std::span<const Prop> InputProperties() const override { return kInputProperties; }

    // Key-up edges reach only an application that asked for both.
    void Arriving(Device& device, Input input) override {
        if (input.detail == KBD_KET_KEYDOWN || device.Long(Prop::EventTypes) == KBD_ET_DOWN_UP)
            device.QueueData(std::move(input));
    }

    LONG Load(Device& device, const Input& input) override {
        device.Set(Prop::POSKeyData, input.code);
        device.Set(Prop::POSKeyEventType, input.detail);
        return 0;
    }

    LONG Put(Device& device, Prop prop, const Value& value) override {
        const LONG types = std::get<LONG>(value);
        if (prop != Prop::EventTypes || (types != KBD_ET_DOWN && types != KBD_ET_DOWN_UP))
            return OPOS_E_ILLEGAL;
        if (types == KBD_ET_DOWN_UP && !device.Bool(Prop::CapKeyUp))
            return OPOS_E_ILLEGAL;
        device.Set(prop, value);
        return OPOS_SUCCESS;
    }
};

constexpr PropertyRow kProperties[] = {
    {Prop::CapKeyUp, Flag(true)},
    {Prop::EventTypes, Long(KBD_ET_DOWN), Access::Custom},
    {Prop::POSKeyData, Long(0)},
    {Prop::POSKeyEventType, Long(KBD_KET_KEYDOWN)},
};

} // namespace

KindRows POSKeyboardRows() {
    return {kProperties, {}, [] { return std::unique_ptr<KindBehaviour>(new POSKeyboard); }};
}

} // namespace zorv::opos
