// One running tarmel per user: the first start listens on a local socket, a later start (or the
// launcher) sends it one message - "show" or "reload" - and ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace tarmel {

// The socket name of the instance that owns a settings file: one per user, since each user has
// one settings file; tests with their own settings folder get their own instance.
QString InstanceServerName(const QString& iniFileName);

// Sends message to the running instance; false when none answers.
bool SendToInstance(const QString& serverName, const QString& message, int timeoutMs = 2000);

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);

    // True when this process is now the instance; false when another one already runs (or the
    // socket cannot be created). A socket left behind by a crashed instance is taken over.
    bool Claim();

signals:
    // One line received from a later start or the launcher ("show", "reload").
    void messageReceived(const QString& message);

private:
    void acceptConnection();

    QString name_;
    QLocalServer server_;
};

}  // namespace tarmel
