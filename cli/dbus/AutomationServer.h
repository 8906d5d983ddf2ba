#pragma once

#include "cli/dbus/AutomationSession.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThread>
#include <QTimer>

#include <chrono>

namespace slidemill {

class AutomationWorker;

struct AutomationServerOptions {
    // A server started (on demand, or by hand) that never gets a call ends after this.
    std::chrono::milliseconds idleTimeout{std::chrono::seconds(60)};
    // How the program names itself in its messages and logs.
    std::string programName = "slidemill";
};

// Serves the automation object on a bus: one command line at a time on a worker thread, a
// second call while one runs refused at once, and the end of the process (through Quit) when
// every caller has left the bus, or when nobody called at all within the idle time.
class AutomationServer : public QObject {
    Q_OBJECT
public:
    AutomationServer(ComponentFactory makeComponent, AutomationServerOptions options);
    ~AutomationServer() override;

    // Takes the service name and registers the object; false with a reason when the bus or
    // the name is not available.
    bool Start(const QDBusConnection& bus, QString& error);

    // Called by the adaptor; answers later through a delayed reply unless refused at once.
    int DoCommandLine(const QString& command, const QDBusMessage& message);

    bool Busy() const { return busy_; }

signals:
    // Every caller has gone (or none came): the process may end.
    void Quit();

private slots:
    void NameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    void CheckBus();
    void SendError(const QString& caller, int lErr, const QString& sErr);
    void WatchCaller(const QString& caller);
    void CallerGone(const QString& caller);
    void LineFinished(int status);
    void RequestQuit();

    AutomationServerOptions options_;
    QDBusConnection bus_;
    QThread thread_;
    AutomationWorker* worker_ = nullptr;
    QSet<QString> callers_;
    QTimer idle_;
    QTimer busLost_;
    QDBusMessage pending_;
    bool busy_ = false;
    bool quitWhenIdle_ = false;
    bool quitting_ = false;
};

// The automation server process: a core application on the session bus, serving until its
// last caller leaves. Exit code 0 after a normal end, 1 when the bus or the name is not
// available (the reason is printed on standard error).
int RunAutomationServer(int argc, char** argv, ComponentFactory makeComponent,
                        AutomationServerOptions options = {});

} // namespace slidemill
