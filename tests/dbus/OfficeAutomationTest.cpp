// The installed program's automation service against real offices, next to the same line run
// as a command line: both must write the same PDF, and the service must stay warm between
// one-shot callers and leave no office behind when it ends.
#include "BusTestFixture.h"
#include "PdfTestTools.h"
#include "cli/ResultCodes.h"
#include "settings/IniFile.h"
#include "settings/MainWindowSettings.h"
#include "settings/SettingsGlobals.h"
#include "support/TempFolder.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using test::Quoted;
using test::TempFolder;
using test::WaitFor;

// Office processes whose command line names folder (their profile lives below it).
int OfficesBelow(const std::string& folder) {
    int count = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        std::ifstream file(entry.path() / "cmdline", std::ios::binary);
        const std::string line((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (line.find("soffice") != std::string::npos && line.find(folder) != std::string::npos)
            ++count;
    }
    return count;
}

class OfficeAutomationTest : public test::BusTest {
protected:
    TempFolder dir{"office-automation"};
    std::string home;
    std::string deck;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    void SetUp() override {
        test::BusTest::SetUp();
        if (HasFatalFailure())
            return;
        home = dir.folder("home");
        // A home of the test's own: its settings file, and office profiles the test can find.
        environment.insert("HOME", QString::fromStdString(home));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home + "/.config"));
        environment.insert("XDG_CACHE_HOME", QString::fromStdString(home + "/.cache"));
        environment.insert("XDG_DATA_HOME", QString::fromStdString(home + "/.local/share"));
        environment.insert("XDG_DOCUMENTS_DIR", QString::fromStdString(home + "/Documents"));
        environment.insert("SLIDEMILL_OFFICES", "1");
        deck = std::string(SLIDEMILL_CORPUS_DIR) + "/good/pptx_sld-notes.pptx";
        ASSERT_TRUE(fs::is_regular_file(deck)) << deck;
    }

    // A4 enforced for "PDF - with options", stored where the program reads its settings.
    void StoreA4Settings() {
        const fs::path folder = fs::path(home) / ".config" / kCompanyFolder / kProductFolder;
        fs::create_directories(folder);
        MainWindowSettings settings;
        settings.pdx.bOverridePageSettings = true;
        settings.pdx.lPdxPageWidth = 11906;
        settings.pdx.lPdxPageHeight = 16837;
        IniFile ini((folder / kSettingsFileName).string());
        ASSERT_TRUE(SaveMainWindowSettings(ini, settings, /*commandLineMode=*/false));
    }

    QProcess* StartService(QDBusConnection& bus, int idleSeconds) {
        QProcess& server =
            StartProgram(address, SLIDEMILL_PROGRAM,
                         {"--automation", "--idle-timeout", QString::number(idleSeconds)}, environment);
        return WaitUntilServed(bus, server, 20000);
    }

    int RunCommandLine(const QStringList& arguments) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(SLIDEMILL_PROGRAM, arguments);
        if (!program.waitForFinished(120000)) {
            program.kill();
            program.waitForFinished(5000);
            ADD_FAILURE() << "the command line did not end";
            return -1;
        }
        return program.exitCode();
    }

    std::string Profiles() const { return home + "/.cache"; }
};

TEST_F(OfficeAutomationTest, PdfWithOptionsOverTheBusMatchesTheCommandLineAndSigtermEndsTheOffices) {
    StoreA4Settings();
    const std::string byLine = dir.str() + "out/line.pdf";
    const std::string byBus = dir.str() + "out/bus.pdf";

    ASSERT_EQ(RunCommandLine(
                  {"/S", QString::fromStdString(deck), "/T", QString::fromStdString(byLine), "/C", "300"}),
              kExitSuccess);
    double lineWidth = 0, lineHeight = 0;
    ASSERT_TRUE(test::PdfPageSize(byLine, lineWidth, lineHeight)) << byLine;
    EXPECT_NEAR(lineWidth, 595.3, 1.0) << "the stored A4 page did not reach the command line";
    EXPECT_NEAR(lineHeight, 841.9, 1.0);
    EXPECT_EQ(OfficesBelow(Profiles()), 0) << "the command line left an office behind";

    QDBusConnection bus = Connect();
    QProcess* service = StartService(bus, 60);
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(GdbusCall(address, "/S " + Quoted(deck) + " /T " + Quoted(byBus) + " /C 300", 120000), "(0,)")
        << service->readAllStandardError().toStdString();
    double busWidth = 0, busHeight = 0;
    ASSERT_TRUE(test::PdfPageSize(byBus, busWidth, busHeight)) << "no PDF written over the bus";
    EXPECT_NEAR(busWidth, lineWidth, 0.5);
    EXPECT_NEAR(busHeight, lineHeight, 0.5);

    // The one-shot caller has gone; the service and its office wait for the next one.
    QTest::qWait(1000);
    EXPECT_EQ(service->state(), QProcess::Running);
    EXPECT_GE(OfficesBelow(Profiles()), 1) << "the office was not kept warm between calls";

    service->terminate();
    ASSERT_TRUE(service->waitForFinished(60000)) << "SIGTERM did not end the service";
    EXPECT_EQ(service->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(service->exitCode(), 0);
    EXPECT_TRUE(WaitFor([&] { return OfficesBelow(Profiles()) == 0; }, 10000))
        << "an office outlived the service";
}

TEST_F(OfficeAutomationTest, IdleTimeoutEndsTheServiceAndItsOffices) {
    QDBusConnection bus = Connect();
    QProcess* service = StartService(bus, 2);
    ASSERT_NE(service, nullptr);
    const std::string target = dir.str() + "out/deck.pdf";
    EXPECT_EQ(Call(bus, "/S " + Quoted(deck) + " /T " + Quoted(target) + " /C 32", 120000), kRunStatusDone);
    EXPECT_TRUE(fs::is_regular_file(target));
    ASSERT_TRUE(service->waitForFinished(30000)) << "the idle service did not end";
    EXPECT_EQ(service->exitCode(), 0);
    EXPECT_TRUE(WaitFor([&] { return OfficesBelow(Profiles()) == 0; }, 10000))
        << "an office outlived the service";
}

} // namespace
} // namespace slidemill
