#include "SignalCatcher.h"
#include "cli/ResultCodes.h"
#include "cli/clsSlidemill.h"
#include "cli/dbus/AutomationNames.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDeadlineTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace slidemill {
namespace {

using test::SignalCatcher;
using test::TempFolder;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_dbus";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv);
}

// Lets events run until done() holds or the time is up.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 10000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}

QString Quoted(const std::string& path) {
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
        ASSERT_FALSE(QStandardPaths::findExecutable("dbus-daemon").isEmpty())
            << "dbus-daemon is not installed (scripts/setup); the bus tests need it";
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

    QProcess& StartServer(const QString& busAddress, int idleMilliseconds = 30000) {
        auto server = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        server->setProcessEnvironment(environment);
        server->setProcessChannelMode(QProcess::SeparateChannels);
        server->start(SLIDEMILL_DBUS_TEST_SERVER, {QString::number(idleMilliseconds)});
        servers.push_back(std::move(server));
        return *servers.back();
    }

    // Starts a server on the test's bus and waits until it owns the name.
    QProcess* StartServedServer(QDBusConnection& bus, int idleMilliseconds = 30000) {
        QProcess& server = StartServer(address, idleMilliseconds);
        const bool owned = WaitFor([&] {
            return server.state() == QProcess::NotRunning ||
                   bus.interface()->isServiceRegistered(kAutomationService).value();
        });
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

    static int Call(QDBusConnection& bus, const QString& line) {
        const QDBusMessage reply = bus.call(CallMessage(line), QDBus::Block, 20000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
            ADD_FAILURE() << "no status for \"" << line.toStdString()
                          << "\": " << reply.errorMessage().toStdString();
            return INT_MIN;
        }
        return reply.arguments().at(0).toInt();
    }

    // A one-shot command-line client: it connects, calls, prints the answer and leaves.
    static QByteArray GdbusCall(const QString& busAddress, const QString& line) {
        QProcess client;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        client.setProcessEnvironment(environment);
        client.start("gdbus", {"call", "--session", "--dest", kAutomationService, "--object-path",
                               kAutomationObjectPath, "--method",
                               QString(kAutomationInterface) + ".DoCommandLine", line});
        if (!client.waitForFinished(15000)) {
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

TEST_F(BusTest, MethodAndSignalRoundTripThenTheServerEndsWithItsLastCaller) {
    TempFolder dir{"bus"};
    QDBusConnection watcherBus = Connect();
    ASSERT_TRUE(watcherBus.isConnected());
    QProcess* server = StartServedServer(watcherBus);
    ASSERT_NE(server, nullptr);

    SignalCatcher catcher;
    QSignalSpy spy(&catcher, &SignalCatcher::Caught);
    // Another client on the same object, which must not read this caller's errors.
    SignalCatcher bystander;
    QSignalSpy bystanderSpy(&bystander, &SignalCatcher::Caught);
    Listen(watcherBus, bystander);

    const QString callerName = NextConnectionName();
    {
        QDBusConnection caller = Connect(callerName);
        ASSERT_TRUE(caller.isConnected());
        Listen(caller, catcher);

        EXPECT_EQ(Call(caller, "/X"), kRunStatusInvalidLine);
        ASSERT_TRUE(WaitFor([&] { return spy.count() >= 1; })) << "no OnError for an invalid line";
        EXPECT_EQ(spy.at(0).at(0).toInt(), -3);
        EXPECT_EQ(spy.at(0).at(1).toString(), "Invalid or missing required command line argument(s)");

        // The server was started with an argument of its own; an empty line is still empty.
        EXPECT_EQ(Call(caller, ""), kRunStatusEmptyLine);
        ASSERT_TRUE(WaitFor([&] { return spy.count() >= 2; })) << "no OnError for an empty line";
        EXPECT_EQ(spy.at(1).at(0).toInt(), -2);
        EXPECT_EQ(spy.at(1).at(1).toString(), "Command line is empty");

        const std::string target = dir.str() + "out/deck.pdf";
        EXPECT_EQ(Call(caller, "/S " + Quoted(dir.file("in/deck.pptx")) + " /T " + Quoted(target) + " /C 32"),
                  kRunStatusDone);
        EXPECT_TRUE(std::filesystem::exists(target));
        QTest::qWait(200);
        EXPECT_EQ(spy.count(), 2) << "a line that ran raises no event";
        EXPECT_EQ(bystanderSpy.count(), 0);
        EXPECT_EQ(server->state(), QProcess::Running) << "the server must serve while its caller is there";
    }
    QDBusConnection::disconnectFromBus(callerName);

    ASSERT_TRUE(server->waitForFinished(15000)) << "the server did not end after its last caller left";
    EXPECT_EQ(server->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server->exitCode(), 0) << server->readAllStandardError().toStdString();
}

TEST_F(BusTest, SecondCallWhileALineRunsIsRefusedAtOnce) {
    TempFolder dir{"busy"};
    QDBusConnection bus = Connect();
    ASSERT_NE(StartServedServer(bus), nullptr);
    SignalCatcher catcher;
    QSignalSpy spy(&catcher, &SignalCatcher::Caught);
    Listen(bus, catcher);

    const QString slow =
        "/S " + Quoted(dir.file("in/slow.pptx")) + " /T " + Quoted(dir.str() + "slow.pdf") + " /C 32";
    QDBusPendingCall first = bus.asyncCall(CallMessage(slow), 20000);

    QDBusConnection other = Connect();
    SignalCatcher otherCatcher;
    QSignalSpy otherSpy(&otherCatcher, &SignalCatcher::Caught);
    Listen(other, otherCatcher);
    const QString quick =
        "/S " + Quoted(dir.file("in/quick.pptx")) + " /T " + Quoted(dir.str() + "quick.pdf") + " /C 32";
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Call(other, quick), kRunStatusBusy);
    EXPECT_LT(clock.elapsed(), 1500) << "a refused caller must not wait for the running line";
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "quick.pdf"));
    ASSERT_TRUE(WaitFor([&] { return otherSpy.count() >= 1; })) << "the refused caller must be told why";
    EXPECT_EQ(otherSpy.at(0).at(0).toInt(), kRunStatusBusy);

    QDBusPendingReply<int> firstReply = first;
    firstReply.waitForFinished();
    ASSERT_TRUE(firstReply.isValid()) << firstReply.error().message().toStdString();
    EXPECT_EQ(firstReply.value(), kRunStatusDone);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "slow.pdf"));
    EXPECT_EQ(spy.count(), 0) << "the running caller must not get the other caller's refusal";

    // Free again once the first line has answered.
    EXPECT_EQ(Call(other, quick), kRunStatusDone);
}

TEST_F(BusTest, CallerThatLeavesMidRunLetsTheLineFinishBeforeTheServerEnds) {
    TempFolder dir{"leaving"};
    QDBusConnection watcherBus = Connect();
    QProcess* server = StartServedServer(watcherBus);
    ASSERT_NE(server, nullptr);
    const QString callerName = NextConnectionName();
    {
        QDBusConnection caller = Connect(callerName);
        caller.asyncCall(CallMessage("/S " + Quoted(dir.file("in/slow.pptx")) + " /T " +
                                     Quoted(dir.str() + "slow.pdf") + " /C 32"));
        QTest::qWait(300);
    }
    QDBusConnection::disconnectFromBus(callerName);
    ASSERT_TRUE(server->waitForFinished(15000));
    EXPECT_EQ(server->exitCode(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "slow.pdf")) << "the running line was cut short";
}

TEST_F(BusTest, ServerThatNobodyCallsEndsAfterItsIdleTime) {
    QDBusConnection bus = Connect();
    QProcess* server = StartServedServer(bus, 1500);
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(server->waitForFinished(15000)) << "an idle server must not live forever";
    EXPECT_EQ(server->exitCode(), 0);
    EXPECT_FALSE(bus.interface()->isServiceRegistered(kAutomationService).value());
}

TEST_F(BusTest, TakenNameAndMissingBusEndWithExitCodeOneAndAReason) {
    QDBusConnection bus = Connect();
    QProcess* first = StartServedServer(bus);
    ASSERT_NE(first, nullptr);

    QProcess& second = StartServer(address);
    ASSERT_TRUE(second.waitForFinished(15000)) << "a second server must not wait for the name";
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.readAllStandardError().contains("not available"));
    EXPECT_EQ(first->state(), QProcess::Running) << "the first server keeps its name";

    TempFolder dir{"nobus"};
    QProcess& lost = StartServer("unix:path=" + QString::fromStdString(dir.str()) + "no-bus-here");
    ASSERT_TRUE(lost.waitForFinished(15000));
    EXPECT_EQ(lost.exitCode(), 1);
    EXPECT_TRUE(lost.readAllStandardError().contains("cannot connect"));
}

TEST_F(BusTest, OneShotClientThatLeavesRightAfterItsAnswerEndsTheServer) {
    ASSERT_FALSE(QStandardPaths::findExecutable("gdbus").isEmpty())
        << "gdbus is not installed (scripts/setup)";
    QDBusConnection bus = Connect();
    QProcess* server = StartServedServer(bus);
    ASSERT_NE(server, nullptr);

    EXPECT_EQ(GdbusCall(address, "/X"), "(-3,)");
    ASSERT_TRUE(server->waitForFinished(10000)) << "the server missed the departure of a quick caller";
    EXPECT_EQ(server->exitCode(), 0);
}

TEST_F(BusTest, ServerEndsWhenItsBusGoesAway) {
    QDBusConnection bus = Connect();
    QProcess* server = StartServedServer(bus);
    ASSERT_NE(server, nullptr);
    daemon.kill();
    daemon.waitForFinished(5000);
    ASSERT_TRUE(server->waitForFinished(10000)) << "a server without a bus must not live on";
}

TEST_F(BusTest, FirstCallStartsTheServerThroughItsServiceFile) {
    ASSERT_FALSE(QStandardPaths::findExecutable("gdbus").isEmpty())
        << "gdbus is not installed (scripts/setup)";
    TempFolder dir{"activation"};
    const std::string services = dir.folder("services");
    {
        std::ofstream file(services + "/org.slidemill.Slidemill.service");
        file << "[D-BUS Service]\nName=" << kAutomationService << "\nExec=" << SLIDEMILL_DBUS_TEST_SERVER
             << " 30000\n";
    }
    const std::string config = dir.str() + "bus.conf";
    {
        std::ofstream file(config);
        file << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                "<busconfig><type>session</type><listen>unix:tmpdir="
             << dir.str() << "</listen><servicedir>" << services
             << "</servicedir><policy context=\"default\"><allow send_destination=\"*\" "
                "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                "<allow own=\"*\"/></policy></busconfig>\n";
    }
    QProcess activating;
    activating.start("dbus-daemon",
                     {"--config-file=" + QString::fromStdString(config), "--nofork", "--print-address=1"});
    ASSERT_TRUE(activating.waitForStarted(5000));
    ASSERT_TRUE(WaitFor([&] { return activating.canReadLine(); }));
    const QString activatingAddress = QString::fromUtf8(activating.readLine()).trimmed();
    // Nothing serves the name on this bus until the call comes: its answer proves the start.
    EXPECT_EQ(GdbusCall(activatingAddress, "/X"), "(-3,)");
    // The started server leaves with its caller; the bus going away would end it too.
    activating.kill();
    activating.waitForFinished(5000);
}

TEST(AutomationServiceFile, StartsTheInstalledProgramInAutomationMode) {
    std::ifstream file(SLIDEMILL_DBUS_SERVICE_FILE);
    ASSERT_TRUE(file.good()) << SLIDEMILL_DBUS_SERVICE_FILE;
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("[D-BUS Service]\n"), std::string::npos);
    EXPECT_NE(text.str().find(std::string("\nName=") + kAutomationService + "\n"), std::string::npos);
    const std::size_t exec = text.str().find("\nExec=/");
    ASSERT_NE(exec, std::string::npos) << "the bus needs an absolute program path";
    const std::string line = text.str().substr(exec + 1, text.str().find('\n', exec + 1) - exec - 1);
    EXPECT_TRUE(line.ends_with("/bin/slidemill --automation")) << line;
}

} // namespace
} // namespace slidemill
