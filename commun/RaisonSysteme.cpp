#include "commun/RaisonSysteme.h"

#include <cerrno>

std::string RaisonSysteme(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR: return "dossier inexistant";
    case EACCES:
    case EPERM: return "permission refusée";
    case EROFS: return "disque en lecture seule";
    case ENOSPC: return "disque plein";
    case EDQUOT: return "quota du disque dépassé";
    case EISDIR: return "un dossier porte ce nom";
    case EINVAL: return "ce n'est pas un fichier ordinaire";
    case ENAMETOOLONG: return "nom trop long";
    case ELOOP: return "trop de liens symboliques";
    case EFBIG: return "fichier trop gros";
    case EIO: return "erreur d'entrée-sortie du disque";
    case EMFILE:
    case ENFILE: return "trop de fichiers ouverts";
    case EBUSY:
    case ETXTBSY: return "fichier occupé";
    case ENOMEM: return "mémoire insuffisante";
    default: return "erreur du système " + std::to_string(code);
    }
}
