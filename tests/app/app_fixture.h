#pragma once
// The main window on the offscreen platform, over test control objects
// registered under the seven ProgIDs, a test script engine under
// "ScriptControl" and the real object registry. Message boxes and the
// logical-device-name dialog are answered and recorded.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/app_zorv.h"
#include "app/saisie_ldn.h"
#include "devices/test_control.h"
#include "platform/ui/recording_user_interface.h"

namespace zorv::testing {

class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    ~AppFixture() override;

    // Registers test objects for these ProgIDs (the seven kinds by default).
    void Install(std::vector<std::u16string> progIds);
    // Hides a ProgID for the test, as if its component were not installed.
    void Uninstall(std::u16string progId);
    app::TFrmAppZORV& Start();

    TestControlRegistration& Device(std::u16string_view progId);
    // The dialog answers OK with `name` typed, or Cancel.
    void AnswerDialog(std::optional<std::u16string> name);
    std::vector<std::u16string> Reports() const { return reports_; }
    int CountCalls(std::u16string_view progId, std::u16string_view member) ;

    ui::RecordingUserInterface ui;
    std::unique_ptr<TestControlRegistration> scriptEngine;
    QTemporaryDir scriptFolder;
    std::unique_ptr<app::TFrmAppZORV> window;
    std::unique_ptr<app::TFrmSaisieLDN> dialog;

private:
    std::vector<std::unique_ptr<TestControlRegistration>> devices_;
    std::vector<std::u16string> hidden_;
    std::vector<std::u16string> reports_;
};

inline const std::vector<std::u16string> kAllProgIds = {u"OPOS.Scanner", u"OPOS.POSPrinter", u"OPOS.LineDisplay",
                                                        u"OPOS.Keylock", u"OPOS.MSR",        u"OPOS.POSKeyboard",
                                                        u"OPOS.CashDrawer"};

} // namespace zorv::testing
