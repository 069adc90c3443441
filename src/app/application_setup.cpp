#include "app/application_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/window_font.h"

namespace zorv::app {

bool SetUpApplication(QApplication& application) {
    QApplication::setFont(WindowFont());
    // The program speaks French whatever the system's language.
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

} // namespace zorv::app
