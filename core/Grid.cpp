#include "core/Grid.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace slidemill {

namespace {

// Offsets of the first `limit` TABs in text; returns how many were found.
int FindTabs(const char* text, std::size_t size, uint32_t* offsets, int limit) {
    int found = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a job line is mostly paths between a few TABs.
    const __m128i tab = _mm_set1_epi8('\t');
    for (; i + 16 <= size && found < limit; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, tab)));
        while (mask != 0 && found < limit) {
            offsets[found++] = static_cast<uint32_t>(i + static_cast<unsigned>(__builtin_ctz(mask)));
            mask &= mask - 1;
        }
    }
#endif
    for (; i < size && found < limit; ++i)
        if (text[i] == '\t')
            offsets[found++] = static_cast<uint32_t>(i);
    return found;
}

} // namespace

Grid::Grid(const Grid& other)
    : cols_(other.cols_), rows_(other.rows_), alignment_(other.alignment_), row_(other.row_),
      rowSel_(other.rowSel_), col_(other.col_), colSel_(other.colSel_) {
    for (RowData& r : rows_) {
        if (r.shared) {
            r.own.assign(r.shared, r.sharedSize);
            r.shared = nullptr;
        }
    }
}

Grid& Grid::operator=(const Grid& other) {
    if (this != &other) {
        Grid copy(other);
        GridObserver* observer = observer_;
        *this = std::move(copy);
        observer_ = observer;
        if (observer_)
            observer_->GridReset();
    }
    return *this;
}

const char* Grid::Keep(std::string_view text) {
    if (arena_.empty() || arenaSize_ - arenaUsed_ < text.size()) {
        arenaSize_ = std::max<std::size_t>(1 << 20, text.size());
        arena_.push_back(std::unique_ptr<char[]>(new char[arenaSize_])); // no need to zero it
        arenaUsed_ = 0;
    }
    char* at = arena_.back().get() + arenaUsed_;
    std::copy(text.begin(), text.end(), at);
    arenaUsed_ += text.size();
    return at;
}

Grid::RowData Grid::EmptyRow() const {
    RowData data;
    data.own.assign(static_cast<std::size_t>(cols_ - 1), '\t');
    for (int c = 0; c < cols_; ++c)
        data.end[c] = static_cast<uint32_t>(c);
    return data;
}

Grid::Grid(int cols) : cols_(std::clamp(cols, 1, kMaxCols)) {
    Reset(1);
}

std::string_view Grid::Cell(int row, int col) const {
    if (!Valid(row, col))
        return {};
    const RowData& r = rows_[row];
    const uint32_t begin = Begin(r, col);
    return r.Text().substr(begin, r.end[col] - begin);
}

void Grid::SetCell(int row, int col, std::string_view text) {
    if (!Valid(row, col))
        return;
    RowData& r = rows_[row];
    const uint32_t begin = Begin(r, col);
    const uint32_t oldLength = r.end[col] - begin;
    if (r.shared) {
        r.own.assign(r.shared, r.sharedSize);
        r.shared = nullptr;
    }
    r.own.replace(begin, oldLength, text);
    const int64_t delta = static_cast<int64_t>(text.size()) - oldLength;
    for (int c = col; c < cols_; ++c)
        r.end[c] = static_cast<uint32_t>(r.end[c] + delta);
    if (observer_)
        observer_->CellChanged(row, col);
}

CellMark Grid::Mark(int row, int col) const {
    return Valid(row, col) ? rows_[row].mark[col] : CellMark::None;
}

void Grid::SetMark(int row, int col, CellMark mark) {
    if (!Valid(row, col))
        return;
    rows_[row].mark[col] = mark;
    if (observer_)
        observer_->CellChanged(row, col);
}

void Grid::Reset(int rows) {
    rows_.assign(static_cast<std::size_t>(std::max(rows, 1)), EmptyRow());
    arena_.clear();
    arenaUsed_ = arenaSize_ = 0;
    row_ = rowSel_ = std::min(1, Rows() - 1);
    col_ = colSel_ = 0;
    if (observer_)
        observer_->GridReset();
}

void Grid::Insert(int row, RowData data) {
    row = std::clamp(row, 1, Rows());
    rows_.insert(rows_.begin() + row, std::move(data));
    if (row_ >= row && row_ < Rows() - 1)
        ++row_;
    if (rowSel_ >= row && rowSel_ < Rows() - 1)
        ++rowSel_;
    if (observer_)
        observer_->RowsInserted(row, 1);
}

void Grid::InsertRow(int row, const std::vector<std::string>& cells) {
    RowData data;
    std::size_t total = static_cast<std::size_t>(cols_);
    for (int c = 0; c < cols_ && c < static_cast<int>(cells.size()); ++c)
        total += cells[c].size();
    data.own.reserve(total);
    for (int c = 0; c < cols_; ++c) {
        if (c > 0)
            data.own += '\t';
        if (c < static_cast<int>(cells.size()))
            data.own += cells[c];
        data.end[c] = static_cast<uint32_t>(data.own.size());
    }
    Insert(row, std::move(data));
}

void Grid::InsertRowText(int row, std::string_view text) {
    // The line is kept as it is, separators and all; loading a job spends most of its time here.
    RowData data;
    const int tabs = FindTabs(text.data(), text.size(), data.end.data(), cols_);
    if (tabs == cols_) {
        text = text.substr(0, data.end[cols_ - 1]); // extra fields are dropped
    }
    const int present = std::min(tabs, cols_ - 1);
    if (present == cols_ - 1) {
        data.shared = Keep(text);
        data.sharedSize = static_cast<uint32_t>(text.size());
    } else {
        // A short line: the missing cells get their separators.
        data.own.reserve(text.size() + static_cast<std::size_t>(cols_ - 1 - present));
        data.own.assign(text);
        for (int c = present; c < cols_ - 1; ++c) {
            data.end[c] = static_cast<uint32_t>(data.own.size());
            data.own += '\t';
        }
    }
    data.end[cols_ - 1] = static_cast<uint32_t>(data.Text().size());
    Insert(row, std::move(data));
}

void Grid::RemoveRow(int row) {
    if (row < 1 || row >= Rows())
        return;
    rows_.erase(rows_.begin() + row);
    if (row_ >= Rows())
        row_ = Rows() - 1;
    if (rowSel_ >= Rows())
        rowSel_ = Rows() - 1;
    if (observer_)
        observer_->RowRemoved(row);
}

std::string Grid::RowText(int row) const {
    std::string out;
    if (row < 0 || row >= Rows())
        return out;
    out.reserve(rows_[row].Text().size() + cols_);
    for (int c = 0; c < cols_; ++c) {
        if (c > 0)
            out += '\t';
        out += Cell(row, c);
    }
    return out;
}

void Grid::SetRow(int row) {
    row_ = rowSel_ = std::clamp(row, 0, Rows() - 1);
    if (observer_)
        observer_->CurrentRowChanged(row_);
}

void Grid::SelectWholeRow() {
    rowSel_ = row_;
    col_ = 0;
    colSel_ = cols_ - 1;
}

void Grid::SelectCell(int row, int col) {
    SetRow(row);
    col_ = colSel_ = std::clamp(col, 0, cols_ - 1);
}

CellAlignment Grid::Alignment(int col) const {
    return col >= 0 && col < cols_ ? alignment_[col] : CellAlignment::Left;
}

void Grid::SetAlignment(int col, CellAlignment alignment) {
    if (col >= 0 && col < cols_)
        alignment_[col] = alignment;
}

void Grid::RequestScroll(int row, int topRow) {
    if (observer_)
        observer_->ScrollRequested(row, topRow);
}

} // namespace slidemill
