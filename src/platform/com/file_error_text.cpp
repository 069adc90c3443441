#include "file_error_text.h"

#include <cerrno>
#include <iterator>

namespace zorv::com {
namespace {

struct ErrorText {
    int error;
    const char* text;
};

constexpr ErrorText kTexts[] = {
    {ENOENT, "fichier ou dossier introuvable"},
    {EACCES, "permission refusée"},
    {EPERM, "opération non permise"},
    {EISDIR, "c'est un dossier"},
    {ENOTDIR, "un élément du chemin n'est pas un dossier"},
    {ENOSPC, "plus de place sur le disque"},
#ifdef EDQUOT
    {EDQUOT, "quota de disque dépassé"},
#endif
    {EROFS, "système de fichiers en lecture seule"},
    {ENAMETOOLONG, "nom de fichier trop long"},
    {ELOOP, "trop de liens symboliques"},
    {EIO, "erreur d'entrée-sortie"},
    {EMFILE, "trop de fichiers ouverts"},
    {ENFILE, "trop de fichiers ouverts"},
    {EBUSY, "fichier occupé"},
    {ETXTBSY, "fichier occupé"},
    {EFBIG, "fichier trop volumineux"},
    {EEXIST, "le fichier existe déjà"},
    {ENXIO, "périphérique introuvable"},
    {ENODEV, "périphérique introuvable"},
    {ENOMEM, "mémoire insuffisante"},
};

} // namespace

std::string FileErrorText(int error) {
    for (const ErrorText& entry : kTexts)
        if (entry.error == error)
            return entry.text;
    return "erreur système " + std::to_string(error);
}

} // namespace zorv::com
