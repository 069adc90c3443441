// The POS printer: output to its stations, synchronous or queued, refused
// while the cover is open or a station is out of paper, with transactions,
// paper cut and bar codes, and what was printed kept for reading back.
#include <array>
#include <deque>

#include "device.h"
#include "list_text.h"
#include "platform/com/text.h"
#include "printer_station.h"
#include "simulation_commands.h"

namespace zorv::opos {
namespace {

constexpr std::size_t kLongestData = 65536;
constexpr std::size_t kKeptPerStation = 1 << 20;

struct Outcome {
    LONG code = OPOS_SUCCESS;
    LONG extended = 0;
};

struct Job {
    const Station* station;
    std::u16string data;
    LONG id;
};

class Printer final : public KindBehaviour {
public:
    void Opened(Device&) override {
        printed_ = {};
        transactions_ = {};
        jobs_.clear();
        fault_.reset();
        waitingForAnswer_ = false;
    }

    bool OutputPending() const override { return !jobs_.empty(); }

    void ClearOutput(Device&) override {
        jobs_.clear();
        transactions_ = {};
    }

    std::optional<LONG> Simulate(Device& device, LONG command, LONG& data, std::u16string& text) override {
        switch (command) {
        case kSimError:
            fault_ = Outcome{data == 0 ? OPOS_E_FAILURE : OPOS_E_EXTENDED, data};
            return OPOS_SUCCESS;
        case kSimReadBack:
            return ReadBack(device, data, text);
        case kSimSensor:
            return Sense(device, data, text);
        default:
            return std::nullopt;
        }
    }

    LONG Put(Device& device, Prop prop, const Value& value) override {
        const LONG number = std::get<LONG>(value);
        bool fits = false;
        if (prop == Prop::CharacterSet)
            fits = ListHolds(device.Text(Prop::CharacterSetList), number);
        else if (const Station* station = StationOfLineChars(prop))
            fits = number >= 1 && number <= ListLargest(device.Text(station->lineCharsList));
        if (!fits)
            return OPOS_E_ILLEGAL;
        device.Set(prop, number);
        return OPOS_SUCCESS;
    }

    void OutputErrorAnswered(Device& device, LONG response) override {
        waitingForAnswer_ = false;
        if (response != OPOS_ER_RETRY)
            jobs_.clear();
        else if (!jobs_.empty() && Blocked(device, *jobs_.front().station).code == OPOS_SUCCESS)
            ScheduleRun(device);
    }

    // Usable device and a present station, or why not.
    Outcome Usable(Device& device, LONG stationCode, std::size_t size, const Station*& station) {
        if (const LONG refused = device.Refusal())
            return {refused};
        station = FindStation(stationCode);
        if (station == nullptr || !device.Bool(station->present) || size > kLongestData)
            return {OPOS_E_ILLEGAL};
        return {};
    }

    Outcome Normal(Device& device, LONG stationCode, const std::u16string& data) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, data.size(), station); refused.code)
            return refused;
        if (auto& transaction = transactions_[station->index]) {
            *transaction += data;
            return {};
        }
        return Output(device, *station, data);
    }

    Outcome Immediate(Device& device, LONG stationCode, const std::u16string& data) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, data.size(), station); refused.code)
            return refused;
        return PrintNow(device, *station, data);
    }

    Outcome Cut(Device& device, LONG percentage) {
        const Station* receipt = nullptr;
        if (Outcome refused = Usable(device, PTR_S_RECEIPT, 0, receipt); refused.code)
            return refused;
        if (!device.Bool(Prop::CapRecPaperCut) || percentage < 0 || percentage > 100)
            return {OPOS_E_ILLEGAL};
        // Cutting is what the escape sequence ESC|nP asks of the data stream.
        return Output(device, *receipt, u"\x1b|" + Number(percentage) + u"P");
    }

    Outcome BarCode(Device& device, LONG stationCode, const std::u16string& data, LONG symbology, LONG height,
                    LONG width, LONG alignment, LONG textPosition) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, data.size(), station); refused.code)
            return refused;
        const bool valid = station->code == PTR_S_RECEIPT && device.Bool(Prop::CapRecBarCode) &&
                           !data.empty() && symbology > 100 && height > 0 && width > 0 &&
                           alignment >= PTR_BC_RIGHT && textPosition <= PTR_BC_TEXT_NONE &&
                           textPosition >= PTR_BC_TEXT_BELOW;
        if (!valid)
            return {OPOS_E_ILLEGAL};
        return Output(device, *station, u"[bar code " + Number(symbology) + u": " + data + u"]\n");
    }

    Outcome Transaction(Device& device, LONG stationCode, LONG control) {
        const Station* station = nullptr;
        if (Outcome refused = Usable(device, stationCode, 0, station); refused.code)
            return refused;
        auto& transaction = transactions_[station->index];
        if (!device.Bool(Prop::CapTransaction))
            return {OPOS_E_ILLEGAL};
        if (control == PTR_TP_TRANSACTION && !transaction) {
            transaction.emplace();
            return {};
        }
        if (control != PTR_TP_NORMAL || !transaction)
            return {OPOS_E_ILLEGAL};
        const std::u16string data = std::move(*transaction);
        transaction.reset();
        return Output(device, *station, data);
    }

private:
    static std::u16string Number(LONG value) { return com::Utf8ToUtf16(std::to_string(value)); }

    // What stops output to a station now: the cover, its paper, a fault.
    Outcome Blocked(Device& device, const Station& station) const {
        if (device.Bool(Prop::CoverOpen))
            return {OPOS_E_EXTENDED, OPOS_EPTR_COVER_OPEN};
        if (device.Bool(station.empty))
            return {OPOS_E_EXTENDED, station.emptyExtended};
        if (fault_)
            return *fault_;
        return {};
    }

    Outcome Output(Device& device, const Station& station, const std::u16string& data) {
        if (!device.Bool(Prop::AsyncMode))
            return PrintNow(device, station, data);
        jobs_.push_back({&station, data, ++lastOutputId_});
        device.Set(Prop::OutputID, lastOutputId_);
        ScheduleRun(device);
        return {};
    }

    Outcome PrintNow(Device& device, const Station& station, const std::u16string& data) {
        const Outcome blocked = Blocked(device, station);
        if (blocked.code != OPOS_SUCCESS) {
            fault_.reset();
            return blocked;
        }
        Keep(station, data);
        return {};
    }

    void Keep(const Station& station, const std::u16string& data) {
        std::u16string& kept = printed_[station.index];
        kept += data;
        if (kept.size() > kKeptPerStation)
            kept.erase(0, kept.size() - kKeptPerStation);
    }

    void ScheduleRun(Device& device) {
        if (runPosted_ || waitingForAnswer_ || jobs_.empty())
            return;
        runPosted_ = true;
        device.Post([this, &device] {
            runPosted_ = false;
            RunNext(device);
        });
    }

    // One queued output per posted call; a blocked one waits for the
    // application's answer to its ErrorEvent.
    void RunNext(Device& device) {
        if (jobs_.empty() || waitingForAnswer_)
            return;
        const Outcome blocked = Blocked(device, *jobs_.front().station);
        if (blocked.code != OPOS_SUCCESS) {
            fault_.reset();
            waitingForAnswer_ = true;
            device.OutputFailed(blocked.code, blocked.extended);
            return;
        }
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        Keep(*job.station, job.data);
        device.Raise(Event::OutputComplete, job.id);
        if (jobs_.empty() && device.Bool(Prop::FlagWhenIdle)) {
            device.Set(Prop::FlagWhenIdle, false);
            device.StatusUpdate(PTR_SUE_IDLE);
        }
        ScheduleRun(device);
    }

    LONG ReadBack(Device& device, LONG& data, std::u16string& text) {
        const Station* station = FindStation(data);
        if (station == nullptr || !device.Bool(station->present))
            return OPOS_E_ILLEGAL;
        text = printed_[station->index];
        data = static_cast<LONG>(text.size());
        return OPOS_SUCCESS;
    }

    // pData: 0 for the cover, else a station; pString: "open"/"closed" or
    // "empty"/"nearend"/"ok". A condition without its sensor cannot be seen.
    LONG Sense(Device& device, LONG what, const std::u16string& state) {
        if (what == 0)
            return SenseCover(device, state);
        const Station* station = FindStation(what);
        if (station == nullptr || !device.Bool(station->present))
            return OPOS_E_ILLEGAL;
        const bool empty = com::EqualsIgnoringCase(state, u"empty");
        const bool nearEnd = com::EqualsIgnoringCase(state, u"nearend");
        const bool ok = com::EqualsIgnoringCase(state, u"ok");
        if ((empty && !device.Bool(station->emptySensor)) ||
            (nearEnd && !device.Bool(station->nearEndSensor)) || !(empty || nearEnd || ok))
            return OPOS_E_ILLEGAL;
        device.Set(station->empty, empty);
        device.Set(station->nearEnd, empty || nearEnd);
        device.StatusUpdate(empty     ? station->statusEmpty
                            : nearEnd ? station->statusNearEmpty
                                      : station->statusPaperOk);
        ScheduleRun(device);
        return OPOS_SUCCESS;
    }

    LONG SenseCover(Device& device, const std::u16string& state) {
        const bool open = com::EqualsIgnoringCase(state, u"open");
        if (!device.Bool(Prop::CapCoverSensor) || !(open || com::EqualsIgnoringCase(state, u"closed")))
            return OPOS_E_ILLEGAL;
        device.Set(Prop::CoverOpen, open);
        device.StatusUpdate(open ? PTR_SUE_COVER_OPEN : PTR_SUE_COVER_OK);
        ScheduleRun(device);
        return OPOS_SUCCESS;
    }

    std::array<std::u16string, 3> printed_;
    std::array<std::optional<std::u16string>, 3> transactions_;
    std::deque<Job> jobs_;
    std::optional<Outcome> fault_;
    LONG lastOutputId_ = 0;
    bool runPosted_ = false;
    bool waitingForAnswer_ = false;
};

Printer& Of(Device& device) {
    return static_cast<Printer&>(device.Behaviour());
}

LONG Done(Device& device, Outcome outcome) {
    return device.Finish(outcome.code, outcome.extended);
}

LONG PrintNormal(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return Done(device, Of(device).Normal(device, args.Long(0), args.String(1)));
}

LONG PrintImmediate(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return Done(device, Of(device).Immediate(device, args.Long(0), args.String(1)));
}

LONG CutPaper(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(1, 1);
    return Done(device, Of(device).Cut(device, args.Long(0)));
}

LONG PrintBarCode(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(7, 7);
    return Done(device, Of(device).BarCode(device, args.Long(0), args.String(1), args.Long(2), args.Long(3),
                                           args.Long(4), args.Long(5), args.Long(6)));
}

LONG TransactionPrint(Device& device, const com::DispatchArgs& args) {
    args.ExpectCount(2, 2);
    return Done(device, Of(device).Transaction(device, args.Long(0), args.Long(1)));
}

constexpr MethodRow kMethods[] = {
    {u"PrintNormal", PrintNormal},   {u"PrintImmediate", PrintImmediate},     {u"CutPaper", CutPaper},
    {u"PrintBarCode", PrintBarCode}, {u"TransactionPrint", TransactionPrint},
};

} // namespace

KindRows PrinterRows() {
    return {PrinterProperties(), kMethods, [] { return std::unique_ptr<KindBehaviour>(new Printer); }};
}

} // namespace zorv::opos
