#pragma once

// A private session bus per test, and the calls a client makes on it.
#include "SignalCatcher.h"
#include "cli/dbus/AutomationNames.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace slidemill::test {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_dbus";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv);
}

// Lets events run until done() holds or the time is up.
inline bool WaitFor(const std::function<bool()>& done, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}

inline QString Quoted(const std::string& path) {
    return "\"" + QString::fromStdString(path) + "\"";
}

// A session bus of the test's own, so that nothing touches the user's bus.
class BusTest : public ::testing::Test {
protected:
    QProcess daemon;
    QString address;
    std::vector<std::unique_ptr<QProcess>> servers;
    std::vector<QString> connectionNames;

    void SetUp() override {
        EnsureApplication();
        // The bus tests need it; scripts/setup installs it.
        ASSERT_FALSE(QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            << "dbus-daemon is not installed";
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(daemon.waitForStarted(5000)) << "dbus-daemon did not start";
        ASSERT_TRUE(WaitFor([&] { return daemon.canReadLine(); }, 10000)) << "dbus-daemon printed no address";
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        ASSERT_FALSE(address.isEmpty());
    }
    void TearDown() override {
        for (auto& server : servers) {
            if (server->state() != QProcess::NotRunning) {
                server->kill();
                server->waitForFinished(5000);
            }
        }
        for (const QString& name : connectionNames)
            QDBusConnection::disconnectFromBus(name);
        if (daemon.state() != QProcess::NotRunning) {
            daemon.kill();
            daemon.waitForFinished(5000);
        }
    }

    // Connection names are process-wide in Qt: every test gets new ones.
    QString NextConnectionName() {
        static int count = 0;
        return QString("client-%1").arg(++count);
    }
    QDBusConnection Connect(const QString& name = {}) {
        connectionNames.push_back(name.isEmpty() ? NextConnectionName() : name);
        return QDBusConnection::connectToBus(address, connectionNames.back());
    }

    // Starts program with arguments on the bus at busAddress, with environment (the caller's
    // own when empty) below that address.
    QProcess& StartProgram(const QString& busAddress, const QString& program, const QStringList& arguments,
                           QProcessEnvironment environment = QProcessEnvironment::systemEnvironment()) {
        auto server = std::make_unique<QProcess>();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        server->setProcessEnvironment(environment);
        server->setProcessChannelMode(QProcess::SeparateChannels);
        server->start(program, arguments);
        servers.push_back(std::move(server));
        return *servers.back();
    }

    // Waits until server owns the automation name on bus; null (a failure added) when it ends
    // first or takes too long.
    QProcess* WaitUntilServed(QDBusConnection& bus, QProcess& server, int milliseconds = 10000) {
        const bool owned = WaitFor(
            [&] {
                return server.state() == QProcess::NotRunning ||
                       bus.interface()->isServiceRegistered(kAutomationService).value();
            },
            milliseconds);
        if (!owned || server.state() == QProcess::NotRunning) {
            ADD_FAILURE() << "the server did not take its name: "
                          << server.readAllStandardError().toStdString();
            return nullptr;
        }
        return &server;
    }

    static QDBusMessage CallMessage(const QString& line) {
        QDBusMessage call = QDBusMessage::createMethodCall(kAutomationService, kAutomationObjectPath,
                                                           kAutomationInterface, "DoCommandLine");
        call << line;
        return call;
    }

    static int Call(QDBusConnection& bus, const QString& line, int timeoutMilliseconds = 20000) {
        const QDBusMessage reply = bus.call(CallMessage(line), QDBus::Block, timeoutMilliseconds);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
            ADD_FAILURE() << "no status for \"" << line.toStdString()
                          << "\": " << reply.errorMessage().toStdString();
            return INT_MIN;
        }
        return reply.arguments().at(0).toInt();
    }

    // A one-shot command-line client: it connects, calls, prints the answer and leaves.
    static QByteArray GdbusCall(const QString& busAddress, const QString& line,
                                int timeoutMilliseconds = 15000) {
        EXPECT_FALSE(QStandardPaths::findExecutable("gdbus").isEmpty()) << "gdbus is not installed";
        QProcess client;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        client.setProcessEnvironment(environment);
        client.start("gdbus", {"call", "--session", "--dest", kAutomationService, "--object-path",
                               kAutomationObjectPath, "--method",
                               QString(kAutomationInterface) + ".DoCommandLine", line});
        if (!client.waitForFinished(timeoutMilliseconds)) {
            client.kill();
            client.waitForFinished(5000);
            ADD_FAILURE() << "gdbus did not answer";
        }
        return client.readAllStandardOutput().trimmed();
    }

    static void Listen(QDBusConnection& bus, SignalCatcher& catcher) {
        ASSERT_TRUE(bus.connect(kAutomationService, kAutomationObjectPath, kAutomationInterface, "OnError",
                                &catcher, SLOT(Catch(int, QString))));
    }
};

} // namespace slidemill::test
