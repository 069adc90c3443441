#include "error_texts.h"

#include <algorithm>
#include <iterator>

#include "script_error.h"

namespace zorv::vbs {
namespace {

struct NumberText {
    int number;
    std::u16string_view text;
};

// Sorted by number for the binary search below.
constexpr NumberText kTexts[] = {
    {3, u"Return sans GoSub"},
    {5, u"Argument ou appel de procédure incorrect"},
    {6, u"Dépassement de capacité"},
    {7, u"Mémoire insuffisante"},
    {9, u"L'indice n'appartient pas à la sélection"},
    {10, u"Ce tableau est fixe ou temporairement verrouillé"},
    {11, u"Division par zéro"},
    {13, u"Type incompatible"},
    {14, u"Espace de chaîne insuffisant"},
    {17, u"Impossible d'exécuter l'opération requise"},
    {28, u"Espace pile insuffisant"},
    {35, u"Sub ou Function non définie"},
    {48, u"Erreur de chargement de la DLL"},
    {51, u"Erreur interne"},
    {52, u"Nom ou numéro de fichier incorrect"},
    {53, u"Fichier introuvable"},
    {70, u"Permission refusée"},
    {91, u"Variable objet ou variable de bloc With non définie"},
    {92, u"Boucle For non initialisée"},
    {94, u"Utilisation incorrecte de Null"},
    {322, u"Impossible de créer le fichier temporaire nécessaire"},
    {424, u"Objet requis"},
    {429, u"Un composant ActiveX ne peut pas créer un objet"},
    {430, u"Cette classe ne gère pas Automation"},
    {432, u"Nom de fichier ou de classe introuvable pendant une opération Automation"},
    {438, u"Cet objet ne gère pas cette propriété ou cette méthode"},
    {440, u"Erreur Automation"},
    {445, u"Cet objet ne gère pas cette action"},
    {446, u"Cet objet ne gère pas les arguments nommés"},
    {447, u"Cet objet ne gère pas les paramètres régionaux en cours"},
    {448, u"Argument nommé introuvable"},
    {449, u"Argument non facultatif"},
    {450, u"Nombre d'arguments incorrect ou affectation de propriété incorrecte"},
    {451, u"Cet objet n'est pas une collection"},
    {453, u"Fonction de DLL spécifiée introuvable"},
    {458, u"La variable utilise un type Automation non géré par VBScript"},
    {462, u"Le serveur distant n'existe pas ou n'est pas disponible"},
    {500, u"Variable non définie"},
    {501, u"Affectation illégale"},
    {502, u"Objet non sécurisé pour l'écriture de script"},
    {503, u"Objet non sécurisé pour l'initialisation"},
    {504, u"Objet non sécurisé pour la création"},
    {505, u"Référence non valide ou non qualifiée"},
    {506, u"Classe non définie"},
    {507, u"Une exception s'est produite"},
    {1001, u"Mémoire insuffisante"},
    {1002, u"Erreur de syntaxe"},
    {1003, u"':' attendu"},
    {1005, u"'(' attendu"},
    {1006, u"')' attendu"},
    {1007, u"']' attendu"},
    {1010, u"Identificateur attendu"},
    {1011, u"'=' attendu"},
    {1012, u"'If' attendu"},
    {1013, u"'To' attendu"},
    {1014, u"'End' attendu"},
    {1015, u"'Function' attendu"},
    {1016, u"'Sub' attendu"},
    {1017, u"'Then' attendu"},
    {1018, u"'Wend' attendu"},
    {1019, u"'Loop' attendu"},
    {1020, u"'Next' attendu"},
    {1021, u"'Case' attendu"},
    {1022, u"'Select' attendu"},
    {1023, u"Expression attendue"},
    {1024, u"Instruction attendue"},
    {1025, u"Fin d'instruction attendue"},
    {1026, u"Constante entière attendue"},
    {1027, u"'While' ou 'Until' attendu"},
    {1028, u"'While', 'Until' ou fin d'instruction attendu"},
    {1029, u"'With' attendu"},
    {1030, u"Identificateur trop long"},
    {1031, u"Nombre non valide"},
    {1032, u"Caractère non valide"},
    {1033, u"Constante chaîne non terminée"},
    {1034, u"Commentaire non terminé"},
    {1037, u"Utilisation non valide du mot clé 'Me'"},
    {1038, u"'loop' sans 'do'"},
    {1039, u"Instruction 'exit' non valide"},
    {1040, u"Variable de contrôle de boucle 'for' non valide"},
    {1041, u"Nom redéfini"},
    {1042, u"Doit être la première instruction de la ligne"},
    {1044, u"Impossible d'utiliser des parenthèses lors de l'appel d'une Sub"},
    {1045, u"Constante littérale attendue"},
    {1046, u"'In' attendu"},
    {1047, u"'Class' attendu"},
    {1048, u"Doit être défini à l'intérieur d'une classe"},
    {1049, u"Let, Set ou Get attendu dans la déclaration de propriété"},
    {1050, u"'Property' attendu"},
    {1051, u"Le nombre d'arguments doit être identique dans les spécifications de propriété"},
    {1052, u"Impossible d'avoir plusieurs propriétés ou méthodes par défaut dans une classe"},
    {1053, u"Class_Initialize ou Class_Terminate ne peuvent pas avoir d'arguments"},
    {1054, u"Property Let ou Set doit avoir au moins un argument"},
    {1055, u"'Next' inattendu"},
    {1056, u"'Default' ne peut être spécifié que pour 'Property', 'Function' ou 'Sub'"},
    {1057, u"Une déclaration 'Default' doit aussi être 'Public'"},
    {1058, u"'Default' ne peut être spécifié que pour Property Get"},
    {5017, u"Erreur de syntaxe dans l'expression régulière"},
    {5018, u"Quantificateur inattendu"},
    {5019, u"']' attendu dans l'expression régulière"},
    {5020, u"')' attendu dans l'expression régulière"},
    {5021, u"Plage non valide dans le jeu de caractères"},
};

} // namespace

std::u16string_view ErrorText(int number) {
    const auto found = std::lower_bound(std::begin(kTexts), std::end(kTexts), number,
                                        [](const NumberText& entry, int n) { return entry.number < n; });
    if (found != std::end(kTexts) && found->number == number)
        return found->text;
    return u"Erreur d'exécution inconnue";
}

ScriptError::ScriptError(int n, std::u16string_view detail) : number(n), description(ErrorText(n)) {
    if (!detail.empty()) {
        description += u": '";
        description += detail;
        description += u"'";
    }
    source = n >= 1000 && n < 1100 ? kCompileErrorSource : kRuntimeErrorSource;
    compile = n >= 1000 && n < 1100;
}

ScriptError ScriptError::Custom(int n, std::u16string description, std::u16string source) {
    ScriptError error(n);
    error.description = std::move(description);
    error.source = std::move(source);
    return error;
}

std::int32_t ScodeOf(int number) {
    if (number > 0 && number <= 0xFFFF)
        return static_cast<std::int32_t>(0x800A0000u | static_cast<unsigned>(number));
    return number;
}

} // namespace zorv::vbs
