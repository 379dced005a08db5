// tarmel-launch: writes the host parameters it is given into the settings file, then asks the
// running tarmel to reload them, or starts tarmel when none runs.
//   tarmel-launch BaseHRef=http://127.0.0.1:8642/tarmel/ idTVO=12 UserConcession=QUINTAR ...
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>
#include <string>
#include <vector>

#include "app/launchargs.h"
#include "app/settingsfile.h"
#include "app/singleinstance.h"

namespace {

// tarmel beside the launcher, else the program a previous start published, else the PATH.
QString ProgramPath(const tarmel::SettingsFile& settings) {
    const QString beside = QCoreApplication::applicationDirPath() + "/tarmel";
    if (QFileInfo(beside).isExecutable()) return beside;
    const QString published = QString::fromStdString(settings.GetTagRegistry("Application"));
    if (!published.isEmpty() && QFileInfo(published).isExecutable()) return published;
    return QStandardPaths::findExecutable("tarmel");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    const tarmel::LaunchArguments parsed = tarmel::ParseLaunchArguments(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s\nUsage : tarmel-launch Clé=Valeur ...\n", parsed.error.c_str());
        return 2;
    }
    tarmel::SettingsFile settings(tarmel::IniFileName());
    for (const auto& [key, value] : parsed.settings) {
        // The settings file holds 8-bit text, as the server does; the command line is UTF-8.
        const std::string latin1 = QString::fromUtf8(value).toLatin1().toStdString();
        if (!settings.SetTagRegistry(key, latin1)) {
            std::fprintf(stderr, "Écriture impossible de %s dans %s\n", key.c_str(),
                         settings.path().c_str());
            return 1;
        }
    }
    const QString server = tarmel::InstanceServerName(QString::fromStdString(settings.path()));
    if (tarmel::SendToInstance(server, QStringLiteral("reload"))) return 0;
    const QString program = ProgramPath(settings);
    // tarmel outlives the launcher: it must not write into the launcher's pipes, which close
    // when the launcher ends (its next message would kill it with SIGPIPE).
    QProcess process;
    process.setProgram(program);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (program.isEmpty() || !process.startDetached()) {
        std::fprintf(stderr, "Impossible de démarrer tarmel\n");
        return 1;
    }
    return 0;
}
