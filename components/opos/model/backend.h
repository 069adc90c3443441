#pragma once
// The boundary between the OPOS service model and what drives a device. The
// model keeps every OPOS rule; a back end only says what the device does:
// it takes output, reports input, sensor and power changes, and answers
// health, statistics and firmware questions.
//
// Threads: every call in both directions happens on the apartment thread. A
// back end that reads on an I/O thread hands what it read over with
// com::PostCall (safe from any thread) and calls BackendEvents from there.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "model/event_queue.h"

namespace zorv::opos {

struct Profile;

// One piece of output. Print data carries the standard's escape sequences
// (ESC|bC, ESC|#P, ...) as the application wrote them; the back end
// translates them for its device.
struct Output {
    enum class What : std::uint8_t {
        PrintData,
        BarCode,
        Bitmap,
        MarkFeed,
        ChangeSide,
        OpenDrawer,
        Screen,
        Beep,
        RuledLine
    };
    What what = What::PrintData;
    LONG station = 0;
    // Print data, bar code data, bitmap file name, a ruled line's position
    // list, or the screen's rows separated by line feeds (then, for a display
    // with LongestOwnMarquee, the text it is to scroll).
    std::u16string data;
    // Bar code: symbology, height, width, alignment, text position.
    // Bitmap: width, alignment, 1 when data holds the picture's bytes
    // (one per character) rather than a file name. Mark feed: type. Side: side. Beep:
    // frequency, duration. Print data: the rotation (PTR_RP_*). Ruled line:
    // direction, thickness in dots, style, colour. Screen: the cursor's row
    // and column on the screen, DeviceBrightness, CursorType, and the
    // BlinkRate at which a display that BlinksByItself is to blink the whole
    // screen (0: steady).
    LONG params[5] = {};
    // Print data: the CharacterSet in force when it was given.
    LONG characterSet = 0;

    static Output Of(What what) {
        Output output;
        output.what = what;
        return output;
    }
};

// How an output or a call ended: a result code, and the extended code of a 114.
struct Outcome {
    LONG code = 0;
    LONG extended = 0;
};

struct HealthReport {
    LONG code = 0;
    std::u16string text;
};

// What a back end reports. The answers are the number of control objects
// that were told, which a simulation shows to whoever injected the change.
class BackendEvents {
public:
    virtual int InputArrived(Input input) = 0;
    // `retry` is handed back to Backend::RetryInput when the application
    // answers retry; `partial` is what was read cleanly.
    virtual int InputFailed(LONG code, LONG extended, std::u16string retry, std::optional<Input> partial) = 0;
    // A sensor the model shows as a property changed; `status` is the
    // StatusUpdateEvent that tells it, if any.
    virtual int SensorChanged(Prop prop, Value value, std::optional<LONG> status) = 0;
    virtual int PowerChanged(LONG state) = 0;
    // Completes what Backend::Send took, at once or later.
    virtual void OutputDone(std::uint64_t ticket, LONG code, LONG extended) = 0;
    // UpdateFirmware's progress: 1..99 percent, then a final status update.
    virtual void FirmwareStatus(LONG status) = 0;

protected:
    ~BackendEvents() = default;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Called once, when the first control object opens the device.
    virtual void Start(BackendEvents& events) = 0;
    // Claim: the link to the device is made; a failure's code (107 no
    // hardware, 112 timeout) comes with the reason.
    virtual HealthReport Connect() { return {}; }
    // DeviceEnabled becomes true: the device is set up and its sensors read.
    virtual HealthReport Prepare() { return {}; }
    // DeviceEnabled becomes false: what was taken for the session is let go.
    virtual void Disable() {}
    // Release, or Close by the claimant: the link may go.
    virtual void Disconnect() {}
    // Why the last output failed, in words, when the code alone does not say.
    virtual std::u16string LastFailure() const { return u""; }
    // Must complete every ticket through BackendEvents::OutputDone.
    virtual void Send(std::uint64_t ticket, const Output& output) = 0;
    // How long a synchronous call waits for its ticket before answering 112.
    // A back end that fails a stalled job by itself says OPOS_FOREVER, so a
    // long job that keeps going out is not reported failed while it prints.
    virtual LONG OutputTimeoutMs() const { return 10000; }
    // SetBitmap: `picture` (a Bitmap output, checked by the model) is kept
    // under `number` for the station, to print where data says ESC|nB.
    virtual Outcome StoreBitmap(LONG, const Output&) { return {}; }
    virtual HealthReport CheckHealth(LONG level) = 0;
    virtual std::u16string FirmwareRevision() const { return u""; }
    // OPOS_CFV_* in `result`; answers a result code.
    virtual LONG CompareFirmware(std::u16string_view file, LONG& result) = 0;
    // Starts an update that reports through FirmwareStatus.
    virtual LONG UpdateFirmware(std::u16string_view file) = 0;
    // Commands of the back end's own (a simulation plays the hardware with
    // them); none when the command is not the back end's.
    virtual std::optional<LONG> DirectIO(LONG command, LONG& data, std::u16string& text) = 0;
    // A control object starts waiting for a sensor.
    virtual void WaitStarted() {}
    virtual void RetryInput(const std::u16string&) {}
    // What the statistics' Equipment section names.
    virtual std::u16string Interface() const = 0;
    // A line display that blinks its whole screen by itself; otherwise the
    // model blinks it by sending the screen at each beat.
    virtual bool BlinksByItself() const { return false; }
    // The longest text a line display scrolls leftward along its whole top
    // row by itself (sent after the rows of Output::Screen); 0: none, the
    // model runs every marquee.
    virtual LONG LongestOwnMarquee() const { return 0; }
};

// The back end a profile names: ESC/POS for a profile with a connection,
// the simulation otherwise.
std::unique_ptr<Backend> MakeBackend(const Profile& profile);

} // namespace zorv::opos
