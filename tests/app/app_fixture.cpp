#include "app/app_fixture.h"

#include <QApplication>
#include <QLineEdit>

#include "app/modal_runner.h"
#include "outside/error_report.h"
#include "platform/com/class_table.h"
#include "script/script_files.h"

namespace zorv::testing {
namespace {

// One application object for the whole test program, on the offscreen platform.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "app_test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)application;
}

} // namespace

AppFixture::AppFixture() {
    EnsureApplication();
    outside::SetErrorReporter([this](std::u16string_view text) { reports_.emplace_back(text); });
    script::SetScriptFolder(scriptFolder.path());
    scriptEngine = std::make_unique<TestControlRegistration>(u"ScriptControl");
}

AppFixture::~AppFixture() {
    window.reset();
    dialog.reset();
    for (const std::u16string& progId : hidden_)
        com::SetProgIDHidden(progId, false);
    app::SetModalRunner(nullptr);
    outside::SetErrorReporter(nullptr);
    script::SetScriptFolder(QString());
}

void AppFixture::Install(std::vector<std::u16string> progIds) {
    for (std::u16string& progId : progIds)
        devices_.push_back(std::make_unique<TestControlRegistration>(std::move(progId)));
}

void AppFixture::Uninstall(std::u16string progId) {
    com::SetProgIDHidden(progId, true);
    hidden_.push_back(std::move(progId));
}

app::TFrmAppZORV& AppFixture::Start() {
    window = std::make_unique<app::TFrmAppZORV>();
    dialog = std::make_unique<app::TFrmSaisieLDN>();
    window->SetLogicalNameDialog(dialog.get());
    return *window;
}

TestControlRegistration& AppFixture::Device(std::u16string_view progId) {
    for (auto& device : devices_)
        if (device->ProgId() == progId)
            return *device;
    throw std::logic_error("no such test device");
}

void AppFixture::AnswerDialog(std::optional<std::u16string> name) {
    app::SetModalRunner([name](QDialog& shown) {
        auto& ldn = dynamic_cast<app::TFrmSaisieLDN&>(shown);
        if (!name)
            return static_cast<int>(QDialog::Rejected);
        ldn.EdtLDN->setText(QString::fromStdU16String(*name));
        return static_cast<int>(QDialog::Accepted);
    });
}

int AppFixture::CountCalls(std::u16string_view progId, std::u16string_view member) {
    int count = 0;
    for (const RecordedCall& call : Device(progId).Log().calls)
        count += call.member == member;
    return count;
}

} // namespace zorv::testing
