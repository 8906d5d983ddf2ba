// A long conversion runs beside the caller's thread, which keeps running checkpoints.
#include "run/ResponsiveComponent.h"

#include "support/FakeComponent.h"
#include "support/FakeRunParts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace slidemill {
namespace {

using namespace std::chrono_literals;

class CountingControl : public RunControl {
public:
    std::atomic<int> checkpoints{0};
    std::thread::id lastThread;
    std::function<void()> onCheckpoint;
    void Checkpoint() override {
        ++checkpoints;
        lastThread = std::this_thread::get_id();
        if (onCheckpoint)
            onCheckpoint();
    }
};

TEST(ResponsiveComponentTest, CheckpointsRunOnTheCallersThreadWhileTheFileConverts) {
    test::TempFolder folder("responsive");
    const std::string source = folder.file("deck.pptx", "slides");
    const std::string target = folder.str() + "deck.pdf";
    test::FakeComponent inner;
    CountingControl control;
    ResponsiveComponent component(inner, control, 10ms);
    std::thread::id converter;
    inner.onConvert = [&](const ConversionProperties&) {
        converter = std::this_thread::get_id();
        std::this_thread::sleep_for(300ms);
    };
    component.SetSourceFile(source);
    component.SetTargetFile(target);
    component.SetTargetFormat(32);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(component.Convert(), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);

    // Every 10 ms for 300 ms: far more than a handful, even on a loaded machine.
    EXPECT_GE(control.checkpoints.load(), 10);
    EXPECT_EQ(control.lastThread, std::this_thread::get_id());
    EXPECT_NE(converter, std::this_thread::get_id());
    // The wrapped component converted what was set on the wrapper.
    ASSERT_EQ(inner.calls.size(), 1u);
    EXPECT_EQ(inner.calls[0].SourceFile, source);
    EXPECT_EQ(inner.calls[0].TargetFile, target);
    EXPECT_EQ(inner.calls[0].TargetFormat, 32);
}

TEST(ResponsiveComponentTest, ProgressIsRaisedOnTheCallersThreadAndResultsAndErrorsPassThrough) {
    test::FakeComponent inner;
    CountingControl control;
    ResponsiveComponent component(inner, control, 5ms);
    std::vector<std::thread::id> progressThreads;
    float seen = -1;
    component.SetProgressHandler([&] {
        progressThreads.push_back(std::this_thread::get_id());
        seen = component.PercentComplete();
    });
    inner.onConvert = [](const ConversionProperties&) { std::this_thread::sleep_for(50ms); };
    inner.failures["/in/broken.pptx"] = {7, "cannot read the deck"};

    component.SetSourceFile("/in/broken.pptx");
    component.SetTargetFile("/out/broken.pdf");
    EXPECT_EQ(component.Convert(), 7);
    EXPECT_EQ(component.LastErrorText(), "cannot read the deck");
    ASSERT_FALSE(progressThreads.empty());
    for (const auto& id : progressThreads)
        EXPECT_EQ(id, std::this_thread::get_id());
    EXPECT_FLOAT_EQ(seen, 50.0f);
}

TEST(ResponsiveComponentTest, AFailureInsideTheConversionReachesTheCaller) {
    test::FakeComponent inner;
    CountingControl control;
    ResponsiveComponent component(inner, control, 5ms);
    inner.onConvert = [](const ConversionProperties&) { throw std::runtime_error("office died"); };
    EXPECT_THROW(component.Convert(), std::runtime_error);
    // The wrapper is usable again afterwards.
    inner.onConvert = nullptr;
    inner.failures["/in/second.pptx"] = {4, "second"};
    component.SetSourceFile("/in/second.pptx");
    EXPECT_EQ(component.Convert(), 4);
}

TEST(ResponsiveComponentTest, ConcurrentConversionsAndOtherThreadsGoStraightToTheWrappedComponent) {
    test::FakeComponent inner;
    inner.concurrency = 3;
    CountingControl control;
    ResponsiveComponent component(inner, control, 5ms);
    EXPECT_EQ(component.ConcurrentConversions(), 3);
    EXPECT_EQ(&component.ConcurrentComponent(0), &inner);
    ConversionComponent& third = component.ConcurrentComponent(2);
    ASSERT_EQ(inner.helpers.size(), 2u);
    EXPECT_EQ(&third, inner.helpers[1].get());

    // A call from a thread that is not the window's runs no checkpoint at all.
    inner.onConvert = [](const ConversionProperties&) { std::this_thread::sleep_for(60ms); };
    inner.failures["/in/other.pptx"] = {9, "other"};
    component.SetSourceFile("/in/other.pptx");
    int32_t result = -5;
    std::thread other([&] { result = component.Convert(); });
    other.join();
    EXPECT_EQ(result, 9);
    EXPECT_EQ(control.checkpoints.load(), 0);
}

TEST(ResponsiveComponentTest, QuestionsAndSettingsReachTheWrappedComponent) {
    test::FakeComponent inner;
    CountingControl control;
    ResponsiveComponent component(inner, control);
    EXPECT_EQ(component.FormatCount(), inner.FormatCount());
    int32_t code = 0;
    std::string description;
    ASSERT_TRUE(component.GetFormat(2, code, description));
    EXPECT_EQ(code, 18);
    EXPECT_EQ(component.GetExtension(32, true), "*.pdf");
    EXPECT_FALSE(component.SupportsSingleFileOutput(18));
    component.SetOptimizeForSpeed(false);
    EXPECT_FALSE(inner.OptimizeForSpeed());
    component.ShutDown();
    EXPECT_EQ(inner.shutDownCount, 1);
}

TEST(ResponsiveRunPartsTest, HandsOutTheResponsiveComponentAndPassesTheRestThrough) {
    test::FakeRunParts inner;
    CountingControl control;
    ResponsiveRunParts parts(inner, control);
    ConversionComponent& component = parts.Component();
    EXPECT_NE(&component, &inner.component);
    EXPECT_EQ(&parts.Component(), &component);
    EXPECT_EQ(&parts.Pdf(), &inner.Pdf());
    parts.ReadSettings();
    EXPECT_EQ(inner.settingsReads, 1);
    PdfOptions window;
    window.sPdxFontName = "From the window";
    parts.UsePdfOptions(window);
    EXPECT_EQ(inner.pdfOptionsHandOvers, 1);
    EXPECT_EQ(inner.pdfOptions, window);
    parts.ShutDown();
    EXPECT_EQ(inner.shutDowns, 1);

    inner.component.onConvert = [](const ConversionProperties&) { std::this_thread::sleep_for(80ms); };
    component.Convert();
    EXPECT_GE(control.checkpoints.load(), 2);
}

} // namespace
} // namespace slidemill
