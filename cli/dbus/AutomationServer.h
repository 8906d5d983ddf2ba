#pragma once

#include "cli/dbus/AutomationSession.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <memory>

namespace slidemill {

class AutomationWorker;

struct AutomationServerOptions {
    // The server ends once no line has run (or been called) for this long; zero: never for
    // idleness. Its offices stay warm until then.
    std::chrono::milliseconds idleTimeout{std::chrono::seconds(60)};
    // How the program names itself in its messages and logs.
    std::string programName = "slidemill";
};

// Serves the automation object on a bus: one command line at a time on a worker thread, a
// second call while one runs refused at once. Callers come and go (most are one-shot clients
// that leave with their answer) while the server and its offices stay warm; the process ends
// (through Quit) after the idle time without calls, when the bus goes away, or on a
// termination signal, always after the running line has finished.
class AutomationServer : public QObject {
    Q_OBJECT
public:
    AutomationServer(RunPartsFactory makeParts, AutomationServerOptions options);
    ~AutomationServer() override;

    // Takes the service name and registers the object; false with a reason when the bus or
    // the name is not available.
    bool Start(const QDBusConnection& bus, QString& error);

    // Called by the adaptor; answers later through a delayed reply unless refused at once.
    int DoCommandLine(const QString& command, const QDBusMessage& message);

    bool Busy() const { return busy_; }

    // Ends the server once the running line (if any) has finished: what a termination signal
    // does.
    void RequestQuit();

signals:
    // Idle, bus lost or asked to end: the process may end.
    void Quit();

private:
    void CheckBus();
    void SendError(const QString& caller, int lErr, const QString& sErr);
    void LineFinished(int status);
    void StartIdleTimer();

    AutomationServerOptions options_;
    QDBusConnection bus_;
    QThread thread_;
    AutomationWorker* worker_ = nullptr;
    QTimer idle_;
    QTimer busLost_;
    QDBusMessage pending_;
    bool busy_ = false;
    bool quitWhenIdle_ = false;
    bool quitting_ = false;
};

// The automation server process: a core application on the session bus, serving until it has
// been idle for the idle time, its bus has gone, or SIGTERM, SIGINT or SIGHUP came; its offices
// end with it. Exit code 0 after such an end, 1 when the bus or the name is not available (the
// reason is printed on standard error).
int RunAutomationServer(int argc, char** argv, RunPartsFactory makeParts,
                        AutomationServerOptions options = {});

} // namespace slidemill
