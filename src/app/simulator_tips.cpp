#include "app/simulator_tips.h"

namespace zorv::app {
namespace {

struct ButtonTip {
    const char* name;
    const char* tip;
};

constexpr ButtonTip kTips[] = {
    {"BtnScan", "Lit l'étiquette saisie avec la symbologie choisie (DirectIO 1)"},
    {"BtnGoodScan", "Lit une étiquette EAN-13 valide, symbologie reconnue d'après l'étiquette"},
    {"BtnBadScan", "Lecture ratée : le lecteur signale une erreur d'entrée (ErrorEvent)"},
    {"BtnCoverOpen", "Ouvre le capot de l'imprimante (StatusUpdateEvent)"},
    {"BtnCoverClosed", "Referme le capot de l'imprimante"},
    {"BtnPaperEmpty", "La station choisie n'a plus de papier"},
    {"BtnPaperNearEnd", "Le papier de la station choisie arrive à sa fin"},
    {"BtnPaperOk", "Recharge le papier de la station choisie"},
    {"BtnOutputError", "La prochaine impression échoue avec le code étendu ci-dessous"},
    {"BtnKeyLock", "Tourne la clé en position verrouillée"},
    {"BtnKeyNorm", "Tourne la clé en position normale"},
    {"BtnKeySupr", "Tourne la clé en position superviseur"},
    {"BtnSwipe", "Passe une carte portant les pistes saisies"},
    {"BtnGoodCard", "Passe une carte de test valide (pistes 1 et 2)"},
    {"BtnBadTrack", "Passe une carte dont la piste 2 est illisible"},
    {"BtnKeyDown", "Enfonce la touche du code choisi"},
    {"BtnKeyUp", "Relâche la touche du code choisi"},
    {"BtnKeyPress", "Enfonce puis relâche la touche du code choisi"},
    {"BtnDrawerOpen", "Ouvre le tiroir (OpenDrawer)"},
    {"BtnDrawerClose", "Repousse le tiroir à la main, comme le ferait le caissier"},
    {"BtnPowerOn", "Le périphérique est sous tension et en ligne"},
    {"BtnPowerOff", "Le périphérique est hors tension"},
    {"BtnPowerOffline", "Le périphérique est sous tension mais hors ligne"},
    {"BtnInputError", "Signale une erreur d'entrée avec le code étendu choisi (ErrorEvent)"},
};

} // namespace

QString SimulatorButtonTip(const QString& buttonName) {
    for (const ButtonTip& entry : kTips)
        if (buttonName == QLatin1String(entry.name))
            return QString::fromUtf8(entry.tip);
    return {};
}

} // namespace zorv::app
