// Photo upload, photo files and the SMS path.
#include "dataserver/uploads.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "dataserver/multipart.h"
#include "dataserver/querystring.h"
#include "dataserver/refusal.h"
#include "dataserver/textutil.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

const FormPart* FindField(const std::vector<FormPart>& parts, std::string_view name) {
    for (const FormPart& p : parts) {
        if (!p.filename && EqualsNoCase(p.name, name)) return &p;
    }
    return nullptr;
}

bool IsJpeg(std::string_view data) {
    return data.size() >= 4 && static_cast<unsigned char>(data[0]) == 0xFF &&
           static_cast<unsigned char>(data[1]) == 0xD8 &&
           static_cast<unsigned char>(data[2]) == 0xFF;
}

// A file written completely and flushed to disk under a temporary name in the photo folder;
// removed by the destructor unless it was renamed.
class TempPhoto {
public:
    TempPhoto() = default;
    TempPhoto(const TempPhoto&) = delete;
    TempPhoto& operator=(const TempPhoto&) = delete;
    ~TempPhoto() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }

    bool Write(const std::string& folder, std::string_view data, std::string& error) {
        std::string templ = folder + "/.upload-XXXXXX";
        std::vector<char> name(templ.begin(), templ.end());
        name.push_back('\0');
        int fd = ::mkstemp(name.data());
        if (fd < 0) {
            error = Msg("Écriture de la photo impossible : ") + std::strerror(errno);
            return false;
        }
        path_ = name.data();
        size_t done = 0;
        while (done < data.size()) {
            ssize_t n = ::write(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error = Msg("Écriture de la photo impossible : ") + std::strerror(errno);
                ::close(fd);
                return false;
            }
            done += static_cast<size_t>(n);
        }
        ::fchmod(fd, 0644);
        bool synced = ::fsync(fd) == 0;
        ::close(fd);
        if (!synced) error = Msg("Écriture de la photo impossible : ") + std::strerror(errno);
        return synced;
    }

    bool RenameTo(const std::string& target, std::string& error) {
        if (::rename(path_.c_str(), target.c_str()) != 0) {
            error = Msg("Enregistrement de la photo impossible : ") + std::strerror(errno);
            return false;
        }
        path_.clear();
        return true;
    }

private:
    std::string path_;
};

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Checks the whole form before anything is written; on success fills the two names and the
// statement.
bool CheckUpload(const std::vector<FormPart>& parts, std::string& photoName, std::string& miniName,
                 std::string& statement, std::vector<const FormPart*>& files, std::string& error) {
    const FormPart* nfImage = FindField(parts, "NFImage");
    const FormPart* nfMini = FindField(parts, "NFImageMini");
    const FormPart* sql = FindField(parts, "SQLExecute");
    const FormPart* maxSize = FindField(parts, "MAX_FILE_SIZE");
    files.clear();
    for (const FormPart& p : parts) {
        if (p.filename) {
            if (!EqualsNoCase(p.name, "File")) {
                error = Msg("Envoi refusé : fichier inattendu dans le formulaire");
                return false;
            }
            files.push_back(&p);
        }
    }
    if (nfImage == nullptr || nfMini == nullptr || sql == nullptr) {
        error = Msg("Envoi refusé : champ NFImage, NFImageMini ou SQLExecute manquant");
        return false;
    }
    if (files.size() != 2) {
        error = Msg("Envoi refusé : le formulaire doit porter exactement deux fichiers");
        return false;
    }
    if (!IsSafePhotoName(nfImage->data) || !IsSafePhotoName(nfMini->data)) {
        error = Msg("Envoi refusé : nom de photo non accepté");
        return false;
    }
    if (EqualsNoCase(nfImage->data, nfMini->data)) {
        error = Msg("Envoi refusé : la photo et sa miniature portent le même nom");
        return false;
    }
    size_t limit = kMaxPhotoBytes;
    if (maxSize != nullptr) {
        std::string_view t = TrimWhitespace(maxSize->data);
        size_t value = 0;
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
        if (ec != std::errc() || end != t.data() + t.size()) {
            error = Msg("Envoi refusé : MAX_FILE_SIZE illisible");
            return false;
        }
        limit = std::min(limit, value);
    }
    for (const FormPart* f : files) {
        if (f->data.size() > limit) {
            error = Msg("Envoi refusé : fichier plus grand que ") + std::to_string(limit) +
                    Msg(" octets");
            return false;
        }
        if (!IsJpeg(f->data)) {
            error = Msg("Envoi refusé : le fichier n'est pas une image JPEG");
            return false;
        }
    }
    photoName = nfImage->data;
    miniName = nfMini->data;
    statement = sql->data;
    return true;
}

std::string NowText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
    return buf;
}

std::vector<FormPart> ParseForm(const Request& request, std::string& error) {
    std::vector<FormPart> parts;
    auto boundary = BoundaryOf(request.header("Content-Type"));
    if (!boundary) boundary = BoundaryFromBody(request.body);
    if (!boundary) {
        error = Msg("Formulaire illisible : ce n'est pas un formulaire multipart");
        return parts;
    }
    ParseMultipart(request.body, *boundary, parts, error);
    return parts;
}

}  // namespace

bool IsSafePhotoName(std::string_view name) {
    if (name.size() < 5 || name.size() > 100 || name.front() == '.') return false;
    for (char c : name) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '-' || c == '_' || c == '.';
        if (!ok) return false;
    }
    if (name.find("..") != std::string_view::npos) return false;
    return EqualsNoCase(name.substr(name.size() - 4), ".jpg");
}

void HandlePhotoUpload(Database& db, const EndpointConfig& config, const Request& request,
                       Response& response) {
    std::string error;
    std::vector<FormPart> parts = ParseForm(request, error);
    std::string photoName, miniName, statement;
    std::vector<const FormPart*> files;
    if (!error.empty() || !CheckUpload(parts, photoName, miniName, statement, files, error)) {
        response = Refusal(Endpoint::Statement, error);
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(config.photos, ec);
    TempPhoto photo, mini;
    if (!photo.Write(config.photos, files[0]->data, error) ||
        !mini.Write(config.photos, files[1]->data, error)) {
        response = Refusal(Endpoint::Statement, error);
        return;
    }
    // The files take their names inside the statement's transaction: a photo that cannot be
    // placed rolls the link back, so an answer with a LogItem never leaves a link behind.
    const std::string photoPath = config.photos + "/" + photoName;
    const std::string miniPath = config.photos + "/" + miniName;
    bool placed = false;
    StatementAnswer answer = RunStatement(db, statement, [&](std::string& renameError) {
        if (!photo.RenameTo(photoPath, renameError)) return false;
        if (!mini.RenameTo(miniPath, renameError)) {
            ::unlink(photoPath.c_str());
            return false;
        }
        placed = true;
        return true;
    });
    if (!answer.ok) {
        // Refused, or the commit itself failed after the files were placed.
        if (placed) {
            ::unlink(photoPath.c_str());
            ::unlink(miniPath.c_str());
        }
        response.body = std::move(answer.document);
        return;  // the temporary files go with their owners
    }
    SyncFolder(config.photos);
    response.body = std::move(answer.document);
}

void HandlePhotoFile(const EndpointConfig& config, const Request& request, Response& response) {
    std::string name =
        PercentDecode(std::string_view(request.path).substr(config.imagesPath.size()));
    std::optional<std::string> bytes;
    if (IsSafePhotoName(name)) {
        std::ifstream in(config.photos + "/" + name, std::ios::binary);
        if (in) bytes = std::string(std::istreambuf_iterator<char>(in), {});
    }
    if (!bytes) {
        response = Refusal(Endpoint::Photos, Msg("Photo introuvable"));
        return;
    }
    response.contentType = "image/jpeg";
    response.body = std::move(*bytes);
}

void HandleSms(Database& db, const Request& request, Response& response) {
    std::string error;
    std::vector<FormPart> parts = ParseForm(request, error);
    const FormPart* to = FindField(parts, "destinataire");
    const FormPart* text = FindField(parts, "texte");
    if (error.empty() && (to == nullptr || text == nullptr || TrimWhitespace(to->data).empty())) {
        error = Msg("champ destinataire ou texte manquant");
    }
    if (error.empty()) {
        // The text arrives in UTF-8; the log keeps the server's Latin-1 like every other text.
        const std::string when = NowText();
        const std::string latin = tarmel::Latin1FromUtf8(text->data);
        bool stored = db.Write([&](SqlSession& conn) {
            std::unique_ptr<SqlStatement> st = conn.Prepare(
                "INSERT INTO tSmsLog (DateEnvoi, Destinataire, Texte) VALUES (?1, ?2, ?3)");
            st->Bind(1, when).Bind(2, to->data).Bind(3, latin);
            st->Step();
            return st->error().empty();
        });
        if (!stored) error = Msg("message non enregistré");
    }
    if (!error.empty()) {
        response = Refusal(Endpoint::Sms, error);
        return;
    }
    response.contentType = "text/plain; charset=ISO-8859-1";
    response.body = "telephonySmsSend successfull";
}

}  // namespace tarmel::dataserver
