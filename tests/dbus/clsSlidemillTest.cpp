#include "cli/clsSlidemill.h"

#include "cli/CommandLineRun.h"
#include "cli/CommandLineSession.h"
#include "cli/ResultCodes.h"
#include "cli/dbus/AutomationSession.h"
#include "core/Prompt.h"
#include "support/FakeComponent.h"
#include "support/FakeRunParts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <stdexcept>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using test::FakeComponent;
using test::FakeRunParts;
using test::TempFolder;
using Raised = std::pair<int32_t, std::string>;

std::string Q(const std::string& path) {
    return "\"" + path + "\"";
}

class clsSlidemillTest : public ::testing::Test {
protected:
    TempFolder dir{"automation"};
    FakeRunParts parts;
    FakeComponent& component = parts.component;
    SilentPrompt prompt;
    CommandLineSession session{parts, prompt, NullRunControl(), MakeContext()};
    CommandLineRun& run = session.Run();
    clsSlidemill automation{run};
    std::vector<Raised> raised;

    CommandLineContext MakeContext() {
        CommandLineContext context;
        context.programFolder = dir.folder("program");
        return context;
    }
    void SetUp() override {
        automation.OnError = [this](int32_t lErr, const std::string& sErr) {
            raised.emplace_back(lErr, sErr);
        };
    }
    std::string ValidLine(const std::string& name) {
        return "/S " + Q(dir.file("in/" + name + ".pptx")) + " /T " + Q(dir.str() + "out/" + name + ".pdf") +
               " /C 32";
    }
};

TEST_F(clsSlidemillTest, InvalidLineAnswersMinusThreeAndRaisesItsMessageOnce) {
    EXPECT_EQ(automation.DoCommandLine("/X"), kRunStatusInvalidLine);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0], Raised(-3, "Invalid or missing required command line argument(s)"));
    EXPECT_TRUE(component.calls.empty());

    // A source that does not exist is as invalid as an unknown switch.
    raised.clear();
    EXPECT_EQ(automation.DoCommandLine("/S " + Q(dir.str() + "missing.pptx") + " /T " +
                                       Q(dir.str() + "o.pdf") + " /C 32"),
              kRunStatusInvalidLine);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].first, -3);
}

TEST_F(clsSlidemillTest, EmptyLineAnswersMinusTwoAndRaisesCommandLineIsEmpty) {
    int windowShown = 0;
    run.showUserInterface = [&windowShown] { ++windowShown; };
    EXPECT_EQ(automation.DoCommandLine(""), kRunStatusEmptyLine);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0], Raised(-2, "Command line is empty"));
    EXPECT_EQ(windowShown, 1);
}

TEST_F(clsSlidemillTest, ValidLineRunsWithoutEventAndHelpRaisesNothing) {
    const std::string line = ValidLine("deck");
    EXPECT_EQ(automation.DoCommandLine(line), kRunStatusDone);
    ASSERT_EQ(component.calls.size(), 1u);
    EXPECT_TRUE(fs::exists(dir.path() / "out/deck.pdf"));
    EXPECT_TRUE(raised.empty());

    // A run whose file fails is still status 0: the failure is in the log, not an event.
    component.failures[dir.str() + "in/bad.pptx"] = {-3, "cannot open"};
    EXPECT_EQ(automation.DoCommandLine(ValidLine("bad")), kRunStatusDone);
    EXPECT_TRUE(run.SomethingFailed());
    EXPECT_EQ(automation.DoCommandLine("/?"), kRunStatusDone);
    EXPECT_TRUE(raised.empty());
    EXPECT_FALSE(automation.Busy());
}

TEST_F(clsSlidemillTest, CallFromInsideARunningLineIsRefusedAndTheGuardIsReleasedAfterwards) {
    int32_t inner = 1;
    bool busyDuringRun = false;
    const std::string second = ValidLine("second");
    bool once = true;
    component.onConvert = [&](const ConversionProperties&) {
        if (!std::exchange(once, false))
            return;
        busyDuringRun = automation.Busy();
        inner = automation.DoCommandLine(second);
    };
    EXPECT_EQ(automation.DoCommandLine(ValidLine("first")), kRunStatusDone);
    EXPECT_TRUE(busyDuringRun);
    EXPECT_EQ(inner, kRunStatusBusy);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].first, kRunStatusBusy);
    EXPECT_NE(raised[0].second.find("still running"), std::string::npos);
    EXPECT_EQ(component.calls.size(), 1u) << "the refused line must not run";

    EXPECT_FALSE(automation.Busy());
    EXPECT_EQ(automation.DoCommandLine(second), kRunStatusDone);
    EXPECT_EQ(component.calls.size(), 2u);
}

TEST_F(clsSlidemillTest, CallFromAnotherThreadWhileRunningIsRefusedNotQueued) {
    std::promise<void> running;
    std::promise<void> release;
    auto released = release.get_future();
    component.onConvert = [&](const ConversionProperties&) {
        running.set_value();
        released.wait_for(std::chrono::seconds(20));
    };
    auto first = std::async(std::launch::async, [&] { return automation.DoCommandLine(ValidLine("slow")); });
    ASSERT_EQ(running.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
    const auto refusedAt = std::chrono::steady_clock::now();
    EXPECT_EQ(automation.DoCommandLine(ValidLine("other")), kRunStatusBusy);
    EXPECT_LT(std::chrono::steady_clock::now() - refusedAt, std::chrono::seconds(5));
    release.set_value();
    EXPECT_EQ(first.get(), kRunStatusDone);
    EXPECT_EQ(component.calls.size(), 1u);
}

TEST_F(clsSlidemillTest, UnexpectedErrorInARunIsAnsweredNotThrownAndTheObjectStaysUsable) {
    component.onConvert = [](const ConversionProperties&) { throw std::runtime_error("engine gone"); };
    int32_t result = 0;
    EXPECT_NO_THROW(result = automation.DoCommandLine(ValidLine("boom")));
    // The runner may turn the failure into a failed file itself; either way nothing escapes
    // and a thrown error never reads as a plain success without a trace.
    if (result == kRunStatusInternalError) {
        ASSERT_EQ(raised.size(), 1u);
        EXPECT_EQ(raised[0].first, kRunStatusInternalError);
        EXPECT_NE(raised[0].second.find("engine gone"), std::string::npos);
    } else {
        EXPECT_EQ(result, kRunStatusDone);
        EXPECT_TRUE(run.SomethingFailed());
    }
    component.onConvert = nullptr;
    EXPECT_FALSE(automation.Busy());
    EXPECT_EQ(automation.DoCommandLine(ValidLine("after")), kRunStatusDone);
}

TEST_F(clsSlidemillTest, ThrowingHandlerDoesNotBreakTheObject) {
    automation.OnError = [](int32_t, const std::string&) { throw std::runtime_error("caller bug"); };
    EXPECT_EQ(automation.DoCommandLine("/X"), kRunStatusInvalidLine);
    EXPECT_FALSE(automation.Busy());
}

TEST(AutomationSessionTest, EmptyLineIsEmptyWhateverTheProcessWasStartedWith) {
    TempFolder dir{"session"};
    auto parts = std::make_unique<FakeRunParts>();
    FakeComponent* fake = &parts->component;
    AutomationSession session(std::move(parts));
    std::vector<Raised> raised;
    session.onError = [&raised](int32_t lErr, const std::string& sErr) { raised.emplace_back(lErr, sErr); };
    EXPECT_EQ(session.DoCommandLine(""), kRunStatusEmptyLine);
    EXPECT_EQ(
        session.DoCommandLine("/S " + Q(dir.file("a.pptx")) + " /T " + Q(dir.str() + "a.pdf") + " /C 32"),
        kRunStatusDone);
    EXPECT_EQ(fake->calls.size(), 1u);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0].first, kRunStatusEmptyLine);
}

// The stored settings are read before every line, so a service that stays up follows a change
// the user made between two calls.
TEST(AutomationSessionTest, EachLineRunsWithTheSettingsStoredAtItsStart) {
    TempFolder dir{"settings"};
    auto owned = std::make_unique<FakeRunParts>();
    FakeRunParts& parts = *owned;
    {
        AutomationSession session(std::move(owned));
        const std::string first = dir.file("in/first.pptx");
        EXPECT_EQ(
            session.DoCommandLine("/S " + Q(first) + " /T " + Q(dir.str() + "out/first.pdf") + " /C 32"),
            kRunStatusDone);
        EXPECT_TRUE(std::filesystem::exists(first)) << "nothing asked for the source to go";

        parts.settings.bDeleteOriginalFileAfterProcessing = true;
        const std::string second = dir.file("in/second.pptx");
        EXPECT_EQ(
            session.DoCommandLine("/S " + Q(second) + " /T " + Q(dir.str() + "out/second.pdf") + " /C 32"),
            kRunStatusDone);
        EXPECT_TRUE(std::filesystem::exists(dir.str() + "out/second.pdf"));
        EXPECT_FALSE(std::filesystem::exists(second))
            << "the setting stored after the first line was not read";
        EXPECT_EQ(parts.shutDowns, 0) << "the parts must stay up between lines";
    }
}

TEST(AutomationSessionTest, WithoutComponentEveryLineFailsCleanly) {
    AutomationSession session(nullptr);
    std::vector<Raised> raised;
    session.onError = [&raised](int32_t lErr, const std::string& sErr) { raised.emplace_back(lErr, sErr); };
    EXPECT_EQ(session.DoCommandLine("/S a.pptx /T b.pdf /C 32"), kRunStatusInternalError);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(raised[0], Raised(kRunStatusInternalError, NoComponentMessage()));
}

} // namespace
} // namespace slidemill
