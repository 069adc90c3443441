#include "outside/error_report_text.h"

namespace zorv::outside {

std::u16string ErrorReportText(std::u16string_view text) {
    std::u16string shown(text);
    if (!shown.empty() && shown.back() > u'.')
        shown += u'.';
    return shown;
}

} // namespace zorv::outside
