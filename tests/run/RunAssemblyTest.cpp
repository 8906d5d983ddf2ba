#include "run/RunAssembly.h"

#include "ConversionTask.h"
#include "cli/SchedulerWiring.h"
#include "core/FileTypes.h"
#include "core/JobFile.h"
#include "core/Prompt.h"
#include "core/TaskGrid.h"
#include "support/FakeRunParts.h"
#include "support/MemoryRichText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace slidemill {
namespace {

using test::FakeRunParts;
using test::ReadWholeFile;
using test::TempFolder;

// Writes what it is given as the PDF and remembers each call.
class RecordingPdfStage : public PdfStage {
public:
    std::vector<std::string> sources;
    int32_t ConvertRtfToPdf(clsConversionOptions& record) override {
        sources.push_back(record.sOriginalFile);
        std::ofstream(record.sTargetFile) << "pdf";
        record.lErr = 0;
        record.sErr.clear();
        return 0;
    }
};

clsConversionOptions RemoveEmptyLinesTask(const std::string& source, const std::string& target) {
    clsConversionOptions task;
    task.sActionToDo = "S" + std::to_string(kSpecialRemoveEmptyLines);
    task.lSpecialProcess = kSpecialRemoveEmptyLines;
    task.lConversionMethod = kMethodSpecial;
    task.sOriginalFile = source;
    task.sTargetFile = target;
    task.lOriginalFileType = 5;
    task.lTargetFileType = 5;
    return task;
}

class RunAssemblyTest : public ::testing::Test {
protected:
    TempFolder t{"assembly"};
    FakeRunParts parts;
    SilentPrompt prompt;
};

// "PDF - with options" goes to the parts' PDF stage, through the rich text the stored settings
// choose: the outline when text only is stored, the one with slide pictures otherwise.
TEST_F(RunAssemblyTest, PdfWithOptionsUsesThePartsStageAndTheStoredChoiceOfRichText) {
    RecordingPdfStage pdf;
    parts.pdf = &pdf;
    parts.settings.bPDFTextOnly = false;
    RunAssembly assembly(parts, prompt);
    EXPECT_EQ(parts.settingsReads, 1) << "the settings are read when the session is assembled";

    t.file("in/a.ppt");
    clsConversionOptions task = test::ConversionTask(t, "in/a.ppt", "out/a.pdf", kTargetPdfWithOptions);
    int32_t result = -99;
    ASSERT_TRUE(assembly.Runner().PerformSingleTask(task, result));
    EXPECT_EQ(result, 0) << task.sErr;
    ASSERT_EQ(pdf.sources.size(), 1u);
    EXPECT_EQ(pdf.sources[0], t.str() + "out/a.pdf.rtf");
    ASSERT_EQ(parts.component.calls.size(), 1u);
    EXPECT_EQ(parts.component.calls[0].TargetFormat, kTargetRtfPictures);
    EXPECT_TRUE(fs::exists(t.path() / "out/a.pdf"));

    parts.settings.bPDFTextOnly = true;
    assembly.ReadSettings();
    clsConversionOptions again = test::ConversionTask(t, "in/a.ppt", "out/b.pdf", kTargetPdfWithOptions);
    ASSERT_TRUE(assembly.Runner().PerformSingleTask(again, result));
    ASSERT_EQ(parts.component.calls.size(), 2u);
    EXPECT_EQ(parts.component.calls[1].TargetFormat, kTargetRtfText);
}

// Special processes on rich-text files run on the parts' engine; parts without one fail the
// file with a reason instead of passing it through untouched.
TEST_F(RunAssemblyTest, RichTextProcessesRunOnThePartsEngineAndFailWithoutOne) {
    const std::string source = t.file("in/a.rtf", "one\n\ntwo\n");
    test::MemoryEngine engine;
    parts.richText = &engine;
    {
        RunAssembly assembly(parts, prompt);
        clsConversionOptions task = RemoveEmptyLinesTask(source, t.str() + "out.rtf");
        int32_t result = -99;
        ASSERT_TRUE(assembly.Runner().PerformSingleTask(task, result));
        EXPECT_EQ(result, 0) << task.sErr;
        EXPECT_EQ(ReadWholeFile(t.path() / "out.rtf"), "one\ntwo\n");
        EXPECT_EQ(engine.opened, std::vector<std::string>{source});
    }
    parts.richText = nullptr;
    RunAssembly without(parts, prompt);
    clsConversionOptions task = RemoveEmptyLinesTask(source, t.str() + "none.rtf");
    int32_t result = 0;
    ASSERT_TRUE(without.Runner().PerformSingleTask(task, result));
    EXPECT_NE(result, 0);
    EXPECT_FALSE(task.sErr.empty());
    EXPECT_FALSE(fs::exists(t.path() / "none.rtf"));
}

// A scheduled run reads the settings stored when it starts, not those of when the window (or
// service) assembled its session: a "delete the source" stored in between is honoured.
TEST_F(RunAssemblyTest, ScheduledJobReadsTheSettingsStoredWhenItRuns) {
    const std::string source = t.file("in/deck.pptx");
    const std::string job = t.str() + "one.MJB";
    {
        Grid grid{kTaskGridCols};
        InitTaskGrid(grid);
        clsConversionOptions task = test::ConversionTask(t, "in/deck.pptx", "out/deck.pdf");
        AppendTaskRow(task, grid, &parts.component);
        ASSERT_TRUE(WriteJobFile(job, grid));
    }
    RunAssembly assembly(parts, prompt);
    parts.settings.bDeleteOriginalFileAfterProcessing = true;

    SchedulerRunBinding binding = BindSchedulerToRunner(assembly, {});
    binding.RunTheJobEvent(job);
    EXPECT_TRUE(fs::exists(t.path() / "out/deck.pdf"));
    EXPECT_FALSE(fs::exists(source)) << "the scheduled run kept the settings of the assembly's start";
    EXPECT_EQ(parts.settingsReads, 2);
}

} // namespace
} // namespace slidemill
