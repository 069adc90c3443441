// The scanner: a label read with its symbology becomes ScanData (raw, with
// the symbology's identifier in front), and when decoding is on, the label
// and its type.
#include <algorithm>

#include "device.h"
#include "simulation_commands.h"

namespace zorv::opos {
namespace {

constexpr std::size_t kLongestLabel = 4096;

struct Symbology {
    LONG type;
    std::size_t digits; // 0: any text
    std::u16string_view prefix;
};

// AIM symbology identifiers, which scanners send ahead of the label.
constexpr Symbology kSymbologies[] = {
    {SCAN_SDT_UPCA, 12, u"]E0"}, {SCAN_SDT_EAN13, 13, u"]E0"},  {SCAN_SDT_EAN8, 8, u"]E4"},
    {SCAN_SDT_UPCE, 6, u"]E0"},  {SCAN_SDT_Code128, 0, u"]C0"}, {SCAN_SDT_Code39, 0, u"]A0"},
};

bool AllDigits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// A label given without a symbology is recognised the way a scanner would.
LONG GuessType(std::u16string_view label) {
    if (AllDigits(label))
        for (const Symbology& s : kSymbologies)
            if (s.digits == label.size())
                return s.type;
    return SCAN_SDT_Code128;
}

std::u16string_view PrefixOf(LONG type) {
    for (const Symbology& s : kSymbologies)
        if (s.type == type)
            return s.prefix;
    return {};
}

class Scanner final : public KindBehaviour {
public:
    bool TakesInput() const override { return true; }

    std::optional<LONG> Simulate(Device& device, LONG command, LONG& data, std::u16string& text) override {
        if (command != kSimInput)
            return std::nullopt;
        if (text.empty() || text.size() > kLongestLabel || data < 0)
            return OPOS_E_ILLEGAL;
        return device.Arrived({data == 0 ? GuessType(text) : data, 0, {text}});
    }

    LONG Load(Device& device, const Input& input) override {
        const std::u16string& label = input.texts.at(0);
        const bool decode = device.Bool(Prop::DecodeData);
        device.Set(Prop::ScanData, std::u16string(PrefixOf(input.code)) + label);
        device.Set(Prop::ScanDataLabel, decode ? label : std::u16string());
        device.Set(Prop::ScanDataType, decode ? input.code : SCAN_SDT_UNKNOWN);
        return 0;
    }
};

constexpr PropertyRow kProperties[] = {
    {Prop::DecodeData, Flag(false), Access::Writable},
    {Prop::ScanData, Text(u"")},
    {Prop::ScanDataLabel, Text(u"")},
    {Prop::ScanDataType, Long(SCAN_SDT_UNKNOWN)},
};

} // namespace

KindRows ScannerRows() {
    return {kProperties, {}, [] { return std::unique_ptr<KindBehaviour>(new Scanner); }};
}

} // namespace zorv::opos
