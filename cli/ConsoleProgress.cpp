#include "cli/ConsoleProgress.h"

#include "settings/PathText.h"

namespace slidemill {

namespace {

// Erases the terminal line the cursor is on.
constexpr const char* kClearLine = "\r\033[K";

// A long path keeps its end, where the file's name is.
std::string KeepEnd(const std::string& text, std::size_t room) {
    if (text.size() <= room)
        return text;
    if (room <= 3)
        return text.substr(text.size() - room);
    std::size_t from = text.size() - (room - 3);
    // Never start inside a UTF-8 character.
    while (from < text.size() && (static_cast<unsigned char>(text[from]) & 0xC0) == 0x80)
        ++from;
    return "..." + text.substr(from);
}

} // namespace

void ConsoleProgress::SetStatusText(StatusPanel panel, const std::string& text) {
    switch (panel) {
    case StatusPanel::TaskNumber:
        task_ = text;
        break;
    case StatusPanel::State:
        state_ = pathtext::TrimSpaces(text);
        break;
    case StatusPanel::CurrentFile:
        file_ = text;
        break;
    default:
        // The elapsed seconds change all the time and would only make the line flicker.
        return;
    }
    Draw();
}

std::string ConsoleProgress::Line() const {
    std::string line;
    if (!task_.empty() && task_ != "-")
        line = "task " + task_ + ": ";
    line += state_;
    if (!file_.empty()) {
        if (!line.empty())
            line += "  ";
        const std::size_t room = width_ > line.size() ? width_ - line.size() : 0;
        line += KeepEnd(file_, room);
    }
    return line;
}

void ConsoleProgress::Draw() {
    if (!enabled_)
        return;
    out_ << kClearLine << Line() << std::flush;
    drawn_ = true;
}

void ConsoleProgress::Finish() {
    if (enabled_ && drawn_)
        out_ << kClearLine << std::flush;
    drawn_ = false;
}

} // namespace slidemill
