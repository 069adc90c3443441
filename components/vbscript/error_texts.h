#pragma once
// VBScript's error numbers, their names and their French descriptions, in
// one table: the enum and the texts are generated from it, and no error
// number is written anywhere else.
#include <string_view>

namespace zorv::vbs {

#define VBS_ERRORS(X)                                                                                        \
    X(ReturnWithoutGoSub, 3, u"Return sans GoSub")                                                           \
    X(InvalidCall, 5, u"Argument ou appel de procédure incorrect")                                           \
    X(Overflow, 6, u"Dépassement de capacité")                                                               \
    X(OutOfMemory, 7, u"Mémoire insuffisante")                                                               \
    X(Subscript, 9, u"L'indice n'appartient pas à la sélection")                                             \
    X(ArrayLocked, 10, u"Ce tableau est fixe ou temporairement verrouillé")                                  \
    X(DivisionByZero, 11, u"Division par zéro")                                                              \
    X(TypeMismatch, 13, u"Type incompatible")                                                                \
    X(OutOfStringSpace, 14, u"Espace de chaîne insuffisant")                                                 \
    X(CannotPerform, 17, u"Impossible d'exécuter l'opération requise")                                       \
    X(OutOfStack, 28, u"Espace pile insuffisant")                                                            \
    X(UndefinedProc, 35, u"Sub ou Function non définie")                                                     \
    X(DllLoad, 48, u"Erreur de chargement de la DLL")                                                        \
    X(Internal, 51, u"Erreur interne")                                                                       \
    X(BadFileName, 52, u"Nom ou numéro de fichier incorrect")                                                \
    X(FileNotFound, 53, u"Fichier introuvable")                                                              \
    X(PermissionDenied, 70, u"Permission refusée")                                                           \
    X(ObjectNotSet, 91, u"Variable objet ou variable de bloc With non définie")                              \
    X(ForNotInitialised, 92, u"Boucle For non initialisée")                                                  \
    X(InvalidUseOfNull, 94, u"Utilisation incorrecte de Null")                                               \
    X(TempFile, 322, u"Impossible de créer le fichier temporaire nécessaire")                                \
    X(ObjectRequired, 424, u"Objet requis")                                                                  \
    X(CannotCreateObject, 429, u"Un composant ActiveX ne peut pas créer un objet")                           \
    X(NoAutomation, 430, u"Cette classe ne gère pas Automation")                                             \
    X(FileOrClassNotFound, 432, u"Nom de fichier ou de classe introuvable pendant une opération Automation") \
    X(NoSuchMember, 438, u"Cet objet ne gère pas cette propriété ou cette méthode")                          \
    X(Automation, 440, u"Erreur Automation")                                                                 \
    X(NoSuchAction, 445, u"Cet objet ne gère pas cette action")                                              \
    X(NamedArgs, 446, u"Cet objet ne gère pas les arguments nommés")                                         \
    X(LocaleNotSupported, 447, u"Cet objet ne gère pas les paramètres régionaux en cours")                   \
    X(NamedArgNotFound, 448, u"Argument nommé introuvable")                                                  \
    X(ArgNotOptional, 449, u"Argument non facultatif")                                                       \
    X(WrongArgCount, 450, u"Nombre d'arguments incorrect ou affectation de propriété incorrecte")            \
    X(NotACollection, 451, u"Cet objet n'est pas une collection")                                            \
    X(DllFunctionNotFound, 453, u"Fonction de DLL spécifiée introuvable")                                    \
    X(UnsupportedType, 458, u"La variable utilise un type Automation non géré par VBScript")                 \
    X(RemoteServer, 462, u"Le serveur distant n'existe pas ou n'est pas disponible")                         \
    X(UndefinedVariable, 500, u"Variable non définie")                                                       \
    X(IllegalAssignment, 501, u"Affectation illégale")                                                       \
    X(UnsafeForScripting, 502, u"Objet non sécurisé pour l'écriture de script")                              \
    X(UnsafeForInitializing, 503, u"Objet non sécurisé pour l'initialisation")                               \
    X(UnsafeForCreating, 504, u"Objet non sécurisé pour la création")                                        \
    X(InvalidReference, 505, u"Référence non valide ou non qualifiée")                                       \
    X(ClassNotDefined, 506, u"Classe non définie")                                                           \
    X(Exception, 507, u"Une exception s'est produite")                                                       \
    X(OutOfMemoryCompile, 1001, u"Mémoire insuffisante")                                                     \
    X(Syntax, 1002, u"Erreur de syntaxe")                                                                    \
    X(ExpectedColon, 1003, u"':' attendu")                                                                   \
    X(ExpectedLParen, 1005, u"'(' attendu")                                                                  \
    X(ExpectedRParen, 1006, u"')' attendu")                                                                  \
    X(ExpectedRBracket, 1007, u"']' attendu")                                                                \
    X(ExpectedIdentifier, 1010, u"Identificateur attendu")                                                   \
    X(ExpectedEquals, 1011, u"'=' attendu")                                                                  \
    X(ExpectedIf, 1012, u"'If' attendu")                                                                     \
    X(ExpectedTo, 1013, u"'To' attendu")                                                                     \
    X(ExpectedEnd, 1014, u"'End' attendu")                                                                   \
    X(ExpectedFunction, 1015, u"'Function' attendu")                                                         \
    X(ExpectedSub, 1016, u"'Sub' attendu")                                                                   \
    X(ExpectedThen, 1017, u"'Then' attendu")                                                                 \
    X(ExpectedWend, 1018, u"'Wend' attendu")                                                                 \
    X(ExpectedLoop, 1019, u"'Loop' attendu")                                                                 \
    X(ExpectedNext, 1020, u"'Next' attendu")                                                                 \
    X(ExpectedCase, 1021, u"'Case' attendu")                                                                 \
    X(ExpectedSelect, 1022, u"'Select' attendu")                                                             \
    X(ExpectedExpression, 1023, u"Expression attendue")                                                      \
    X(ExpectedStatement, 1024, u"Instruction attendue")                                                      \
    X(ExpectedEndOfStatement, 1025, u"Fin d'instruction attendue")                                           \
    X(ExpectedInteger, 1026, u"Constante entière attendue")                                                  \
    X(ExpectedWhileUntil, 1027, u"'While' ou 'Until' attendu")                                               \
    X(ExpectedWhileUntilEnd, 1028, u"'While', 'Until' ou fin d'instruction attendu")                         \
    X(ExpectedWith, 1029, u"'With' attendu")                                                                 \
    X(IdentifierTooLong, 1030, u"Identificateur trop long")                                                  \
    X(InvalidNumber, 1031, u"Nombre non valide")                                                             \
    X(InvalidCharacter, 1032, u"Caractère non valide")                                                       \
    X(UnterminatedString, 1033, u"Constante chaîne non terminée")                                            \
    X(UnterminatedComment, 1034, u"Commentaire non terminé")                                                 \
    X(InvalidMe, 1037, u"Utilisation non valide du mot clé 'Me'")                                            \
    X(LoopWithoutDo, 1038, u"'loop' sans 'do'")                                                              \
    X(InvalidExit, 1039, u"Instruction 'exit' non valide")                                                   \
    X(InvalidForVariable, 1040, u"Variable de contrôle de boucle 'for' non valide")                          \
    X(NameRedefined, 1041, u"Nom redéfini")                                                                  \
    X(MustBeFirstOnLine, 1042, u"Doit être la première instruction de la ligne")                             \
    X(ParensOnSubCall, 1044, u"Impossible d'utiliser des parenthèses lors de l'appel d'une Sub")             \
    X(ExpectedLiteral, 1045, u"Constante littérale attendue")                                                \
    X(ExpectedIn, 1046, u"'In' attendu")                                                                     \
    X(ExpectedClass, 1047, u"'Class' attendu")                                                               \
    X(MustBeInClass, 1048, u"Doit être défini à l'intérieur d'une classe")                                   \
    X(ExpectedLetSetGet, 1049, u"Let, Set ou Get attendu dans la déclaration de propriété")                  \
    X(ExpectedProperty, 1050, u"'Property' attendu")                                                         \
    X(InconsistentPropertyArgs, 1051,                                                                        \
      u"Le nombre d'arguments doit être identique dans les spécifications de propriété")                     \
    X(MultipleDefaults, 1052,                                                                                \
      u"Impossible d'avoir plusieurs propriétés ou méthodes par défaut dans une classe")                     \
    X(ClassEventArgs, 1053, u"Class_Initialize ou Class_Terminate ne peuvent pas avoir d'arguments")         \
    X(PropertyNeedsArg, 1054, u"Property Let ou Set doit avoir au moins un argument")                        \
    X(UnexpectedNext, 1055, u"'Next' inattendu")                                                             \
    X(DefaultOnlyOnMembers, 1056,                                                                            \
      u"'Default' ne peut être spécifié que pour 'Property', 'Function' ou 'Sub'")                           \
    X(DefaultMustBePublic, 1057, u"Une déclaration 'Default' doit aussi être 'Public'")                      \
    X(DefaultOnlyOnGet, 1058, u"'Default' ne peut être spécifié que pour Property Get")                      \
    X(RegExpSyntax, 5017, u"Erreur de syntaxe dans l'expression régulière")                                  \
    X(RegExpQuantifier, 5018, u"Quantificateur inattendu")                                                   \
    X(RegExpBracket, 5019, u"']' attendu dans l'expression régulière")                                       \
    X(RegExpParen, 5020, u"')' attendu dans l'expression régulière")                                         \
    X(RegExpRange, 5021, u"Plage non valide dans le jeu de caractères")                                      \
    X(ScriptStopped, 5050, u"Script arrêté : délai d'exécution dépassé")

enum ErrorNumber : int {
#define VBS_ERROR_ENUM(name, value, text) kErr##name = value,
    VBS_ERRORS(VBS_ERROR_ENUM)
#undef VBS_ERROR_ENUM
};

// Compile errors are numbered in this range.
inline constexpr int kFirstCompileError = 1000;
inline constexpr int kLastCompileError = 1099;
inline constexpr bool IsCompileError(int number) {
    return number >= kFirstCompileError && number <= kLastCompileError;
}

// The description of a number; numbers without one give "Erreur d'exécution
// inconnue" like the original engine's "Unknown runtime error".
std::u16string_view ErrorText(int number);

inline constexpr std::u16string_view kRuntimeErrorSource = u"Erreur d'exécution VBScript";
inline constexpr std::u16string_view kCompileErrorSource = u"Erreur de compilation VBScript";

} // namespace zorv::vbs
