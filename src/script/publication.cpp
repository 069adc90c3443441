#include "script/publication.h"

#include "outside/error_report.h"
#include "outside/late_bound.h"
#include "platform/ui/user_interface.h"

namespace zorv::script {
namespace {

void ShowRefusal(std::u16string_view registryName, std::u16string_view errorText) {
    ui::Message message;
    message.caption = std::u16string(outside::kApplicationTitle);
    message.text = std::u16string(registryName) + u" : " + std::u16string(errorText);
    message.icon = ui::Icon::Error;
    message.buttons = ui::Buttons::Ok;
    ui::CurrentUserInterface().ShowMessage(message);
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
