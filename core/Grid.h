#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace slidemill {

// The picture a view draws in a cell. A cell with a picture shows only the picture: its text
// stays in the model (it is what the job file stores) but the view does not paint it.
enum class CellMark : uint8_t { None, Pass, Fail };

// Told about every change so that a view can follow the model: structural changes come as a
// pair around the change, as an item model must announce them before they happen. All calls
// come from the thread that changes the grid.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    // Around a change of everything (a load, a clear, an assignment); no other call comes in
    // between. Afterwards every row, cell and the current row may differ.
    virtual void GridAboutToReset() {}
    virtual void GridReset() {}
    // Around the insertion of count rows that then stand at first .. first + count - 1.
    virtual void RowsAboutToBeInserted(int /*first*/, int /*count*/) {}
    virtual void RowsInserted(int /*first*/, int /*count*/) {}
    // Around the removal of the count rows that stand at first .. first + count - 1.
    virtual void RowsAboutToBeRemoved(int /*first*/, int /*count*/) {}
    virtual void RowsRemoved(int /*first*/, int /*count*/) {}
    // After the text or the mark of a cell changed.
    virtual void CellChanged(int /*row*/, int /*col*/) {}
    virtual void CurrentRowChanged(int /*row*/) {}
};

// A grid of text cells with a fixed number of columns: row 0 is the header, every other row a
// record. Rows are stored as one buffer each, so a grid of tens of thousands of rows loads with
// one allocation per row.
class Grid {
public:
    static constexpr int kMaxCols = 16;

    explicit Grid(int cols);
    // A copy owns all its text; the observer stays with the original.
    Grid(const Grid& other);
    Grid& operator=(const Grid& other);
    Grid(Grid&&) = default;
    Grid& operator=(Grid&&) = default;
    // Takes the rows and selection of other without a copy; the observer stays, and is told.
    void TakeContentOf(Grid&& other);

    int Rows() const { return static_cast<int>(rows_.size()); }
    int Cols() const { return cols_; }

    // Empty for a cell outside the grid.
    std::string_view Cell(int row, int col) const {
        if (!Valid(row, col))
            return {};
        const RowData& r = rows_[row];
        const uint32_t begin = Begin(r, col);
        return std::string_view(r.text + begin, r.end[col] - begin);
    }
    std::string CellText(int row, int col) const { return std::string(Cell(row, col)); }
    void SetCell(int row, int col, std::string_view text);

    CellMark Mark(int row, int col) const;
    void SetMark(int row, int col, CellMark mark);

    // Removes every row, then sets the number of (empty) rows.
    void Reset(int rows);
    // Inserts a row at position row (0 < row <= Rows()); missing cells are empty, extra ones dropped.
    void InsertRow(int row, const std::vector<std::string>& cells);
    // The same from text whose cells are separated by TABs; one TAB at the end is ignored.
    void InsertRowText(int row, std::string_view text);
    // Text that rows inserted from now on may point at instead of copying it: a line given to
    // InsertRowText that lies inside the block stays where it is. The grid holds the block
    // until Reset.
    void ShareText(std::shared_ptr<const char[]> block, std::size_t size);
    void RemoveRow(int row);

    // The row as TAB-separated text, without a TAB at the end.
    std::string RowText(int row) const;

    int Row() const { return row_; }
    void SetRow(int row);
    // The selection: rows Row()..RowSel(), columns Col()..ColSel().
    int RowSel() const { return rowSel_; }
    int Col() const { return col_; }
    int ColSel() const { return colSel_; }
    void SelectWholeRow();
    void SelectCell(int row, int col);

    void SetObserver(GridObserver* observer) { observer_ = observer; }

    // Everything changed between BeginReset and the matching EndReset reaches the observer as
    // one reset: GridAboutToReset at the outermost begin, GridReset at its end, nothing in
    // between. A load of tens of thousands of rows is one notification pair, not one per row.
    void BeginReset();
    void EndReset();
    class ResetScope {
    public:
        explicit ResetScope(Grid& grid) : grid_(grid) { grid_.BeginReset(); }
        ~ResetScope() { grid_.EndReset(); }
        ResetScope(const ResetScope&) = delete;
        ResetScope& operator=(const ResetScope&) = delete;

    private:
        Grid& grid_;
    };

private:
    struct RowData {
        // The cells with one separator byte between each two; the offsets, not the separators,
        // delimit the cells, so a cell may hold any character (a TAB too). A loaded row keeps
        // its text where the loader read it (or in the grid's arena) until it is edited, which
        // spares one allocation and one copy per row;
        // an empty row points at shared separators. The row is kept small and cheap to move:
        // a slice of a job inserts and drops tens of thousands of them.
        std::unique_ptr<char[]> own; // null while the text lies elsewhere
        const char* text = nullptr;
        uint32_t size = 0;
        uint32_t marks = 0;                   // two bits per column
        std::array<uint32_t, kMaxCols> end{}; // end offset of each cell; a separator follows

        std::string_view Text() const { return std::string_view(text, size); }
        void Own(std::string_view text);
        RowData Clone() const;
    };
    // Copies text into the arena; the blocks never move, so the copy stays where it is until Reset.
    const char* Keep(std::string_view text);
    RowData EmptyRow() const;
    // A fresh row at position row (clamped), then the bookkeeping once it is filled.
    RowData& OpenRow(int& row);
    void RowOpened(int row);
    bool Valid(int row, int col) const { return row >= 0 && row < Rows() && col >= 0 && col < cols_; }
    // The observer to tell about a single change; none while a reset is open.
    GridObserver* Notify() const { return resetDepth_ == 0 ? observer_ : nullptr; }
    static uint32_t Begin(const RowData& r, int col) { return col == 0 ? 0 : r.end[col - 1] + 1; }

    int cols_;
    std::vector<RowData> rows_;
    std::vector<std::unique_ptr<char[]>> arena_;
    std::size_t arenaUsed_ = 0;
    std::size_t arenaSize_ = 0;
    std::vector<std::shared_ptr<const char[]>> shared_;
    const char* sharedBegin_ = nullptr;
    const char* sharedEnd_ = nullptr;
    int row_ = 0;
    int rowSel_ = 0;
    int col_ = 0;
    int colSel_ = 0;
    GridObserver* observer_ = nullptr;
    int resetDepth_ = 0;
};

} // namespace slidemill
