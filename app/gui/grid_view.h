#pragma once
// One data-entry table on screen: a QTableWidget that mirrors a grid of the
// table model. The heading row is the horizontal header, the numbering column
// is column 0 shown as a fixed (grey, read-only) column. Typed cell texts go
// into the model at every keystroke, as the tables hold what is typed.

#include <QTableWidget>

#include "data/table_model.h"

namespace kalvoro {

class GridView : public QTableWidget {
    Q_OBJECT
public:
    GridView(TableModel& model, TableId id, QWidget* parent);

    TableId tableId() const { return id_; }
    // Row count and texts from the model.
    void refresh();
    // The model's column widths (a new structure resets them; the user may
    // resize columns in between).
    void applyColumnWidths();
    // Width and height that show the grid's columns and `rows` rows with a
    // vertical scroll bar.
    QSize sizeForRows(int rows) const;

signals:
    // A cell text typed by the user has gone into the model.
    void cellEdited(int row, int col);

private:
    void onItemChanged(QTableWidgetItem* item);
    // Widens the numbering column when the last row's number does not fit it.
    void fitNumbering();

    TableModel& model_;
    TableId id_;
    bool refreshing_ = false;
};

}  // namespace kalvoro
