#include "error_text.h"

#include <algorithm>
#include <iterator>

#include "hresult.h"

namespace zorv::com {
namespace {

struct CodeText {
    HRESULT code;
    const char* text;
};

constexpr CodeText kTexts[] = {
    {E_NOTIMPL, "Non implémenté"},
    {E_NOINTERFACE, "Cette interface n'est pas prise en charge"},
    {E_POINTER, "Pointeur non valide"},
    {E_ABORT, "Opération abandonnée"},
    {E_FAIL, "Erreur non spécifiée"},
    {E_UNEXPECTED, "Défaillance irrémédiable"},
    {E_ACCESSDENIED, "Accès refusé"},
    {E_HANDLE, "Descripteur non valide"},
    {E_OUTOFMEMORY, "Mémoire insuffisante pour cette opération"},
    {E_INVALIDARG, "Paramètre incorrect"},
    {OLE_E_ADVISENOTSUPPORTED, "Cet objet ne gère pas les notifications"},
    {OLE_E_NOCONNECTION, "Connexion de notification inexistante"},
    {OLE_E_NOTRUNNING, "L'objet n'est pas en cours d'exécution"},
    {OLE_E_BLANK, "Objet vide ou non initialisé"},
    {CLASS_E_NOAGGREGATION, "Cette classe ne peut pas être créée dans un agrégat"},
    {CLASS_E_CLASSNOTAVAILABLE, "La fabrique de classes ne fournit pas la classe demandée"},
    {REGDB_E_CLASSNOTREG, "Classe non enregistrée"},
    {CONNECT_E_NOCONNECTION, "Aucune connexion pour ce cookie"},
    {CONNECT_E_ADVISELIMIT, "Nombre maximal de connexions atteint"},
    {CONNECT_E_CANNOTCONNECT, "Impossible d'établir la connexion"},
    {CO_E_NOTINITIALIZED, "CoInitialize n'a pas été appelé"},
    {CO_E_CLASSSTRING, "Chaîne de classe non valide"},
    {CO_E_OBJNOTREG, "Objet non inscrit"},
    {CO_E_DLLNOTFOUND, "Bibliothèque du serveur introuvable"},
    {CO_E_ERRORINDLL, "Erreur dans la bibliothèque du serveur"},
    {DISP_E_UNKNOWNINTERFACE, "Interface inconnue"},
    {DISP_E_MEMBERNOTFOUND, "Membre introuvable"},
    {DISP_E_PARAMNOTFOUND, "Paramètre introuvable"},
    {DISP_E_TYPEMISMATCH, "Type incompatible"},
    {DISP_E_UNKNOWNNAME, "Nom inconnu"},
    {DISP_E_NONAMEDARGS, "Aucun argument nommé"},
    {DISP_E_BADVARTYPE, "Type de variable incorrect"},
    {DISP_E_EXCEPTION, "Une exception s'est produite"},
    {DISP_E_OVERFLOW, "Dépassement de capacité"},
    {DISP_E_BADINDEX, "Index non valide"},
    {DISP_E_UNKNOWNLCID, "Identificateur de paramètres régionaux inconnu"},
    {DISP_E_ARRAYISLOCKED, "Mémoire verrouillée"},
    {DISP_E_BADPARAMCOUNT, "Nombre de paramètres non valide"},
    {DISP_E_PARAMNOTOPTIONAL, "Paramètre non facultatif"},
    {DISP_E_NOTACOLLECTION, "N'est pas une collection"},
    {DISP_E_DIVBYZERO, "Division par zéro"},
    {TYPE_E_ELEMENTNOTFOUND, "Élément introuvable"},
};

} // namespace

std::optional<std::string> PlatformErrorText(HRESULT code) {
    const auto found = std::find_if(std::begin(kTexts), std::end(kTexts),
                                    [code](const CodeText& entry) { return entry.code == code; });
    if (found == std::end(kTexts))
        return std::nullopt;
    return std::string(found->text);
}

} // namespace zorv::com
