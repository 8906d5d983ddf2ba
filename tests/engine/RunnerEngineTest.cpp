#include "EngineTestSupport.h"
#include "core/JobDocument.h"
#include "core/LogGrid.h"
#include "core/TaskGrid.h"
#include "run/JobRunner.h"
#include "run/PdfStage.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace slidemill {
namespace {

// A job built in code, saved, opened again and run through the real office: the password-
// protected presentation fails alone, with one log entry, and the others still convert.
TEST(RunnerEngine, SavedJobRunsWithOneFailingFileLogged) {
    SLIDEMILL_REQUIRE_CORPUS();
    test::TempFolder t("runner");
    LibreOfficeComponent& engine = test::SharedEngine();
    SilentPrompt prompt;
    RunHost host;
    RunStatus status;
    RunState state;
    UnavailablePdfStage pdf;

    const std::string sources[] = {test::GoodFile("pptx_sld-blank.pptx"),
                                   test::BadFile("poi_Password_Protected-hello.ppt"),
                                   test::GoodFile("pptx_sld-notes.pptx")};
    const std::string job = t.str() + "three.MJB";
    {
        JobDocument built(prompt, state, &host);
        for (int i = 0; i < 3; ++i) {
            clsConversionOptions task;
            task.sOriginalFile = sources[i];
            task.lOriginalFileType = 3;
            task.sTargetFile = t.str() + "out/" + std::to_string(i + 1) + ".pdf";
            task.lTargetFileType = 32;
            AppendTaskRow(task, built.fgToDo, &engine);
        }
        ASSERT_TRUE(WriteJobFile(job, built.fgToDo));
    }

    JobDocument document(prompt, state, &host);
    ASSERT_TRUE(document.ConversionJobOpen(job));
    ASSERT_EQ(TaskCount(document.fgToDo), 3);
    JobRunner runner(document, state, engine, pdf, prompt, host, status);

    EXPECT_EQ(runner.ConversionJobBegin(), RunEnd::Completed);
    EXPECT_EQ(document.fgToDo.CellText(1, kColPass), "+");
    EXPECT_EQ(document.fgToDo.CellText(2, kColPass), "-");
    EXPECT_EQ(document.fgToDo.CellText(3, kColPass), "+");
    ASSERT_EQ(document.fgLog.Rows(), 3); // header, the one entry, the empty last row
    EXPECT_EQ(document.fgLog.CellText(1, kColNumber), "2");
    EXPECT_EQ(document.fgLog.CellText(1, kColOriginal), sources[1]);
    EXPECT_EQ(document.fgLog.CellText(1, kColPass), "-");
    EXPECT_FALSE(document.fgLog.CellText(1, kColStatus).empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(t.str() + "out/1.pdf"));
    EXPECT_FALSE(std::filesystem::exists(t.str() + "out/2.pdf"));
    EXPECT_TRUE(std::filesystem::is_regular_file(t.str() + "out/3.pdf"));
    EXPECT_EQ(test::PdfPageCount(t.str() + "out/3.pdf"), 2);
}

} // namespace
} // namespace slidemill
