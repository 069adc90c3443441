#pragma once
// What the GUI tests read off the window and the test objects: menu items,
// the rows of both pages, the calls a test object received, and the
// arguments an event carries.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTreeWidget>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/app_zorv.h"
#include "app/common_properties_page.h"
#include "app/kind_properties_page.h"
#include "devices/test_control.h"
#include "outside/late_bound.h"
#include "platform/com/variant_value.h"

// Readable texts in the tests' failure messages.
// Control characters and line separators are escaped, so that line ends show.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"';
    for (const QChar c : text) {
        if (c == u'\r')
            *out << "\\r";
        else if (c == u'\n')
            *out << "\\n";
        else if (c.unicode() < 0x20 || (c.unicode() >= 0x2028 && c.unicode() <= 0x2029))
            *out << "\\u" << std::hex << static_cast<unsigned>(c.unicode()) << std::dec;
        else
            *out << QString(c).toStdString();
    }
    *out << '"';
}

namespace zorv::testing {

inline std::vector<QString> MenuCaptions(app::TFrmAppZORV& window) {
    std::vector<QString> captions;
    for (QAction* item : window.MnPeriph->actions())
        captions.push_back(item->text());
    return captions;
}

// Clicks the device item captioned `displayName`, as the operator would.
inline void Choose(app::TFrmAppZORV& window, const QString& displayName) {
    for (QAction* item : window.MnPeriph->actions())
        if (item->text() == displayName) {
            item->trigger();
            return;
        }
    ADD_FAILURE() << "no device item " << displayName.toStdString();
}

inline QString Shown(app::TFrmAppZORV& window, views::CommonField field) {
    return window.TabSheet1->Value(field)->text();
}

struct CheckRow {
    QString name;
    bool checked;
    bool operator==(const CheckRow&) const = default;
};

inline std::vector<CheckRow> CheckRows(app::TFrmAppZORV& window) {
    std::vector<CheckRow> rows;
    QListWidget* list = window.TabSheet2->ClProp;
    for (int i = 0; i < list->count(); ++i)
        rows.push_back({list->item(i)->text(), list->item(i)->checkState() == Qt::Checked});
    return rows;
}

inline std::vector<QString> CheckNames(app::TFrmAppZORV& window) {
    std::vector<QString> names;
    for (const CheckRow& row : CheckRows(window))
        names.push_back(row.name);
    return names;
}

inline std::vector<std::pair<QString, QString>> ValueRows(app::TFrmAppZORV& window) {
    std::vector<std::pair<QString, QString>> rows;
    QTreeWidget* list = window.TabSheet2->LvProp;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows.emplace_back(list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1));
    return rows;
}

inline int CountMember(const TestControlLog& log, std::u16string_view member) {
    int count = 0;
    for (const RecordedCall& call : log.calls)
        count += call.member == member;
    return count;
}

// The values put into `property`, in order.
inline std::vector<com::Variant> Puts(const TestControlLog& log, std::u16string_view property) {
    std::vector<com::Variant> values;
    for (const RecordedCall& call : log.calls)
        if (call.member == property && (call.flags & DISPATCH_PROPERTYPUT) != 0 && !call.args.empty())
            values.push_back(call.args[0]);
    return values;
}

// The first argument of every call of `method`, as text.
inline std::vector<std::u16string> TextArgs(const TestControlLog& log, std::u16string_view method) {
    std::vector<std::u16string> texts;
    for (const RecordedCall& call : log.calls)
        if (call.member == method && !call.args.empty())
            texts.push_back(outside::ToText(call.args[0]));
    return texts;
}

inline bool IsTrue(const com::Variant& value) {
    return value.vt == VT_BOOL && value.boolVal == VARIANT_TRUE;
}

// The shapes of the events' argument lists, as the control objects send them.
enum class EventShape { Data, DirectIO, ScannerDirectIO, Error, OutputComplete, StatusUpdate };

// An event's arguments; the by-reference ones point into this object, which
// must outlive the firing.
class EventArgs {
public:
    explicit EventArgs(EventShape shape) : shape_(shape) {}
    EventArgs(const EventArgs&) = delete;
    EventArgs& operator=(const EventArgs&) = delete;
    ~EventArgs() { SysFreeString(text_); }

    std::vector<VARIANT> Make() {
        switch (shape_) {
        case EventShape::Data:
        case EventShape::OutputComplete:
        case EventShape::StatusUpdate:
            return {I4(7)};
        case EventShape::DirectIO:
            return {I4(11), RefI4(&data_), RefBstr(&text_)};
        case EventShape::ScannerDirectIO:
            return {I4(11), I4(22), RefBstr(&text_)};
        case EventShape::Error:
            return {I4(111), I4(0), I4(1), RefI4(&data_)};
        }
        return {};
    }
    // What the by-reference values hold after the handler ran.
    LONG Data() const { return data_; }
    std::u16string Text() const { return text_ ? std::u16string(text_) : std::u16string(); }

private:
    static VARIANT I4(LONG value) { return com::Variant(value).Detach(); }
    static VARIANT RefI4(LONG* variable) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BYREF | VT_I4;
        v.plVal = variable;
        return v;
    }
    static VARIANT RefBstr(BSTR* variable) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BYREF | VT_BSTR;
        v.pbstrVal = variable;
        return v;
    }

    EventShape shape_;
    LONG data_ = 12;
    BSTR text_ = SysAllocString(u"sent");
};

} // namespace zorv::testing
