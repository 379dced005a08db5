// Atomic replacement of result files.
#include "server/resultfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "server/xml/texttools.h"

namespace tarmel {

namespace {

ResultFileWrite failure(const std::string& path, int error) {
    const char* reason;
    switch (error) {
        case ENOSPC:
        case EDQUOT: reason = "le disque est plein."; break;
        case EACCES:
        case EPERM:
        case EROFS: reason = "l'accès au dossier de travail est refusé."; break;
        case ENOENT:
        case ENOTDIR: reason = "le dossier de travail est introuvable."; break;
        default: reason = "le disque a signalé une erreur."; break;
    }
    ResultFileWrite result;
    result.ok = false;
    result.error =
        Latin1FromUtf8(std::string("Impossible d'écrire le fichier de réponse : ") + reason);
    result.detail = path + " : " + std::strerror(error);
    return result;
}

}  // namespace

ResultFileWrite WriteResultFile(const std::string& path, const std::string& bytes) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return failure(path, errno);
    fchmod(fd, 0644);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            close(fd);
            unlink(temporary.c_str());
            return failure(path, error);
        }
        written += static_cast<size_t>(n);
    }
    if (close(fd) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return failure(path, error);
    }
    return {};
}

}  // namespace tarmel
