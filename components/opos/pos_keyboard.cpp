// The POS keyboard: a key press gives a key-down event, and a key-up too
// when the application asked for both.
#include "device.h"
#include "platform/com/text.h"
#include "simulation_commands.h"

namespace zorv::opos {
namespace {

class POSKeyboard final : public KindBehaviour {
public:
    bool TakesInput() const override { return true; }

    // pString says which edge: "down", "up", or empty for a whole press.
    std::optional<LONG> Simulate(Device& device, LONG command, LONG& data, std::u16string& text) override {
        if (command != kSimInput)
            return std::nullopt;
        const bool down = text.empty() || com::EqualsIgnoringCase(text, u"down");
        const bool up = text.empty() || com::EqualsIgnoringCase(text, u"up");
        if (data < 0 || (!down && !up))
            return OPOS_E_ILLEGAL;
        LONG code = OPOS_SUCCESS;
        if (down)
            code = device.Arrived({data, KBD_KET_KEYDOWN, {}});
        if (up && code == OPOS_SUCCESS && device.Long(Prop::EventTypes) == KBD_ET_DOWN_UP)
            code = device.Arrived({data, KBD_KET_KEYUP, {}});
        return code;
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
