#include "core/GridViewState.h"

namespace slidemill {

CellAlignment GridViewState::Alignment(int col) const {
    return col >= 0 && col < Grid::kMaxCols ? alignment_[static_cast<std::size_t>(col)] : CellAlignment::Left;
}

void GridViewState::SetAlignment(int col, CellAlignment alignment) {
    if (col >= 0 && col < Grid::kMaxCols)
        alignment_[static_cast<std::size_t>(col)] = alignment;
}

std::optional<GridScrollRequest> GridViewState::TakeScrollRequest() {
    std::optional<GridScrollRequest> request = scroll_;
    scroll_.reset();
    return request;
}

} // namespace slidemill
