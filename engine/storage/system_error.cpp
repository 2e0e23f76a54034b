// SPDX-License-Identifier: MIT
#include "engine/storage/system_error.h"

#include <cerrno>
#include <cstring>

namespace cf {

std::string SystemErrorText(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "permesso negato";
    case ENOSPC:
    case EDQUOT:
        return "spazio su disco esaurito";
    case EROFS:
        return "file system in sola lettura";
    case EISDIR:
        return "è una cartella";
    case ENOTDIR:
        return "una parte del percorso non è una cartella";
    case ENOENT:
        return "file o cartella inesistente";
    case EMLINK:
        return "troppi collegamenti";
    case ELOOP:
        return "troppi collegamenti simbolici";
    case ENAMETOOLONG:
        return "nome troppo lungo";
    case EFBIG:
        return "file troppo grande";
    case EMFILE:
    case ENFILE:
        return "troppi file aperti";
    case ENOMEM:
        return "memoria esaurita";
    case EIO:
        return "errore di lettura o scrittura del dispositivo";
    case EBUSY:
    case ETXTBSY:
        return "file o dispositivo occupato";
    case EEXIST:
        return "esiste già";
    case EPIPE:
        return "il lettore ha chiuso il collegamento";
    default:
        return std::strerror(error);
    }
}

}  // namespace cf
