#pragma once
// Handler slots: a bound callback (target object and operation), empty by
// default, typed by the values its event brings. The host fills a slot's
// parameters from the event's dispatch arguments; an event whose arguments do
// not fit the slot (wrong count, a value that does not convert) is dropped, so
// a handler never reads a value that the event did not bring.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "platform/com/dispatch.h"

namespace zorv::devices {

class TOleControl;

// An event's values as they arrived, for those who only look at them: the
// numbers in order, and the text where the event brings one.
struct EventValues {
    std::array<LONG, 4> numbers{};
    std::size_t count = 0;
    std::u16string text;

    void Add(LONG number) {
        if (count < numbers.size())
            numbers[count++] = number;
    }
    void Add(const std::u16string& value) { text = value; }
};

// What the host sees of a slot: whether it is bound, and how to call it.
class HandlerSlotBase {
public:
    virtual ~HandlerSlotBase() = default;
    virtual bool Assigned() const = 0;
    // Binds a handler that takes the sender only, for handlers that read none
    // of the event's values.
    virtual void BindSenderOnly(std::function<void(TOleControl* Sender)> handler) = 0;
    // Binds a handler that reads the event's values without writing any back.
    virtual void
    BindObserving(std::function<void(TOleControl* Sender, const EventValues& values)> handler) = 0;
    // Answers false when the arguments do not fit and nothing was called.
    virtual bool Invoke(TOleControl* sender, DISPPARAMS& params) const = 0;
};

// Reads one argument into a parameter of type P, and writes a by-reference
// parameter back into the caller's variable after the handler ran.
template <class P> struct ArgumentBinding;

template <> struct ArgumentBinding<LONG> {
    LONG value = 0;
    bool Load(const VARIANT& arg);
    LONG& Get() { return value; }
    void Store(VARIANT&) const {}
};

template <> struct ArgumentBinding<LONG&> {
    LONG value = 0;
    LONG original = 0;
    bool Load(const VARIANT& arg);
    LONG& Get() { return value; }
    void Store(VARIANT& arg) const;
};

template <> struct ArgumentBinding<std::u16string&> {
    std::u16string value;
    std::u16string original;
    bool Load(const VARIANT& arg);
    std::u16string& Get() { return value; }
    void Store(VARIANT& arg) const;
};

template <class... Params> class HandlerSlot final : public HandlerSlotBase {
public:
    using Handler = std::function<void(TOleControl* Sender, Params...)>;

    template <class Target> void Bind(Target* target, void (Target::*operation)(TOleControl*, Params...)) {
        target_ = target;
        handler_ = [target, operation](TOleControl* sender, Params... values) {
            (target->*operation)(sender, std::forward<Params>(values)...);
        };
    }
    void Bind(Handler handler) {
        target_ = nullptr;
        handler_ = std::move(handler);
    }
    void BindSenderOnly(std::function<void(TOleControl* Sender)> handler) override {
        target_ = nullptr;
        handler_ = [handler = std::move(handler)](TOleControl* sender, Params...) { handler(sender); };
    }
    void BindObserving(std::function<void(TOleControl* Sender, const EventValues& values)> handler) override {
        target_ = nullptr;
        handler_ = [handler = std::move(handler)](TOleControl* sender, Params... values) {
            EventValues seen;
            (seen.Add(values), ...);
            handler(sender, seen);
        };
    }
    void Clear() {
        target_ = nullptr;
        handler_ = nullptr;
    }
    const void* Target() const { return target_; }

    bool Assigned() const override { return static_cast<bool>(handler_); }

    bool Invoke(TOleControl* sender, DISPPARAMS& params) const override {
        if (params.cArgs != sizeof...(Params) || (sizeof...(Params) > 0 && params.rgvarg == nullptr))
            return false;
        return Call(sender, params, std::index_sequence_for<Params...>{});
    }

private:
    template <std::size_t... I>
    bool Call(TOleControl* sender, DISPPARAMS& params, std::index_sequence<I...>) const {
        std::tuple<ArgumentBinding<Params>...> bindings;
        // Arguments arrive last first.
        auto argument = [&](std::size_t i) -> VARIANT& { return params.rgvarg[params.cArgs - 1 - i]; };
        if (!(std::get<I>(bindings).Load(argument(I)) && ...))
            return false;
        handler_(sender, std::get<I>(bindings).Get()...);
        (std::get<I>(bindings).Store(argument(I)), ...);
        return true;
    }

    const void* target_ = nullptr;
    Handler handler_;
};

} // namespace zorv::devices
