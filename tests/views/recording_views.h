#pragma once
// Implementations of the two page interfaces that remember what the logic
// showed, in the order it showed it.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "views/common_properties_view.h"
#include "views/kind_properties_view.h"

namespace zorv::testing {

class RecordingCommonView : public views::CommonPropertiesView {
public:
    std::map<views::CommonField, std::u16string> values;
    std::optional<bool> captionEnabled;

    void SetValue(views::CommonField field, std::u16string_view text) override { values[field] = text; }
    void SetPowerStateCaptionEnabled(bool enabled) override { captionEnabled = enabled; }
};

struct CheckItem {
    std::u16string text;
    bool checked;
    bool operator==(const CheckItem&) const = default;
};

struct ValueRow {
    std::u16string caption;
    std::u16string value;
    bool operator==(const ValueRow&) const = default;
};

class RecordingSpecificView : public views::SpecificPropertiesView {
public:
    std::vector<CheckItem> checks;
    std::vector<ValueRow> rows;

    void Clear() override {
        checks.clear();
        rows.clear();
    }
    void AppendCheckItem(std::u16string_view text, bool checked) override {
        checks.push_back({std::u16string(text), checked});
    }
    void AppendValueRow(std::u16string_view caption, std::u16string_view value) override {
        rows.push_back({std::u16string(caption), std::u16string(value)});
    }

    const ValueRow* Row(std::u16string_view caption) const {
        for (const ValueRow& row : rows)
            if (row.caption == caption)
                return &row;
        return nullptr;
    }
};

} // namespace zorv::testing
