#include "cli/ResultCodes.h"
#include "cli/RunLogLines.h"
#include "core/TaskGrid.h"
#include "run/ConversionStep.h"
#include "run/TargetClaims.h"

#include <set>

#include <gtest/gtest.h>

namespace slidemill {
namespace {

TEST(ResultCodes, MessagesCarryThePathOfTheFailingSide) {
    clsConversionOptions task;
    task.sOriginalFile = "/in/a.ppt";
    task.sTargetFile = "/out/a.txt";
    task.lErr = -3;
    EXPECT_EQ(ResultCodeMessage(task),
              " Unable to open original file. Check file format. Could be a sharing violation: (/in/a.ppt)");
    task.lErr = -2;
    EXPECT_EQ(ResultCodeMessage(task),
              "Unable to open or save to target file.  Could be a sharing violation, or "
              "invalid file type: (/out/a.txt)");
    task.lErr = 0;
    EXPECT_EQ(ResultCodeMessage(task), "Successfully Processed.");
    task.lErr = -11;
    EXPECT_EQ(ResultCodeMessage(task), "Process did not complete in the specified time (Timeout)");
    for (int32_t outside : {-4, -9, 1, -1000000}) {
        task.lErr = outside;
        EXPECT_EQ(ResultCodeMessage(task), "") << outside;
    }
}

TEST(ResultCodes, EachRefusalHasItsOwnCodeAndMessage) {
    // Stored logs and callers read -21 as "the target is the source itself".
    EXPECT_EQ(kErrTargetIsSource, -21);
    const std::set<int32_t> codes{kErrTargetIsSource, kMalformedTaskRow, kErrTargetClaimed,
                                  kErrTargetIsOtherSource, kErrFileList};
    EXPECT_EQ(codes.size(), 5u) << "no two meanings share a code";

    clsConversionOptions task;
    task.sOriginalFile = "/in/deck.ppt";
    task.sTargetFile = "/in/deck.pptx";
    std::set<std::string> messages;
    for (int32_t code : {kErrTargetIsSource, kMalformedTaskRow, kErrTargetClaimed, kErrTargetIsOtherSource}) {
        task.lErr = code;
        const std::string message = ResultCodeMessage(task);
        EXPECT_FALSE(message.empty()) << code;
        messages.insert(message);
    }
    EXPECT_EQ(messages.size(), 4u);
    task.lErr = kErrTargetIsSource;
    EXPECT_EQ(ResultCodeMessage(task), "Error 21: The target file is the source file itself (/in/deck.pptx)");
    task.lErr = kMalformedTaskRow;
    EXPECT_EQ(ResultCodeMessage(task), "The task is not valid and was not run:");
    for (int32_t code : {kErrTargetClaimed, kErrTargetIsOtherSource}) {
        task.lErr = code;
        EXPECT_NE(ResultCodeMessage(task).find("(/in/deck.ppt -> /in/deck.pptx)"), std::string::npos) << code;
    }
}

TEST(ResultCodes, ExitCodesForScripts) {
    EXPECT_EQ(ExitCodeForRunStatus(kRunStatusDone, false), 0);
    EXPECT_EQ(ExitCodeForRunStatus(kRunStatusDone, true), 1);
    EXPECT_EQ(ExitCodeForRunStatus(kRunStatusInvalidLine, false), 2);
    EXPECT_EQ(ExitCodeForRunStatus(kRunStatusInvalidLine, true), 2);
    EXPECT_EQ(ExitCodeForRunStatus(kRunStatusEmptyLine, false), 0);
    EXPECT_EQ(ExitCodeForRunStatus(kRunStatusOpenedJob, false), 0);
}

TEST(RunLogLines, Texts) {
    EXPECT_EQ(JobLogLine("3", "Unable to open", "/in/a.pptx"), "Job # 3  Unable to open - /in/a.pptx");
    EXPECT_EQ(TimeToCompleteLine(0), "Time to complete job: 0.0");
    EXPECT_EQ(TimeToCompleteLine(49), "Time to complete job: 0.0");
    EXPECT_EQ(TimeToCompleteLine(50), "Time to complete job: 0.1");
    EXPECT_EQ(TimeToCompleteLine(12345), "Time to complete job: 12.3");
    EXPECT_EQ(TimeToCompleteLine(12350), "Time to complete job: 12.4");
    EXPECT_EQ(TimeToCompleteLine(1234567), "Time to complete job: 1234.6");
    EXPECT_EQ(ConversionSuccessfulLine(), "Conversion Successful");
    EXPECT_EQ(InvalidArgumentsLine(), "Missing required or invalid command line argument(s)");
    EXPECT_EQ(UnableToCreateJobFileLine(),
              "Unable to create file. Try a different folder such as 'My Documents'");
}

TEST(RunLogLines, RefusalNamesTheReasonOnOneLine) {
    EXPECT_EQ(
        RefusalText("slidemill", "Original File\n/in/a.pptx\ndoes not exist.", ""),
        "slidemill: Missing required or invalid command line argument(s): Original File /in/a.pptx does "
        "not exist.\n");
    EXPECT_EQ(RefusalText("slidemill", "Bad\r\n\r\nline", "/logs/run.log"),
              "slidemill: Missing required or invalid command line argument(s): Bad line (see the log "
              "/logs/run.log)\n");
    EXPECT_EQ(RefusalText("sm", "", ""), "sm: Missing required or invalid command line argument(s)\n");
}

} // namespace
} // namespace slidemill
