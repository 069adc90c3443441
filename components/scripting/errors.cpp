#include "errors.h"

#include <algorithm>
#include <iterator>

#include "platform/com/dispatch_args.h"

namespace zorv::scripting {
namespace {

struct NumberText {
    int number;
    std::u16string_view text;
};

// Sorted by number.
constexpr NumberText kTexts[] = {
    {kInvalidCall, u"Argument ou appel de procédure incorrect"},
    {kSubscript, u"L'indice n'appartient pas à la sélection"},
    {kTypeMismatch, u"Type incompatible"},
    {kBadFileName, u"Nom ou numéro de fichier incorrect"},
    {kFileNotFound, u"Fichier introuvable"},
    {kBadFileMode, u"Mode d'accès au fichier incorrect"},
    {kFileExists, u"Ce fichier existe déjà"},
    {kDiskFull, u"Disque plein"},
    {kPastEndOfFile, u"L'entrée dépasse la fin de fichier"},
    {kPermissionDenied, u"Permission refusée"},
    {kDiskNotReady, u"Le disque n'est pas prêt"},
    {kPathFileAccess, u"Erreur d'accès au chemin ou au fichier"},
    {kPathNotFound, u"Chemin d'accès introuvable"},
    {kKeyExists, u"Cette clé est déjà associée à un élément de cette collection"},
    {kElementNotFound, u"Élément introuvable"},
};

} // namespace

std::u16string_view ErrorText(int number) {
    const auto found = std::lower_bound(std::begin(kTexts), std::end(kTexts), number,
                                        [](const NumberText& entry, int n) { return entry.number < n; });
    return found != std::end(kTexts) && found->number == number ? found->text : u"Erreur inconnue";
}

void Raise(int number) {
    throw com::DispatchException(std::u16string(ErrorText(number)),
                                 static_cast<SCODE>(0x800A0000u | static_cast<unsigned>(number)));
}

} // namespace zorv::scripting
