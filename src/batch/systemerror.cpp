#include "batch/systemerror.h"

#include <cerrno>
#include <cstring>

namespace kaldora::batch {

std::string systemErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "datoteka ne postoji";
    case EACCES:
    case EPERM:
        return "nema dozvole za pristup";
    case EISDIR:
        return "to je folder, a ne datoteka";
    case ENOTDIR:
        return "deo putanje nije folder";
    case ENOSPC:
        return "disk je pun";
#ifdef EDQUOT
    case EDQUOT:
        return "prekoracena je kvota na disku";
#endif
    case EFBIG:
        return "datoteka je prevelika";
    case EPIPE:
        return "izlaz je zatvoren: program koji ga je citao je zavrsio";
    case EBADF:
        return "datoteka nije otvorena";
    case EIO:
        return "greska pri citanju ili pisanju na disku";
    case ENAMETOOLONG:
        return "ime je predugacko";
    case ENOMEM:
        return "nema dovoljno memorije";
    default:
        // A rarer cause: the system's own words, so that it can be looked up.
        return "sistemska greska " + std::to_string(errorNumber) + " (" +
               std::strerror(errorNumber) + ")";
    }
}

} // namespace kaldora::batch
