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
    {kOutOfMemory, u"Mémoire insuffisante"},
    {kSubscript, u"L'indice n'appartient pas à la sélection"},
    {kTypeMismatch, u"Type incompatible"},
    {kBadFileName, u"Nom ou numéro de fichier incorrect"},
    {kFileNotFound, u"Fichier introuvable"},
    {kBadFileMode, u"Mode d'accès au fichier incorrect"},
    {kDeviceIo, u"Erreur d'entrée/sortie de périphérique"},
    {kFileExists, u"Ce fichier existe déjà"},
    {kDiskFull, u"Disque plein"},
    {kPastEndOfFile, u"L'entrée dépasse la fin de fichier"},
    {kTooManyFiles, u"Trop de fichiers"},
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

int NumberFor(const std::error_code& error, int missing) {
    // Windows' own codes come as the system's category: compared by what they mean.
    switch (static_cast<std::errc>(error.default_error_condition().value())) {
    case std::errc::no_such_file_or_directory:
        return missing;
    case std::errc::not_a_directory:
        return kPathNotFound;
    case std::errc::permission_denied:
    case std::errc::operation_not_permitted:
    case std::errc::read_only_file_system:
    case std::errc::is_a_directory:
    case std::errc::device_or_resource_busy:
        return kPermissionDenied;
    case std::errc::file_exists:
    case std::errc::directory_not_empty:
        return kFileExists;
    case std::errc::no_space_on_device:
    case std::errc::file_too_large:
        return kDiskFull;
    case std::errc::too_many_files_open:
    case std::errc::too_many_files_open_in_system:
        return kTooManyFiles;
    case std::errc::filename_too_long:
    case std::errc::invalid_argument:
        return kBadFileName;
    case std::errc::io_error:
        return kDeviceIo;
    case std::errc::not_enough_memory:
        return kOutOfMemory;
    default:
        return kPathFileAccess;
    }
}

void RaiseFor(const std::error_code& error, int missing) {
    Raise(NumberFor(error, missing));
}

} // namespace zorv::scripting
