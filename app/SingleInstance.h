#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace qzr {

// One QZR per user session and HID bus: the first program listens on a local
// socket in the user's runtime directory; a second one hands over to it (the
// first raises its window) and ends.
class TSingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket's name for this user and the bus in use (VHID_BUS, or the
    // system's devices).
    static QString NameForThisSession();

    explicit TSingleInstance(QString name, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // Asks a program already listening under the name to show itself; true
    // when one took the request. Waits at most a second.
    bool HandOver();
    // Listens under the name from now on; a socket left behind by a program
    // that ended is replaced. False when it cannot listen.
    bool Listen();

    // Runs when a second program hands over.
    std::function<void()> OnShowRequest;

private:
    void TakeConnection();

    QString FName;
    QLocalServer* FServer = nullptr;
};

} // namespace qzr
