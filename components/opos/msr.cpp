// The magnetic stripe reader: a swipe gives up to three tracks, decoded and
// parsed into the card's fields as the application asks, and a track that
// does not read cleanly gives an ErrorEvent reported per card or per track.
#include <array>

#include "device.h"
#include "msr_tracks.h"
#include "simulation_commands.h"

namespace zorv::opos {
namespace {

constexpr std::size_t kLongestSwipe = 4096;
constexpr Prop kTrackData[] = {Prop::Track1Data, Prop::Track2Data, Prop::Track3Data};
constexpr Prop kCardFields[] = {Prop::AccountNumber,
                                Prop::ExpirationDate,
                                Prop::Title,
                                Prop::FirstName,
                                Prop::MiddleInitial,
                                Prop::Surname,
                                Prop::Suffix,
                                Prop::ServiceCode,
                                Prop::Track1DiscretionaryData,
                                Prop::Track2DiscretionaryData};

// The swipe command's text: the tracks separated by '|', which no ISO track can hold.
std::optional<std::array<std::u16string, 3>> SplitTracks(std::u16string_view text) {
    std::array<std::u16string, 3> tracks;
    for (int i = 0; i < 3; ++i) {
        const auto bar = text.find(u'|');
        tracks[i] = StripSentinels(text.substr(0, bar), i + 1);
        text = bar == std::u16string_view::npos ? std::u16string_view() : text.substr(bar + 1);
        if (bar == std::u16string_view::npos)
            return tracks;
    }
    if (!text.empty())
        return std::nullopt;
    return tracks;
}

void SetFields(Device& device, const std::optional<CardFields>& track1,
               const std::optional<CardFields>& track2) {
    for (Prop field : kCardFields)
        device.Set(field, std::u16string());
    const std::optional<CardFields>& main = track1 ? track1 : track2;
    if (!main)
        return;
    device.Set(Prop::AccountNumber, main->accountNumber);
    device.Set(Prop::ExpirationDate, main->expirationDate);
    device.Set(Prop::ServiceCode, main->serviceCode);
    if (track1) {
        device.Set(Prop::Title, track1->title);
        device.Set(Prop::FirstName, track1->firstName);
        device.Set(Prop::MiddleInitial, track1->middleInitial);
        device.Set(Prop::Surname, track1->surname);
        device.Set(Prop::Suffix, track1->suffix);
        device.Set(Prop::Track1DiscretionaryData, track1->discretionary);
    }
    if (track2)
        device.Set(Prop::Track2DiscretionaryData, track2->discretionary);
}

class MSR final : public KindBehaviour {
public:
    bool TakesInput() const override { return true; }

    std::optional<LONG> Simulate(Device& device, LONG command, LONG&, std::u16string& text) override {
        if (command != kSimInput)
            return std::nullopt;
        auto tracks = text.size() <= kLongestSwipe ? SplitTracks(text) : std::nullopt;
        if (!tracks)
            return OPOS_E_ILLEGAL;
        return Swipe(device, *tracks);
    }

    // The DataEvent's Status holds the three track lengths, one per byte.
    LONG Load(Device& device, const Input& input) override {
        const bool decode = device.Bool(Prop::DecodeData);
        LONG status = 0;
        for (int i = 0; i < 3; ++i) {
            const std::u16string& track = input.texts.at(i);
            device.Set(kTrackData[i], decode ? track : RawTrack(track, i + 1));
            status |= static_cast<LONG>(std::min<std::size_t>(track.size(), 255)) << (8 * i);
        }
        if (device.Bool(Prop::ParseDecodeData))
            SetFields(device, ParseTrack1(input.texts[0]), ParseTrack2(input.texts[1]));
        else
            SetFields(device, std::nullopt, std::nullopt);
        return status;
    }

    // Parsing needs decoded data, so the two flags move together.
    LONG Put(Device& device, Prop prop, const Value& value) override {
        const bool on = std::get<bool>(value);
        if (prop == Prop::DecodeData) {
            device.Set(Prop::DecodeData, on);
            if (!on)
                device.Set(Prop::ParseDecodeData, false);
        } else if (prop == Prop::ParseDecodeData) {
            device.Set(Prop::ParseDecodeData, on);
            if (on)
                device.Set(Prop::DecodeData, true);
        } else {
            return OPOS_E_ILLEGAL;
        }
        return OPOS_SUCCESS;
    }

private:
    // Tracks left out of TracksToRead are neither read nor checked.
    LONG Swipe(Device& device, std::array<std::u16string, 3>& tracks) {
        const LONG toRead = device.Long(Prop::TracksToRead);
        LONG perTrack = 0;
        LONG firstError = 0;
        bool anyData = false;
        for (int i = 0; i < 3; ++i) {
            if ((toRead & (1 << i)) == 0)
                tracks[i].clear();
            const LONG error = TrackError(tracks[i], i + 1);
            perTrack |= error << (8 * i);
            if (error != 0) {
                firstError = firstError ? firstError : error;
                tracks[i].clear();
            }
            anyData = anyData || !tracks[i].empty() || error != 0;
        }
        if (!anyData)
            return OPOS_E_ILLEGAL;
        Input input{0, 0, {tracks.begin(), tracks.end()}};
        if (firstError == 0)
            return device.Arrived(std::move(input));
        if (device.Long(Prop::ErrorReportingType) == MSR_ERT_CARD)
            return device.InputFailed(OPOS_E_EXTENDED, firstError, {});
        return device.InputFailed(OPOS_E_EXTENDED, perTrack, {}, std::move(input));
    }
};

constexpr PropertyRow kProperties[] = {
    {Prop::CapISO, Flag(true)},
    {Prop::CapJISOne, Flag(false)},
    {Prop::CapJISTwo, Flag(false)},
    {Prop::DecodeData, Flag(true), Access::Custom},
    {Prop::ParseDecodeData, Flag(true), Access::Custom},
    {Prop::TracksToRead, Long(MSR_TR_1_2_3), Access::Ranged, 1, MSR_TR_1_2_3},
    {Prop::ErrorReportingType, Long(MSR_ERT_CARD), Access::Ranged, MSR_ERT_CARD, MSR_ERT_TRACK},
    {Prop::Track1Data, Text(u"")},
    {Prop::Track2Data, Text(u"")},
    {Prop::Track3Data, Text(u"")},
    {Prop::AccountNumber, Text(u"")},
    {Prop::ExpirationDate, Text(u"")},
    {Prop::Title, Text(u"")},
    {Prop::FirstName, Text(u"")},
    {Prop::MiddleInitial, Text(u"")},
    {Prop::Surname, Text(u"")},
    {Prop::Suffix, Text(u"")},
    {Prop::ServiceCode, Text(u"")},
    {Prop::Track1DiscretionaryData, Text(u"")},
    {Prop::Track2DiscretionaryData, Text(u"")},
};

} // namespace

KindRows MSRRows() {
    return {kProperties, {}, [] { return std::unique_ptr<KindBehaviour>(new MSR); }};
}

} // namespace zorv::opos
