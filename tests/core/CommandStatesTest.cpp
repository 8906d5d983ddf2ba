// The enabling rules of the main window's commands, row by row.
#include "core/CommandStates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace slidemill {
namespace {

// A job with `tasks` tasks and the current row `row`.
MainWindowState Job(int tasks, int row) {
    MainWindowState s;
    s.rows = tasks + 2;
    s.row = row;
    s.currentNumberCell = row == tasks + 1 ? "*" : (row >= 1 ? std::to_string(row) : "");
    if (tasks == 0)
        s.currentNumberCell = "*";
    return s;
}

struct Expected {
    bool add, remove, update, rewind, convert, pause, newJob, open, save;
};

struct Case {
    const char* name;
    MainWindowState state;
    Expected expected;
};

MainWindowState With(MainWindowState s, void (*change)(MainWindowState&)) {
    change(s);
    return s;
}

TEST(CommandStates, ToolbarFollowsEveryRule) {
    const std::vector<Case> cases = {
        {"empty job", Job(0, 1), {true, false, false, false, true, false, true, true, true}},
        {"one task selected", Job(1, 1), {true, false, false, false, true, false, true, true, true}},
        {"one task, dirty",
         With(Job(1, 1), [](MainWindowState& s) { s.bCurrentActionItemDirty = true; }),
         {true, false, true, false, true, false, true, true, true}},
        {"one task after a run: rewind stays off",
         With(Job(1, 1), [](MainWindowState& s) { s.firstPassCell = "+"; }),
         {true, false, false, false, true, false, true, true, true}},
        {"two tasks, first selected", Job(2, 1), {true, true, false, false, true, false, true, true, true}},
        {"two tasks, dirty",
         With(Job(2, 2), [](MainWindowState& s) { s.bCurrentActionItemDirty = true; }),
         {true, true, true, false, true, false, true, true, true}},
        {"new-task row selected", Job(3, 4), {true, false, false, false, true, false, true, true, true}},
        {"after a run",
         With(Job(3, 2), [](MainWindowState& s) { s.firstPassCell = "-"; }),
         {true, true, false, true, true, false, true, true, true}},
        {"paused inside a file list",
         With(Job(3, 2), [](MainWindowState& s) { s.resumeInsideTask = true; }),
         {true, true, false, true, true, false, true, true, true}},
        {"log page selected",
         With(Job(3, 2),
              [](MainWindowState& s) {
                  s.logPageSelected = true;
                  s.bCurrentActionItemDirty = true;
              }),
         {false, false, false, false, true, false, true, true, true}},
        {"running",
         With(Job(3, 2), [](MainWindowState& s) { s.bRunning = true; }),
         {false, false, false, false, false, true, false, false, true}},
        {"scheduler enabled, nothing running",
         With(Job(3, 2),
              [](MainWindowState& s) {
                  s.schedulerEnabled = true;
                  s.firstPassCell = "+";
                  s.bCurrentActionItemDirty = true;
              }),
         {false, false, false, false, false, true, false, false, true}},
        {"row without a number",
         With(Job(3, 2), [](MainWindowState& s) { s.currentNumberCell.clear(); }),
         {true, false, false, false, true, false, true, true, true}},
        {"no rows at all",
         With(Job(0, 0), [](MainWindowState& s) { s.rows = 1; }),
         {true, false, false, false, true, false, true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandStates got = UpdateMenuToolbar(c.state);
        EXPECT_EQ(got.keyAdd, c.expected.add);
        EXPECT_EQ(got.keyRemove, c.expected.remove);
        EXPECT_EQ(got.keyUpdate, c.expected.update);
        EXPECT_EQ(got.keyRewind, c.expected.rewind);
        EXPECT_EQ(got.keyConvert, c.expected.convert);
        EXPECT_EQ(got.keyPause, c.expected.pause);
        EXPECT_EQ(got.keyNew, c.expected.newJob);
        EXPECT_EQ(got.keyOpen, c.expected.open);
        EXPECT_EQ(got.KeySave, c.expected.save);
        EXPECT_EQ(got.KeySaveAs, c.expected.save);
    }
}

TEST(CommandStates, SaveLogAsJobNeedsALoggedFailure) {
    MainWindowState s = Job(2, 1);
    s.logRows = 2;
    EXPECT_FALSE(UpdateMenuToolbar(s).KeySaveLogAsConversionJob);
    s.logRows = 3;
    EXPECT_TRUE(UpdateMenuToolbar(s).KeySaveLogAsConversionJob);
    // Saving the log stays possible while a run goes on.
    s.bRunning = true;
    EXPECT_TRUE(UpdateMenuToolbar(s).KeySaveLogAsConversionJob);
}

TEST(CommandStates, MoveEntriesFollowTheSelectedRow) {
    struct MoveCase {
        const char* name;
        int tasks, row;
        MoveEntryStates expected;
    };
    const std::vector<MoveCase> cases = {
        {"empty job", 0, 1, {false, false, false}},    {"one task", 1, 1, {false, false, false}},
        {"new-task row", 3, 4, {false, false, false}}, {"first task", 3, 1, {true, false, true}},
        {"middle task", 3, 2, {true, true, true}},     {"last task", 3, 3, {true, true, false}},
        {"first of two", 2, 1, {true, false, true}},   {"last of two", 2, 2, {true, true, false}},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandStates got = UpdateMenuToolbar(Job(c.tasks, c.row));
        ASSERT_TRUE(got.moves.has_value());
        EXPECT_EQ(*got.moves, c.expected);
    }
}

TEST(CommandStates, MoveEntriesKeepTheirStateWhileBusyOrSuppressed) {
    MainWindowState s = Job(3, 2);
    s.bRunning = true;
    EXPECT_FALSE(UpdateMenuToolbar(s).moves.has_value());
    s = Job(3, 2);
    s.schedulerEnabled = true;
    EXPECT_FALSE(UpdateMenuToolbar(s).moves.has_value());
    s = Job(3, 2);
    s.bSuppressControlEvents = true;
    EXPECT_FALSE(UpdateMenuToolbar(s).moves.has_value());
}

} // namespace
} // namespace slidemill
