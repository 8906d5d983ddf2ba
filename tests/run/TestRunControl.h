#pragma once

#include "core/RunControl.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace slidemill::test {

// Records what long work reports, and pauses the run when a test says so: after a number of
// checkpoints, or whenever a test clears running.
class TestRunControl : public RunControl {
public:
    bool running = true;
    int stopAfterCheckpoints = -1; // the run pauses at this checkpoint (counted from 1); -1 = never
    int checkpoints = 0;
    int cursorOn = 0;
    int cursorOff = 0;
    std::vector<std::pair<StatusPanel, std::string>> texts;

    void Checkpoint() override {
        ++checkpoints;
        if (stopAfterCheckpoints >= 0 && checkpoints >= stopAfterCheckpoints)
            running = false;
    }
    bool Running() const override { return running; }
    void SetStatusText(StatusPanel panel, const std::string& text) override {
        texts.emplace_back(panel, text);
    }
    void SetWaitCursor(bool on) override { ++(on ? cursorOn : cursorOff); }

    std::vector<std::string> TextsOf(StatusPanel panel) const {
        std::vector<std::string> out;
        for (const auto& [p, t] : texts)
            if (p == panel)
                out.push_back(t);
        return out;
    }
};

} // namespace slidemill::test
