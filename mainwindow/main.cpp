// Process entry of the desktop client (ProjTarmel): one instance per user. A later start only
// brings the running window forward and ends, writing nothing.
#include <QApplication>

#include "app/settingsfile.h"
#include "app/singleinstance.h"
#include "mainwindow/axtarmelimpl1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString server =
        tarmel::InstanceServerName(QString::fromStdString(tarmel::IniFileName()));
    tarmel::SingleInstance instance(server);
    if (!instance.Claim()) {
        tarmel::SendToInstance(server, QStringLiteral("show"));
        return 0;
    }
    tarmel::TAxTarmel window;
    QObject::connect(&instance, &tarmel::SingleInstance::messageReceived, &window,
                     &tarmel::TAxTarmel::OnInstanceMessage);
    window.show();
    return app.exec();
}
