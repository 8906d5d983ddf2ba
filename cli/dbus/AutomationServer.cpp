#include "cli/dbus/AutomationServer.h"

#include "cli/dbus/AutomationAdaptor.h"
#include "cli/dbus/AutomationNames.h"
#include "cli/dbus/AutomationWorker.h"
#include "platform/TerminationSignals.h"
#include "settings/Paths.h"
#include "settings/SettingsGlobals.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusError>

#include <exception>
#include <iostream>
#include <memory>

namespace slidemill {

AutomationServer::AutomationServer(RunPartsFactory makeParts, AutomationServerOptions options)
    : options_(std::move(options)), bus_(QString()) {
    new AutomationAdaptor(this);
    worker_ = new AutomationWorker(std::move(makeParts));
    worker_->moveToThread(&thread_);
    connect(
        worker_, &AutomationWorker::ErrorRaised, this,
        [this](int lErr, const QString& sErr) { SendError(pending_.service(), lErr, sErr); },
        Qt::QueuedConnection);
    connect(worker_, &AutomationWorker::Finished, this, &AutomationServer::LineFinished,
            Qt::QueuedConnection);
    thread_.start();

    idle_.setSingleShot(true);
    connect(&idle_, &QTimer::timeout, this, &AutomationServer::RequestQuit);
    connect(&busLost_, &QTimer::timeout, this, &AutomationServer::CheckBus);
}

AutomationServer::~AutomationServer() {
    // The parts (and the offices behind them) are released on the thread that made them.
    QMetaObject::invokeMethod(worker_, &AutomationWorker::ShutDown, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete worker_;
    if (bus_.isConnected()) {
        bus_.unregisterObject(kAutomationObjectPath);
        bus_.unregisterService(kAutomationService);
    }
}

bool AutomationServer::Start(const QDBusConnection& bus, QString& error) {
    if (!bus.isConnected()) {
        const QDBusError reason = bus.lastError();
        error = "cannot connect to the D-Bus session bus" +
                (reason.isValid() ? ": " + reason.message() : QString());
        return false;
    }
    bus_ = bus;
    // Not queued behind another owner: a second server must not wait for the first to end.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> owned =
        bus_.interface()->registerService(kAutomationService, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!owned.isValid() || owned.value() != QDBusConnectionInterface::ServiceRegistered) {
        error =
            QString("the bus name %1 is not available (is another server running?)").arg(kAutomationService);
        if (!owned.isValid())
            error += ": " + owned.error().message();
        return false;
    }
    if (!bus_.registerObject(kAutomationObjectPath, this, QDBusConnection::ExportAdaptors)) {
        error = QString("cannot register the object %1 on the bus").arg(kAutomationObjectPath);
        bus_.interface()->unregisterService(kAutomationService);
        return false;
    }
    StartIdleTimer();
    busLost_.start(std::chrono::seconds(1));
    return true;
}

void AutomationServer::StartIdleTimer() {
    if (options_.idleTimeout.count() > 0)
        idle_.start(options_.idleTimeout);
}

void AutomationServer::CheckBus() {
    // Nobody can reach a server whose bus has gone.
    if (!bus_.isConnected())
        RequestQuit();
}

int AutomationServer::DoCommandLine(const QString& command, const QDBusMessage& message) {
    if (busy_ || quitting_) {
        SendError(message.service(), kRunStatusBusy, QString::fromStdString(AutomationBusyMessage()));
        return kRunStatusBusy;
    }
    idle_.stop();
    busy_ = true;
    quitWhenIdle_ = false;
    message.setDelayedReply(true);
    pending_ = message;
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, command] { worker->Run(command); }, Qt::QueuedConnection);
    return 0; // not sent: the reply is delayed
}

void AutomationServer::SendError(const QString& caller, int lErr, const QString& sErr) {
    // Addressed to the caller whose line it is: another client listening on the same object
    // must not read a refusal or a bad line that is not its own.
    QDBusMessage signal =
        QDBusMessage::createTargetedSignal(caller, kAutomationObjectPath, kAutomationInterface, "OnError");
    signal << lErr << sErr;
    bus_.send(signal);
}

void AutomationServer::LineFinished(int status) {
    busy_ = false;
    if (pending_.type() == QDBusMessage::MethodCallMessage)
        bus_.send(pending_.createReply(status));
    pending_ = QDBusMessage();
    if (quitWhenIdle_)
        RequestQuit();
    else
        StartIdleTimer();
}

void AutomationServer::RequestQuit() {
    // A line that is running finishes first: its files are not left half written.
    if (busy_) {
        quitWhenIdle_ = true;
        return;
    }
    if (quitting_)
        return;
    quitting_ = true;
    emit Quit();
}

int RunAutomationServer(int argc, char** argv, RunPartsFactory makeParts, AutomationServerOptions options) {
    const std::string name = options.programName;
    try {
        FixSettingsLocation();
        InstallDemoFolders();
    } catch (const std::exception& error) {
        std::cerr << name << ": cannot prepare the settings: " << error.what() << "\n";
        return 1;
    }
    QCoreApplication app(argc, argv);
    AutomationServer server(std::move(makeParts), options);
    // A termination signal ends the server like its idle time does: the running line finishes,
    // then the offices are shut down as the server goes. Watched before the name is taken: a
    // signal sent as soon as the service is seen still ends it cleanly.
    std::unique_ptr<QSocketNotifier> signalWatch;
    const int signalDescriptor = TerminationSignalDescriptor();
    if (signalDescriptor >= 0) {
        signalWatch = std::make_unique<QSocketNotifier>(signalDescriptor, QSocketNotifier::Read);
        QObject::connect(signalWatch.get(), &QSocketNotifier::activated, &server,
                         [&server, signalDescriptor] {
                             if (DrainTerminationSignals(signalDescriptor))
                                 server.RequestQuit();
                         });
    }
    QString error;
    if (!server.Start(QDBusConnection::sessionBus(), error)) {
        std::cerr << name << " --automation: " << error.toStdString() << "\n";
        return 1;
    }
    QObject::connect(&server, &AutomationServer::Quit, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    return app.exec();
}

} // namespace slidemill
