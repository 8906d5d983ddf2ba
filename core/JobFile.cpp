#include "core/JobFile.h"

#include "core/FileTypes.h"
#include "core/OptionsCell.h"
#include "core/TaskGrid.h"
#include "core/Translate.h"
#include "platform/AtomicFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

namespace slidemill {

namespace fs = std::filesystem;

namespace {

// Reads a file line by line through one large buffer; a line is handed out as a view into the
// buffer whenever it lies in one piece, so loading copies each line once, into its grid row.
class LineReader {
public:
    enum Result { kLine, kEnd, kTooLong, kError };

    // What is buffered but not yet handed out, so that another reader of the same file can go
    // on where this one stopped without reading it again.
    struct State {
        std::shared_ptr<char[]> buffer; // shared with the grid rows that point into it
        std::size_t pos = 0;
        std::size_t length = 0;
        int64_t consumed = 0;
        bool bufferHasNul = false;
    };

    explicit LineReader(std::FILE* file) : file_(file) { state_.buffer.reset(new char[kBufferSize]); }

    Result Next(std::string_view& line) {
        carry_.clear();
        lineMayHoldNul_ = state_.bufferHasNul;
        while (true) {
            const char* start = state_.buffer.get() + state_.pos;
            const char* nl = static_cast<const char*>(std::memchr(start, '\n', state_.length - state_.pos));
            if (nl) {
                const std::size_t size = static_cast<std::size_t>(nl - start);
                state_.pos += size + 1;
                if (carry_.empty()) {
                    line = std::string_view(start, size);
                } else {
                    carry_.append(start, size);
                    line = carry_;
                }
                return line.size() > kMaxJobLineBytes ? kTooLong : kLine;
            }
            carry_.append(start, state_.length - state_.pos);
            if (carry_.size() > kMaxJobLineBytes)
                return kTooLong;
            state_.consumed += static_cast<int64_t>(state_.length);
            state_.pos = 0;
            // Rows may still point into the buffer.
            if (state_.buffer.use_count() > 1)
                state_.buffer.reset(new char[kBufferSize]);
            state_.length = std::fread(state_.buffer.get(), 1, kBufferSize, file_);
            // One look at the whole buffer spares a look at each of its lines.
            state_.bufferHasNul = std::memchr(state_.buffer.get(), '\0', state_.length) != nullptr;
            lineMayHoldNul_ = lineMayHoldNul_ || state_.bufferHasNul;
            if (state_.length == 0) {
                if (std::ferror(file_))
                    return kError;
                if (carry_.empty())
                    return kEnd;
                line = carry_;
                return kLine;
            }
        }
    }

    // False when the last line handed out holds no NUL byte.
    bool LineMayHoldNul() const { return lineMayHoldNul_; }

    const State& Buffered() const { return state_; }
    void Resume(const State& state) { state_ = state; }

private:
    static constexpr std::size_t kBufferSize = 1 << 20;
    std::FILE* file_;
    State state_;
    std::string carry_;
    bool lineMayHoldNul_ = false;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Where the last slice ended, so that the next slice of the same unchanged file starts there
// instead of reading every line before it again: loading a long job stays linear.
struct SliceBookmark {
    std::string path;
    int64_t nextLine = 0;
    uintmax_t size = 0;
    fs::file_time_type modified{};
    LineReader::State buffered; // the text read past the slice's end
};

SliceBookmark& Bookmark() {
    static SliceBookmark bookmark;
    return bookmark;
}

bool FileStamp(const std::string& path, uintmax_t& size, fs::file_time_type& modified) {
    std::error_code ec;
    size = fs::file_size(path, ec);
    if (ec)
        return false;
    modified = fs::last_write_time(path, ec);
    return !ec;
}

std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

bool IsBlank(std::string_view line) {
    for (char ch : line)
        if (ch != ' ' && ch != '\t')
            return false;
    return true;
}

// The third field of a line: its action.
std::string_view ActionField(std::string_view line) {
    std::size_t start = 0;
    for (int field = 0; field < 2; ++field) {
        const std::size_t tab = line.find('\t', start);
        if (tab == std::string_view::npos)
            return {};
        start = tab + 1;
    }
    const std::size_t end = line.find('\t', start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

bool IsReloadLine(std::string_view line) {
    if (ActionField(line) != "S1")
        return false;
    return line.find(kReloadTaskText) != std::string_view::npos;
}

void AppendCells(std::string& out, const Grid& grid, int row, int firstCol, int lastCol) {
    for (int col = firstCol; col <= lastCol; ++col) {
        out += grid.Cell(row, col);
        out += '\t';
    }
}

bool HasLineBreakOrTab(const Grid& grid, int row, int lastCol) {
    for (int col = 0; col <= lastCol; ++col)
        if (grid.Cell(row, col).find_first_of("\t\r\n") != std::string_view::npos)
            return true;
    return false;
}

// Appends the task lines of a job file from line `from` up to (not including) line `to`, or to
// its end when `to` is 0, as the loader would read them; tasks counts the lines appended.
bool AppendJobLines(std::string& out, const std::string& path, int64_t from, int64_t to, int64_t& tasks) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    LineReader reader(file.get());
    std::string_view line;
    int64_t k = 0;
    while (true) {
        const LineReader::Result result = reader.Next(line);
        if (result == LineReader::kEnd)
            return true;
        if (result != LineReader::kLine)
            return false;
        ++k;
        if (to > 0 && k >= to)
            return true;
        line = WithoutLineEnd(line);
        if (k == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        if (k < from || IsBlank(line) || (line.size() > 1 && line[1] == '*') || IsReloadLine(line))
            continue;
        if (line.find('\0') != std::string_view::npos)
            return false;
        out += line;
        out += "\r\n";
        ++tasks;
    }
}

// A task number as text, counted up in place: renumbering a slice's rows needs no conversion.
class TaskNumber {
public:
    explicit TaskNumber(int64_t n) {
        char text[24];
        const auto end = std::to_chars(text, text + sizeof text, n).ptr;
        begin_ = sizeof digits_ - static_cast<std::size_t>(end - text);
        std::copy(text, end, digits_ + begin_);
    }
    std::string_view Text() const { return std::string_view(digits_ + begin_, sizeof digits_ - begin_); }
    void Next() {
        std::size_t i = sizeof digits_;
        while (i > begin_ && digits_[i - 1] == '9')
            digits_[--i] = '0';
        if (i > begin_)
            ++digits_[i - 1];
        else
            digits_[--begin_] = '1';
    }

private:
    char digits_[24];
    std::size_t begin_;
};

int64_t ReloadLineOf(const Grid& grid, int row) {
    int32_t line = 0;
    if (!ParseCellNumber(grid.Cell(row, kColTargetType), line))
        return 0;
    return line;
}

} // namespace

bool IsReloadTaskRow(const Grid& grid, int row) {
    return IsTaskRow(grid, row) && grid.Cell(row, kColAction) == "S1" &&
           grid.Cell(row, kColOriginal).starts_with(kReloadTaskText);
}

bool IsReloadTask(const clsConversionOptions& record) {
    return IsSpecialAction(record.sActionToDo) && record.lSpecialProcess == kSpecialReloadJob;
}

JobLoadResult LoadJobFile(const std::string& path, int64_t startLine, Grid& grid, RunControl& control) {
    JobLoadResult result;
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec))
        return result;
    if (startLine < 1)
        startLine = 1;

    // However many rows arrive, a view hears of the load once.
    const Grid::ResetScope load(grid);
    control.SetWaitCursor(true);
    const bool runningFound = control.Running();
    control.SetRunning(true);
    InitTaskGrid(grid);

    FilePtr file(std::fopen(path.c_str(), "rb"));
    LineReader reader(file.get());
    int64_t k = 0;
    TaskNumber number(startLine);
    result.status = JobLoadStatus::Loaded;
    if (!file) {
        result.status = JobLoadStatus::Failed;
        result.error = Translate("Unable to open the conversion job file:") + " " + path;
    } else {
        control.SetStatusText(StatusPanel::CurrentFile, Translate("Loading Conversion Job: ") + path);
        uintmax_t size = 0;
        fs::file_time_type modified{};
        SliceBookmark& bookmark = Bookmark();
        if (startLine > 1 && bookmark.path == path && bookmark.nextLine == startLine &&
            FileStamp(path, size, modified) && size == bookmark.size && modified == bookmark.modified &&
            bookmark.buffered.buffer &&
            std::fseek(file.get(), static_cast<long>(bookmark.buffered.consumed + bookmark.buffered.length),
                       SEEK_SET) == 0) {
            // The bookmark keeps its state: it stays good for a slice that a Pause stops and
            // that loads again. The buffer is shared, not copied; the reader reads the next part
            // into a buffer of its own.
            reader.Resume(bookmark.buffered);
            k = startLine - 1;
        }

        std::string_view line;
        bool atEnd = false;
        const char* sharedBuffer = nullptr;
        while (control.Running()) {
            const LineReader::Result read = reader.Next(line);
            if (read == LineReader::kEnd) {
                atEnd = true;
                break;
            }
            ++k;
            if (read != LineReader::kLine) {
                result.status = JobLoadStatus::Failed;
                result.error =
                    read == LineReader::kTooLong
                        ? Translate("This is not a conversion job file: a line is too long. Line") + " " +
                              std::to_string(k) + ": " + path
                        : Translate("Unable to read the conversion job file:") + " " + path;
                break;
            }
            if (k >= startLine) {
                line = WithoutLineEnd(line);
                if (k == 1 && line.starts_with("\xEF\xBB\xBF"))
                    line.remove_prefix(3);
                if (reader.LineMayHoldNul() && line.find('\0') != std::string_view::npos) {
                    result.status = JobLoadStatus::Failed;
                    result.error =
                        Translate("This is not a conversion job file: it holds binary data. Line") + " " +
                        std::to_string(k) + ": " + path;
                    break;
                }
                // A reload line names a slice of some job: only the loader makes them, and a
                // saved job holds its tasks instead, so one found in a file is not a task.
                if (!IsBlank(line) && !(line.size() > 1 && line[1] == '*')) {
                    const int row = grid.Rows() - 1;
                    const LineReader::State& buffered = reader.Buffered();
                    if (buffered.buffer.get() != sharedBuffer) {
                        sharedBuffer = buffered.buffer.get();
                        grid.ShareText(buffered.buffer, buffered.length);
                    }
                    grid.InsertRowText(row, line);
                    if (grid.Cell(row, kColAction) == "S1" && IsReloadTaskRow(grid, row)) {
                        grid.RemoveRow(row);
                    } else {
                        // Rows are numbered from the slice's first line, whatever the file says.
                        if (grid.Cell(row, kColNumber) != number.Text())
                            grid.SetCell(row, kColNumber, number.Text());
                        number.Next();
                        ++result.tasksLoaded;
                    }
                }
            }
            if (grid.Rows() > kJobSliceTasks) {
                const int64_t n = k + 1;
                grid.InsertRow(grid.Rows() - 1,
                               {" ", std::to_string(n), "S1", kReloadTaskText + std::to_string(n), "0", "0",
                                path, std::to_string(n), ""});
                result.reloadTaskAdded = true;
                result.nextLine = n;
                if (FileStamp(path, size, modified))
                    bookmark = SliceBookmark{path, n, size, modified, reader.Buffered()};
                break;
            }
            if (k % 1000 == 0) {
                control.SetStatusText(StatusPanel::CurrentFile,
                                      Translate("Loading Conversion Task: ") + std::to_string(k));
                control.Checkpoint();
            }
        }
        if (result.status == JobLoadStatus::Loaded && !result.reloadTaskAdded && !atEnd)
            result.status = JobLoadStatus::Stopped;
        if (result.status != JobLoadStatus::Failed)
            control.SetStatusText(StatusPanel::CurrentFile,
                                  Translate("Completed loading conversion job: ") + path);
    }
    result.linesRead = k;

    // The reload task follows the last task.
    if (result.reloadTaskAdded && grid.Cell(grid.Rows() - 2, kColNumber) != number.Text())
        grid.SetCell(grid.Rows() - 2, kColNumber, number.Text());
    file.reset();
    control.SetWaitCursor(false);
    // A Pause that stopped the load belongs to the run that was going on: it stays.
    control.SetRunning(runningFound && result.status != JobLoadStatus::Stopped);
    grid.SetRow(grid.Rows() - 1);
    grid.SelectWholeRow();
    return result;
}

void CheckLoadedTasks(const Grid& grid, JobLoadResult& result) {
    result.malformedRows = 0;
    result.firstMalformedTask.clear();
    result.firstProblem.clear();
    clsConversionOptions scratch;
    std::string problem;
    for (int row = 1; row <= TaskCount(grid); ++row) {
        scratch = clsConversionOptions();
        problem.clear();
        if (ReadTaskCells(scratch, row, grid, &problem) || result.malformedRows++ > 0)
            continue;
        result.firstMalformedTask = std::string(grid.Cell(row, kColNumber));
        result.firstProblem = problem;
    }
}

bool WriteJobFile(const std::string& path, const Grid& grid) {
    return WriteJobFile(path, grid, JobSliceOrigin{});
}

bool WriteJobFile(const std::string& path, const Grid& grid, const JobSliceOrigin& origin,
                  int64_t* earlierTasks) {
    std::string out;
    int64_t earlier = 0;
    // A later slice is only part of the job: the tasks before it come first, from its file.
    if (origin.firstLine > 1 && !AppendJobLines(out, origin.file, 1, origin.firstLine, earlier))
        return false;
    if (earlierTasks)
        *earlierTasks = earlier;
    const int lastCol = grid.Cols() - 1;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (HasLineBreakOrTab(grid, row, lastCol))
            return false;
        if (IsReloadTaskRow(grid, row)) {
            const int64_t from = ReloadLineOf(grid, row);
            int64_t rest = 0;
            if (from < 1 || !AppendJobLines(out, std::string(grid.Cell(row, kColTarget)), from, 0, rest))
                return false;
            continue;
        }
        AppendCells(out, grid, row, 0, lastCol);
        out += "\r\n";
    }
    return WriteFileAtomically(path, out, 0644);
}

bool WriteLogAsJobFile(const std::string& path, const Grid& log) {
    std::string out;
    const int lastCol = std::min(kColTargetType, log.Cols() - 1);
    for (int row = 1; row < log.Rows(); ++row) {
        bool empty = log.Cell(row, kColOptions).empty();
        for (int col = kColAction; empty && col <= lastCol; ++col)
            empty = log.Cell(row, col).empty();
        // An entry without content is the trailing row: from the tenth entry on its line
        // number alone would pass the length test and load as a task without an action.
        if (empty)
            continue;
        if (HasLineBreakOrTab(log, row, lastCol))
            return false;
        std::string line;
        line += log.Cell(row, kColOptions);
        line += '\t';
        line += std::to_string(row);
        line += '\t';
        AppendCells(line, log, row, kColAction, lastCol);
        if (line.size() < 10)
            continue;
        out += line;
        out += "\r\n";
    }
    return WriteFileAtomically(path, out, 0644);
}

int32_t PerformReloadTask(clsConversionOptions& record, const std::string& currentJobFile, Grid& grid,
                          RunControl& control) {
    auto fail = [&](const std::string& message) {
        record.lErr = kReloadFailed;
        record.sErr = message;
        return record.lErr;
    };
    const std::string& target = record.sTargetFile;
    std::error_code ec;
    if (target.empty() || !fs::is_regular_file(target, ec))
        return fail(Translate("The conversion job to continue does not exist:") + " " + target);
    if (currentJobFile.empty() || !fs::equivalent(target, currentJobFile, ec) || ec)
        return fail(Translate("The reload task names another file than the current conversion job:") + " " +
                    target);
    const int64_t from = record.lTargetFileType;
    if (from < 2)
        return fail(Translate("The reload task does not name a valid task line:") + " " +
                    std::to_string(from));

    // The slice loads beside the grid: until it is complete the grid keeps the reload task, so
    // a Pause or a failure leaves the job where it was and nothing of it is lost.
    Grid slice(grid.Cols());
    const JobLoadResult loaded = LoadJobFile(target, from, slice, control);
    if (loaded.status == JobLoadStatus::Failed)
        return fail(loaded.error);
    if (loaded.status == JobLoadStatus::Missing)
        return fail(Translate("The conversion job to continue does not exist:") + " " + target);
    if (loaded.status == JobLoadStatus::Stopped) {
        // Not an error: the run ends paused and the reload task runs again on the next Begin.
        record.lErr = 0;
        record.sErr = Translate("Conversion Process paused.");
        return kReloadPaused;
    }
    if (loaded.linesRead < from)
        return fail(Translate("The conversion job has changed: it has no task at line") + " " +
                    std::to_string(from));
    grid.TakeContentOf(std::move(slice));
    record.lErr = 0;
    record.sErr.clear();
    return 0;
}

} // namespace slidemill
