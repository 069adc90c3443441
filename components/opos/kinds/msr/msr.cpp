// The magnetic stripe reader: a swipe gives up to three tracks, decoded and
// parsed into the card's fields as the application asks, and a track that
// does not read cleanly gives an ErrorEvent reported per card or per track.
#include <array>

#include "kinds/kind_table.h"
#include "model/device.h"
#include "kinds/msr/msr_tracks.h"

namespace zorv::opos {
namespace {

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
// Everything a swipe fills, which ClearInputProperties empties again.
constexpr Prop kInputProperties[] = {Prop::Track1Data,
                                     Prop::Track2Data,
                                     Prop::Track3Data,
                                     Prop::Track4Data,
                                     Prop::AccountNumber,
                                     Prop::ExpirationDate,
                                     Prop::Title,
                                     Prop::FirstName,
                                     Prop::MiddleInitial,
                                     Prop::Surname,
                                     Prop::Suffix,
                                     Prop::ServiceCode,
                                     Prop::Track1DiscretionaryData,
                                     Prop::Track2DiscretionaryData};

// With TransmitSentinels the data keeps the start and end sentinels.
std::u16string WithSentinels(const std::u16string& track, int number) {
    if (track.empty())
        return track;
    return (number == 1 ? u"%" : u";") + track + u"?";
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
    std::span<const Prop> InputProperties() const override { return kInputProperties; }

    // The head reads every track, with one error byte per track in
    // Input::detail; the application's settings decide what it gets.
    void Arriving(Device& device, Input input) override {
        std::array<std::u16string, 3> tracks;
        for (std::size_t i = 0; i < 3 && i < input.texts.size(); ++i)
            tracks[i] = input.texts[i];
        Swipe(device, tracks, input.detail);
    }

    // The DataEvent's Status holds the three track lengths, one per byte.
    LONG Load(Device& device, const Input& input) override {
        const bool decode = device.Bool(Prop::DecodeData);
        LONG status = 0;
        for (int i = 0; i < 3; ++i) {
            const std::u16string& track = input.texts.at(i);
            const bool sentinels = decode && device.Bool(Prop::TransmitSentinels);
            device.Set(kTrackData[i], !decode     ? RawTrack(track, i + 1)
                                      : sentinels ? WithSentinels(track, i + 1)
                                                  : track);
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
    // Tracks left out of TracksToRead are neither read nor checked; a swipe
    // that leaves nothing to read gives nothing.
    void Swipe(Device& device, std::array<std::u16string, 3>& tracks, LONG errors) {
        const LONG toRead = device.Long(Prop::TracksToRead);
        LONG perTrack = 0;
        LONG firstError = 0;
        bool anyData = false;
        for (int i = 0; i < 3; ++i) {
            const bool read = (toRead & (1 << i)) != 0;
            const LONG error = read ? (errors >> (8 * i)) & 0xFF : 0;
            if (!read || error != 0)
                tracks[i].clear();
            perTrack |= error << (8 * i);
            firstError = firstError ? firstError : error;
            anyData = anyData || !tracks[i].empty() || error != 0;
        }
        if (!anyData)
            return;
        Input input{0, 0, {tracks.begin(), tracks.end()}};
        if (firstError == 0)
            return device.QueueData(std::move(input));
        if (device.Long(Prop::ErrorReportingType) == MSR_ERT_CARD)
            return device.QueueInputError(OPOS_E_EXTENDED, firstError, {});
        device.QueueInputError(OPOS_E_EXTENDED, perTrack, {}, std::move(input));
    }
};

// The writing and security members of later versions: this reader has none
// of those capabilities.
LONG NotCapable(Device& device, const com::DispatchArgs&) {
    if (const LONG refused = device.Refusal())
        return device.Finish(refused);
    return device.Finish(OPOS_E_ILLEGAL);
}

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
    {Prop::Track4Data, Text(u"")},
    {Prop::CapTransmitSentinels, Flag(true)},
    {Prop::TransmitSentinels, Flag(false), Access::Writable},
    {Prop::CapWritableTracks, Long(0)},
    {Prop::TracksToWrite, Long(0)},
    {Prop::EncodingMaxLength, Long(0)},
    {Prop::CapCardAuthentication, Text(u"")},
    {Prop::CapDataEncryption, Long(1)},
    {Prop::CapDeviceAuthentication, Long(0)},
    {Prop::CardAuthenticationData, Text(u"")},
    {Prop::CardAuthenticationDataLength, Long(0)},
    {Prop::CardPropertyList, Text(u"")},
    {Prop::CardType, Text(u"BANK")},
    {Prop::CardTypeList, Text(u"BANK")},
    {Prop::DataEncryptionAlgorithm, Long(1)},
    {Prop::DeviceAuthenticated, Flag(false)},
    {Prop::DeviceAuthenticationProtocol, Long(0)},
    {Prop::Track1EncryptedData, Text(u"")},
    {Prop::Track1EncryptedDataLength, Long(0)},
    {Prop::Track2EncryptedData, Text(u"")},
    {Prop::Track2EncryptedDataLength, Long(0)},
    {Prop::Track3EncryptedData, Text(u"")},
    {Prop::Track3EncryptedDataLength, Long(0)},
    {Prop::Track4EncryptedData, Text(u"")},
    {Prop::Track4EncryptedDataLength, Long(0)},
    {Prop::AdditionalSecurityInformation, Text(u"")},
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

constexpr MethodRow kMethods[] = {
    {u"WriteTracks", NotCapable},
    {u"AuthenticateDevice", NotCapable},
    {u"DeauthenticateDevice", NotCapable},
    {u"RetrieveCardProperty", NotCapable},
    {u"RetrieveDeviceAuthenticationData", NotCapable},
    {u"UpdateKey", NotCapable},
};

} // namespace

KindRows MSRRows() {
    return {kProperties, kMethods, [] { return std::unique_ptr<KindBehaviour>(new MSR); }};
}

} // namespace zorv::opos
