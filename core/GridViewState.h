#pragma once

#include "core/Grid.h"

#include <array>
#include <cstdint>
#include <optional>

namespace slidemill {

enum class CellAlignment : uint8_t { Left, Centre };

// The view must show row, scrolled so that topRow is its first visible row.
struct GridScrollRequest {
    int row = 0;
    int topRow = 0;
};

// What a view of a grid keeps besides the cells: how each column is aligned and where the
// program last asked it to scroll. The window owns one per grid it shows; the grid itself never
// reads it, so the same model can sit behind any view.
class GridViewState {
public:
    // Left for a column outside the grid.
    CellAlignment Alignment(int col) const;
    void SetAlignment(int col, CellAlignment alignment);

    // Only the latest request counts: a view that paints once after several takes the last.
    void RequestScroll(int row, int topRow) { scroll_ = GridScrollRequest{row, topRow}; }
    // The pending request, which is then forgotten.
    std::optional<GridScrollRequest> TakeScrollRequest();

private:
    std::array<CellAlignment, Grid::kMaxCols> alignment_{};
    std::optional<GridScrollRequest> scroll_;
};

} // namespace slidemill
