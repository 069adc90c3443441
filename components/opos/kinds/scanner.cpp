// The scanner: a label read with its symbology becomes ScanData (raw, with
// the symbology's identifier in front), and when decoding is on, the label
// and its type.
#include <algorithm>

#include "kinds/kind_table.h"
#include "model/device.h"

namespace zorv::opos {
namespace {

struct Symbology {
    LONG type;
    std::u16string_view prefix;
};

// AIM symbology identifiers, which scanners send ahead of the label.
constexpr Symbology kSymbologies[] = {
    {SCAN_SDT_UPCA, u"]E0"}, {SCAN_SDT_EAN13, u"]E0"},   {SCAN_SDT_EAN8, u"]E4"},
    {SCAN_SDT_UPCE, u"]E0"}, {SCAN_SDT_Code128, u"]C0"}, {SCAN_SDT_Code39, u"]A0"},
};

std::u16string_view PrefixOf(LONG type) {
    for (const Symbology& s : kSymbologies)
        if (s.type == type)
            return s.prefix;
    return {};
}

constexpr Prop kInputProperties[] = {Prop::ScanData, Prop::ScanDataLabel, Prop::ScanDataType};

class Scanner final : public KindBehaviour {
public:
    std::span<const Prop> InputProperties() const override { return kInputProperties; }

    LONG Load(Device& device, const Input& input) override {
        const std::u16string& label = input.texts.at(0);
        const bool decode = device.Bool(Prop::DecodeData);
        // A real scanner's bytes come as sent; the simulation adds the identifier.
        const bool raw = input.texts.size() > 1;
        device.Set(Prop::ScanData, raw ? input.texts[1] : std::u16string(PrefixOf(input.code)) + label);
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
