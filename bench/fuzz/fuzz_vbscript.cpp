// libFuzzer target over the script engine: each input is a script text
// (bytes read as Latin-1), lexed, parsed, compiled and run by a fresh
// engine. Runaway inputs are bounded: a 200 ms Timeout (its question is
// answered Yes) and a 64 MiB bound on what texts and arrays hold.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine.h"
#include "platform/ui/user_interface.h"
#include "script_error.h"
#include "value.h"

namespace {

// Message boxes run their whole path but show nothing; the runaway
// question is answered Yes, so a long input stops at its first period.
class Silent final : public zorv::ui::UserInterface {
public:
    zorv::ui::Answer ShowMessage(const zorv::ui::Message&) override { return zorv::ui::Answer::Yes; }
    std::optional<std::u16string> AskText(const zorv::ui::TextRequest&) override { return std::nullopt; }
};

bool Setup() {
    static Silent silent;
    zorv::ui::SetUserInterface(&silent);
    zorv::vbs::SetScriptMemoryLimit(std::size_t{64} << 20);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = Setup();
    (void)ready;
    if (size > 16 * 1024)
        return 0;
    std::u16string text(data, data + size);
    auto engine = zorv::vbs::Engine::Create();
    engine->allowUI = true;
    engine->timeoutMs = 200;
    try {
        engine->AddCode(text);
    } catch (const zorv::vbs::ScriptError&) {
        // Script errors are the expected outcome of most inputs.
    }
    return 0;
}
