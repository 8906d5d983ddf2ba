#include "ui/GridTableModel.h"

#include <QApplication>
#include <QStyle>

namespace slidemill {

QIcon MarkIcon(CellMark mark) {
    switch (mark) {
    case CellMark::Pass:
        return QIcon::fromTheme(QStringLiteral("emblem-default"),
                                QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
    case CellMark::Fail:
        return QIcon::fromTheme(QStringLiteral("dialog-error"),
                                QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical));
    case CellMark::None:
        break;
    }
    return {};
}

GridTableModel::GridTableModel(Grid& grid, const GridViewState& view, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), view_(view), pass_(MarkIcon(CellMark::Pass)),
      fail_(MarkIcon(CellMark::Fail)) {
    grid_.SetObserver(this);
}

GridTableModel::~GridTableModel() {
    grid_.SetObserver(nullptr);
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return grid_.Rows() > 0 ? grid_.Rows() - 1 : 0;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.Cols();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = GridRow(index.row());
    const int col = index.column();
    const CellMark mark = grid_.Mark(row, col);
    switch (role) {
    case Qt::DisplayRole:
        // The mark's text is what the job file keeps; the user sees the picture only.
        if (mark != CellMark::None)
            return {};
        return QString::fromStdString(grid_.CellText(row, col));
    case Qt::ToolTipRole: {
        const auto text = grid_.Cell(row, col);
        if (mark != CellMark::None || text.size() < 40)
            return {};
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    case Qt::DecorationRole:
        if (mark == CellMark::Pass)
            return pass_;
        if (mark == CellMark::Fail)
            return fail_;
        return {};
    case Qt::TextAlignmentRole: {
        const Qt::Alignment horizontal =
            view_.Alignment(col) == CellAlignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= grid_.Cols())
            return {};
        if (role == Qt::DisplayRole)
            return QString::fromStdString(grid_.CellText(0, section));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The grids are edited through the task editor, never in place.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridTableModel::GridAboutToReset() {
    beginResetModel();
}

void GridTableModel::GridReset() {
    endResetModel();
    if (grid_.Row() > 0)
        emit gridRowChanged(ModelRow(grid_.Row()));
}

void GridTableModel::RowsAboutToBeInserted(int first, int count) {
    beginInsertRows({}, ModelRow(first), ModelRow(first + count - 1));
}

void GridTableModel::RowsInserted(int, int) {
    endInsertRows();
}

void GridTableModel::RowsAboutToBeRemoved(int first, int count) {
    beginRemoveRows({}, ModelRow(first), ModelRow(first + count - 1));
}

void GridTableModel::RowsRemoved(int, int) {
    endRemoveRows();
}

void GridTableModel::CellChanged(int row, int col) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex changed = index(ModelRow(row), col);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::DecorationRole, Qt::ToolTipRole});
}

void GridTableModel::CurrentRowChanged(int row) {
    if (row > 0)
        emit gridRowChanged(ModelRow(row));
}

} // namespace slidemill
