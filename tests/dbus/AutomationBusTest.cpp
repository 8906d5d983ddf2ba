#include "BusTestFixture.h"
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
#include <QElapsedTimer>
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

using test::Quoted;
using test::SignalCatcher;
using test::TempFolder;
using test::WaitFor;

// The bus tests against the automation server with doubles in place of the office.
class FakeServerBusTest : public test::BusTest {
protected:
    QProcess& StartServer(const QString& busAddress, int idleMilliseconds = 30000) {
        return StartProgram(busAddress, SLIDEMILL_DBUS_TEST_SERVER, {QString::number(idleMilliseconds)});
    }
    // Starts a server on the test's bus and waits until it owns the name.
    QProcess* StartServedServer(QDBusConnection& bus, int idleMilliseconds = 30000) {
        return WaitUntilServed(bus, StartServer(address, idleMilliseconds));
    }
};

TEST_F(FakeServerBusTest, MethodAndSignalRoundTripAndTheServerOutlivesItsCaller) {
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

    // The next caller finds the server (and its offices) still warm.
    EXPECT_FALSE(server->waitForFinished(1500)) << "the server ended when its caller left";
    QDBusConnection next = Connect();
    EXPECT_EQ(Call(next, "/X"), kRunStatusInvalidLine);
    EXPECT_EQ(server->state(), QProcess::Running);
}

TEST_F(FakeServerBusTest, SecondCallWhileALineRunsIsRefusedAtOnce) {
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

TEST_F(FakeServerBusTest, CallerThatLeavesMidRunLetsTheLineFinishAndTheServerServesOn) {
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
    EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(dir.path() / "slow.pdf"); }, 15000))
        << "the running line was cut short";
    EXPECT_EQ(server->state(), QProcess::Running);
    // The file is there before the line has ended (its files are flushed to the disk last), and
    // until then the server rightly answers that it is busy.
    int status = kRunStatusBusy;
    EXPECT_TRUE(WaitFor([&] { return (status = Call(watcherBus, "/X")) != kRunStatusBusy; }))
        << "the line never ended";
    EXPECT_EQ(status, kRunStatusInvalidLine) << "the server must serve the next caller";
}

TEST_F(FakeServerBusTest, ServerThatNobodyCallsEndsAfterItsIdleTime) {
    QDBusConnection bus = Connect();
    QProcess* server = StartServedServer(bus, 1500);
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(server->waitForFinished(15000)) << "an idle server must not live forever";
    EXPECT_EQ(server->exitCode(), 0);
    EXPECT_FALSE(bus.interface()->isServiceRegistered(kAutomationService).value());
}

// Every call starts the idle time again: a server called every second with an idle time of
// three seconds serves on, and ends some seconds after the last call.
TEST_F(FakeServerBusTest, EachCallStartsTheIdleTimeAgain) {
    QDBusConnection bus = Connect();
    QProcess* server = StartServedServer(bus, 3000);
    ASSERT_NE(server, nullptr);
    for (int call = 0; call < 4; ++call) {
        QTest::qWait(1000);
        ASSERT_EQ(server->state(), QProcess::Running) << "ended before call " << call;
        EXPECT_EQ(GdbusCall(address, "/X"), "(-3,)");
    }
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(server->waitForFinished(15000)) << "the server did not end after its idle time";
    EXPECT_GE(clock.elapsed(), 1000) << "the idle time ran from an earlier call";
    EXPECT_EQ(server->exitCode(), 0);
}

TEST_F(FakeServerBusTest, TerminationSignalEndsTheServerAfterItsRunningLine) {
    TempFolder dir{"sigterm"};
    QDBusConnection bus = Connect();
    QProcess* idle = StartServedServer(bus);
    ASSERT_NE(idle, nullptr);
    idle->terminate();
    ASSERT_TRUE(idle->waitForFinished(10000)) << "SIGTERM did not end the server";
    EXPECT_EQ(idle->exitStatus(), QProcess::NormalExit) << "the server died of the signal instead of ending";
    EXPECT_EQ(idle->exitCode(), 0);

    QProcess* busy = StartServedServer(bus);
    ASSERT_NE(busy, nullptr);
    QDBusPendingCall running = bus.asyncCall(CallMessage("/S " + Quoted(dir.file("in/slow.pptx")) + " /T " +
                                                         Quoted(dir.str() + "slow.pdf") + " /C 32"),
                                             20000);
    QTest::qWait(300);
    busy->terminate();
    QDBusPendingReply<int> reply = running;
    reply.waitForFinished();
    ASSERT_TRUE(reply.isValid()) << reply.error().message().toStdString();
    EXPECT_EQ(reply.value(), kRunStatusDone);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "slow.pdf"));
    ASSERT_TRUE(busy->waitForFinished(10000));
    EXPECT_EQ(busy->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(busy->exitCode(), 0);
}

TEST_F(FakeServerBusTest, TakenNameAndMissingBusEndWithExitCodeOneAndAReason) {
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

TEST_F(FakeServerBusTest, OneShotClientsLeavingRightAfterTheirAnswerDoNotEndTheServer) {
    TempFolder dir{"oneshot"};
    QDBusConnection bus = Connect();
    QProcess* server = StartServedServer(bus);
    ASSERT_NE(server, nullptr);

    EXPECT_EQ(GdbusCall(address, "/X"), "(-3,)");
    for (const char* name : {"a", "b"}) {
        const std::string target = dir.str() + "out/" + name + ".pdf";
        EXPECT_EQ(GdbusCall(address, "/S " + Quoted(dir.file(std::string("in/") + name + ".pptx")) + " /T " +
                                         Quoted(target) + " /C 32"),
                  "(0,)");
        EXPECT_TRUE(std::filesystem::exists(target));
    }
    EXPECT_FALSE(server->waitForFinished(1500)) << "the server ended when a one-shot caller left";
}

TEST_F(FakeServerBusTest, ServerEndsWhenItsBusGoesAway) {
    QDBusConnection bus = Connect();
    QProcess* server = StartServedServer(bus);
    ASSERT_NE(server, nullptr);
    daemon.kill();
    daemon.waitForFinished(5000);
    ASSERT_TRUE(server->waitForFinished(10000)) << "a server without a bus must not live on";
}

TEST_F(FakeServerBusTest, FirstCallStartsTheServerThroughItsServiceFile) {
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
    // The started server would serve on: the bus going away ends it.
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
