#pragma once

#include "core/RunControl.h"

#include <ostream>
#include <string>

namespace slidemill {

// The status bar of a run without a window: one line on a terminal, rewritten in place, with
// the task number, the progress text and the current file. Nothing is written when disabled,
// so logs and pipes never collect progress noise.
class ConsoleProgress final : public RunControl {
public:
    ConsoleProgress(std::ostream& out, bool enabled, std::size_t width = 100)
        : out_(out), enabled_(enabled), width_(width) {}

    void SetStatusText(StatusPanel panel, const std::string& text) override;
    // Clears the progress line, so the run's own messages start on a clean line.
    void Finish();

    // The line as it is shown now (without the terminal controls).
    std::string Line() const;

private:
    void Draw();

    std::ostream& out_;
    bool enabled_;
    std::size_t width_;
    bool drawn_ = false;
    std::string task_;
    std::string state_;
    std::string file_;
};

} // namespace slidemill
