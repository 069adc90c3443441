#include "script/publication.h"

#include "outside/error_report.h"
#include "outside/late_bound.h"
#include "outside/message_box.h"

namespace zorv::script {
namespace {

void ShowRefusal(std::u16string_view registryName, std::u16string_view errorText) {
    outside::ShowMessageBox(std::u16string(registryName) + u" : " + std::u16string(errorText), ui::Icon::Error);
}

} // namespace

void PublishDeviceObject(IDispatch* registry, std::u16string_view registryName, IDispatch* deviceObject) noexcept {
    try {
        com::Bstr name(registryName);
        com::Variant object(deviceObject);
        outside::CallMethod(registry, u"AddObject", {outside::Arg::Ref(name), outside::Arg::Ref(object)});
    } catch (const std::exception& error) {
        try {
            ShowRefusal(registryName, outside::ErrorText(error));
        } catch (...) {
        }
    } catch (...) {
        try {
            ShowRefusal(registryName, u"Erreur inattendue");
        } catch (...) {
        }
    }
}

} // namespace zorv::script
