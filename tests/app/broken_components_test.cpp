// The program over a components folder that is broken as an installation
// can be: the OPOS library missing, a second file claiming the scanner. Each
// kind's warning says why it is absent, and the program says where it looked
// before it ends with a failure status. A test program of its own: the folder
// must be in place before the apartment is entered.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/program.h"
#include "outside/error_report.h"
#include "platform/com/apartment.h"
#include "platform/com/class_table.h"
#include "platform/ui/recording_user_interface.h"

namespace {

QTemporaryDir* folder = nullptr;

QByteArray RealRegistration(const QString& name) {
    QFile file(QStringLiteral(ZORV_REAL_COMPONENTS) + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& name, const QByteArray& text) {
    QFile file(folder->filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
}

// The registry as installed; the OPOS classes with their library gone; a vendor file claiming the scanner.
void BreakInstallation() {
    QByteArray registry = RealRegistration(QStringLiteral("zorv_registry.classes"));
    registry.replace("library ", "library " ZORV_REAL_COMPONENTS "/");
    Write(QStringLiteral("zorv_registry.classes"), registry);
    QByteArray opos = RealRegistration(QStringLiteral("zorv_opos.classes"));
    opos.replace("libzorv_opos.so", "libzorv_opos_removed.so");
    Write(QStringLiteral("zorv_opos.classes"), opos);
    Write(QStringLiteral("vendor.classes"), "library " ZORV_REAL_COMPONENTS "/libzorv_opos.so\n"
                                            "class {0BADF00D-0000-4000-8000-000000000001} OPOS.Scanner\n");
}

} // namespace

TEST(BrokenComponents, EachKindSaysWhyItIsAbsentAndTheProgramWhereItLookedThenFails) {
    zorv::ui::RecordingUserInterface ui;
    std::vector<std::u16string> reports;
    zorv::outside::SetErrorReporter([&](std::u16string_view text) { reports.emplace_back(text); });
    EXPECT_EQ(zorv::app::RunProgram(), 1);
    zorv::outside::SetErrorReporter(nullptr);
    EXPECT_TRUE(reports.empty());
    ASSERT_EQ(ui.Messages().size(), 8u);
    const auto text = [&](std::size_t i) { return QString::fromStdU16String(ui.Messages()[i].text); };
    EXPECT_TRUE(text(0).startsWith(QStringLiteral("OPOS.Scanner : Chaîne de classe non valide (")));
    EXPECT_TRUE(text(0).contains(QStringLiteral("vendor.classes et par zorv_opos.classes")))
        << text(0).toStdString();
    const QString removed = QStringLiteral("zorv_opos.classes : la bibliothèque « %1 » est introuvable")
                                .arg(folder->filePath(QStringLiteral("libzorv_opos_removed.so")));
    for (std::size_t i = 1; i < 7; ++i)
        EXPECT_TRUE(text(i).contains(removed)) << text(i).toStdString();
    EXPECT_EQ(ui.Messages()[7].icon, zorv::ui::Icon::Error);
    EXPECT_TRUE(text(7).contains(QStringLiteral("Dossier des composants : ") + folder->path()))
        << text(7).toStdString();
    EXPECT_TRUE(text(7).contains(QStringLiteral("OPOS.CashDrawer"))) << text(7).toStdString();
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir components;
    folder = &components;
    BreakInstallation();
    zorv::com::SetDefaultComponentFolder(components.path().toStdString());
    CoInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
