#pragma once

#include "core/Grid.h"
#include "core/GridViewState.h"

#include <QAbstractTableModel>
#include <QIcon>

namespace slidemill {

// An item model over a core grid, for the task grid and the log grid alike. Grid row 0 is the
// horizontal header; grid rows 1.. are the model's rows 0... The grid tells the model about
// every change before and after it happens, so a view stays in step while a run writes marks
// and log rows. A cell with a pass or fail mark shows the picture instead of its text.
class GridTableModel final : public QAbstractTableModel, private GridObserver {
    Q_OBJECT
public:
    GridTableModel(Grid& grid, const GridViewState& view, QObject* parent = nullptr);
    ~GridTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static int ModelRow(int gridRow) { return gridRow - 1; }
    static int GridRow(int modelRow) { return modelRow + 1; }

    const Grid& SourceGrid() const { return grid_; }

signals:
    // The grid's current row changed (a load, an add, a run's progress): the view follows.
    void gridRowChanged(int modelRow);

private:
    void GridAboutToReset() override;
    void GridReset() override;
    void RowsAboutToBeInserted(int first, int count) override;
    void RowsInserted(int first, int count) override;
    void RowsAboutToBeRemoved(int first, int count) override;
    void RowsRemoved(int first, int count) override;
    void CellChanged(int row, int col) override;
    void CurrentRowChanged(int row) override;

    Grid& grid_;
    const GridViewState& view_;
    QIcon pass_;
    QIcon fail_;
};

// The picture of a pass or fail mark: from the icon theme, else the style's own.
QIcon MarkIcon(CellMark mark);

} // namespace slidemill
