// The desktop's browser through xdg-open.
#include "server/openinbrowser.h"

#include <QProcess>
#include <QStandardPaths>

namespace tarmel {

bool OpenInBrowser(const std::string& url) {
    const QString program = QStandardPaths::findExecutable("xdg-open");
    if (program.isEmpty()) return false;
    return QProcess::startDetached(program, {QString::fromLatin1(url.data(), qsizetype(url.size()))});
}

}  // namespace tarmel
