#include "core/Grid.h"

#include <algorithm>
#include <functional>

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

// The text of an empty row: only separators, shared by every such row until it is edited.
constexpr char kSeparators[Grid::kMaxCols] = {'\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t',
                                              '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t'};

void Grid::RowData::Own(std::string_view from) {
    // The new buffer is filled before the old one goes: from may point into it.
    std::unique_ptr<char[]> copy(new char[from.size()]);
    std::copy(from.begin(), from.end(), copy.get());
    own = std::move(copy);
    text = own.get();
    size = static_cast<uint32_t>(from.size());
}

Grid::RowData Grid::RowData::Clone() const {
    RowData copy;
    copy.marks = marks;
    copy.end = end;
    if (text == kSeparators) {
        copy.text = text;
        copy.size = size;
    } else {
        copy.Own(Text());
    }
    return copy;
}

Grid::Grid(const Grid& other)
    : cols_(other.cols_), row_(other.row_), rowSel_(other.rowSel_), col_(other.col_), colSel_(other.colSel_) {
    rows_.reserve(other.rows_.size());
    for (const RowData& r : other.rows_)
        rows_.push_back(r.Clone());
}

Grid& Grid::operator=(const Grid& other) {
    if (this != &other)
        TakeContentOf(Grid(other));
    return *this;
}

void Grid::TakeContentOf(Grid&& other) {
    if (this == &other)
        return;
    BeginReset();
    GridObserver* observer = observer_;
    const int depth = resetDepth_;
    *this = std::move(other);
    observer_ = observer;
    resetDepth_ = depth;
    EndReset();
}

void Grid::BeginReset() {
    if (resetDepth_++ == 0 && observer_)
        observer_->GridAboutToReset();
}

void Grid::EndReset() {
    if (resetDepth_ > 0 && --resetDepth_ == 0 && observer_)
        observer_->GridReset();
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
    data.text = kSeparators;
    data.size = static_cast<uint32_t>(cols_ - 1);
    for (int c = 0; c < cols_; ++c)
        data.end[c] = static_cast<uint32_t>(c);
    return data;
}

Grid::Grid(int cols) : cols_(std::clamp(cols, 1, kMaxCols)) {
    Reset(1);
}

void Grid::ShareText(std::shared_ptr<const char[]> block, std::size_t size) {
    sharedBegin_ = block.get();
    sharedEnd_ = block.get() + size;
    shared_.push_back(std::move(block));
}

void Grid::SetCell(int row, int col, std::string_view text) {
    if (!Valid(row, col))
        return;
    RowData& r = rows_[row];
    const uint32_t begin = Begin(r, col);
    const std::string_view old = r.Text();
    // Built in a new buffer before the old text goes: text may be a cell of this very row.
    const std::size_t size = old.size() - (r.end[col] - begin) + text.size();
    std::unique_ptr<char[]> buffer(new char[size]);
    char* at = std::copy(old.begin(), old.begin() + begin, buffer.get());
    at = std::copy(text.begin(), text.end(), at);
    std::copy(old.begin() + r.end[col], old.end(), at);
    const int64_t delta = static_cast<int64_t>(text.size()) - (r.end[col] - begin);
    r.own = std::move(buffer);
    r.text = r.own.get();
    r.size = static_cast<uint32_t>(size);
    for (int c = col; c < cols_; ++c)
        r.end[c] = static_cast<uint32_t>(r.end[c] + delta);
    if (GridObserver* observer = Notify())
        observer->CellChanged(row, col);
}

CellMark Grid::Mark(int row, int col) const {
    return Valid(row, col) ? static_cast<CellMark>((rows_[row].marks >> (2 * col)) & 3u) : CellMark::None;
}

void Grid::SetMark(int row, int col, CellMark mark) {
    if (!Valid(row, col))
        return;
    uint32_t& marks = rows_[row].marks;
    marks = (marks & ~(3u << (2 * col))) | (static_cast<uint32_t>(mark) << (2 * col));
    if (GridObserver* observer = Notify())
        observer->CellChanged(row, col);
}

void Grid::Reset(int rows) {
    BeginReset();
    // clear() keeps the capacity: the next slice of a job fills the same rows again.
    rows_.clear();
    rows_.resize(static_cast<std::size_t>(std::max(rows, 1)));
    for (RowData& r : rows_)
        r = EmptyRow();
    arena_.clear();
    arenaUsed_ = arenaSize_ = 0;
    shared_.clear();
    sharedBegin_ = sharedEnd_ = nullptr;
    row_ = rowSel_ = std::min(1, Rows() - 1);
    col_ = colSel_ = 0;
    EndReset();
}

Grid::RowData& Grid::OpenRow(int& row) {
    // The rows after the new one move up by one; the new row is filled where it stands instead
    // of being built elsewhere and moved in.
    row = std::clamp(row, 1, Rows());
    if (GridObserver* observer = Notify())
        observer->RowsAboutToBeInserted(row, 1);
    rows_.emplace_back();
    std::move_backward(rows_.begin() + row, rows_.end() - 1, rows_.end());
    RowData& r = rows_[row];
    r.own.reset();
    r.text = nullptr;
    r.size = 0;
    r.marks = 0;
    r.end.fill(0);
    return r;
}

void Grid::RowOpened(int row) {
    if (row_ >= row && row_ < Rows() - 1)
        ++row_;
    if (rowSel_ >= row && rowSel_ < Rows() - 1)
        ++rowSel_;
    if (GridObserver* observer = Notify())
        observer->RowsInserted(row, 1);
}

void Grid::InsertRow(int row, const std::vector<std::string>& cells) {
    RowData& data = OpenRow(row);
    std::size_t total = static_cast<std::size_t>(cols_ - 1);
    for (int c = 0; c < cols_ && c < static_cast<int>(cells.size()); ++c)
        total += cells[c].size();
    data.own.reset(new char[total]);
    char* at = data.own.get();
    for (int c = 0; c < cols_; ++c) {
        if (c > 0)
            *at++ = '\t';
        if (c < static_cast<int>(cells.size()))
            at = std::copy(cells[c].begin(), cells[c].end(), at);
        data.end[c] = static_cast<uint32_t>(at - data.own.get());
    }
    data.text = data.own.get();
    data.size = static_cast<uint32_t>(total);
    RowOpened(row);
}

void Grid::InsertRowText(int row, std::string_view text) {
    // The line is kept as it is, separators and all; loading a job spends most of its time here.
    RowData& data = OpenRow(row);
    const int tabs = FindTabs(text.data(), text.size(), data.end.data(), cols_);
    if (tabs == cols_) {
        text = text.substr(0, data.end[cols_ - 1]); // extra fields are dropped
    }
    const int present = std::min(tabs, cols_ - 1);
    if (present == cols_ - 1) {
        const std::less_equal<const char*> notAfter;
        const bool inShared =
            notAfter(sharedBegin_, text.data()) && notAfter(text.data() + text.size(), sharedEnd_);
        data.text = inShared && sharedBegin_ ? text.data() : Keep(text);
        data.size = static_cast<uint32_t>(text.size());
    } else {
        // A short line: the missing cells get their separators.
        const std::size_t size = text.size() + static_cast<std::size_t>(cols_ - 1 - present);
        data.own.reset(new char[size]);
        char* at = std::copy(text.begin(), text.end(), data.own.get());
        for (int c = present; c < cols_ - 1; ++c) {
            data.end[c] = static_cast<uint32_t>(at - data.own.get());
            *at++ = '\t';
        }
        data.text = data.own.get();
        data.size = static_cast<uint32_t>(size);
    }
    data.end[cols_ - 1] = data.size;
    RowOpened(row);
}

void Grid::RemoveRow(int row) {
    if (row < 1 || row >= Rows())
        return;
    if (GridObserver* observer = Notify())
        observer->RowsAboutToBeRemoved(row, 1);
    rows_.erase(rows_.begin() + row);
    if (row_ >= Rows())
        row_ = Rows() - 1;
    if (rowSel_ >= Rows())
        rowSel_ = Rows() - 1;
    if (GridObserver* observer = Notify())
        observer->RowsRemoved(row, 1);
}

std::string Grid::RowText(int row) const {
    std::string out;
    if (row < 0 || row >= Rows())
        return out;
    out.reserve(rows_[row].size + cols_);
    for (int c = 0; c < cols_; ++c) {
        if (c > 0)
            out += '\t';
        out += Cell(row, c);
    }
    return out;
}

void Grid::SetRow(int row) {
    row_ = rowSel_ = std::clamp(row, 0, Rows() - 1);
    if (GridObserver* observer = Notify())
        observer->CurrentRowChanged(row_);
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

} // namespace slidemill
