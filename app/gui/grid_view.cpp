#include "app/gui/grid_view.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "app/gui/application.h"

namespace kalvoro {

namespace {

constexpr int RowHeight = 20;

// Commits the editor's text at every keystroke instead of when it closes, so
// a command started from the tool bar sees what is being typed.
class LiveEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            auto* self = const_cast<LiveEditDelegate*>(this);
            connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
        }
        return w;
    }

    // The columns keep their classic widths, which cut off long numbers (an
    // inertia of 12 digits): a cell whose text does not fit shows it whole as
    // its tool tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, view) + 1);
        if (option.fontMetrics.horizontalAdvance(text) + margins > option.rect.width())
            QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
        else
            QToolTip::hideText();
        return true;
    }
};

}  // namespace

GridView::GridView(TableModel& model, TableId id, QWidget* parent)
    : QTableWidget(parent), model_(model), id_(id)
{
    setItemDelegate(new LiveEditDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setFixedHeight(RowHeight + 2);
    horizontalHeader()->setMinimumSectionSize(12);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QTableWidget::itemChanged, this, &GridView::onItemChanged);
    refresh();
    applyColumnWidths();
}

void GridView::applyColumnWidths()
{
    const Grid& g = model_.grid(id_);
    for (int c = 0; c < g.columnCount(); ++c) setColumnWidth(c, g.columnWidth(c));
    fitNumbering();
}

void GridView::fitNumbering()
{
    // The classic width shows three digits; a thousand nodes need a fourth.
    const Grid& g = model_.grid(id_);
    const QString last = QString::fromStdString(g.cell(g.dataRowCount(), 0));
    const int needed =
        fontMetrics().horizontalAdvance(last) + 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 2);
    if (needed > columnWidth(0)) setColumnWidth(0, needed);
}

QSize GridView::sizeForRows(int rows) const
{
    const Grid& g = model_.grid(id_);
    int w = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < g.columnCount(); ++c) w += g.columnWidth(c);
    return {w, 2 * frameWidth() + horizontalHeader()->height() + rows * RowHeight};
}

void GridView::refresh()
{
    refreshing_ = true;
    const Grid& g = model_.grid(id_);
    if (columnCount() != g.columnCount()) setColumnCount(g.columnCount());
    const bool rowsChanged = rowCount() != g.dataRowCount();
    if (rowsChanged) setRowCount(g.dataRowCount());
    for (int c = 0; c < g.columnCount(); ++c) {
        const QString heading = QString::fromStdString(g.heading(c));
        QTableWidgetItem* h = horizontalHeaderItem(c);
        if (!h) setHorizontalHeaderItem(c, h = new QTableWidgetItem);
        if (h->text() != heading) h->setText(heading);
    }
    for (int r = 1; r <= g.dataRowCount(); ++r) {
        for (int c = 0; c < g.columnCount(); ++c) {
            QTableWidgetItem* it = item(r - 1, c);
            if (!it) {
                it = new QTableWidgetItem;
                if (c == 0) {
                    it->setFlags(Qt::ItemIsEnabled);
                    it->setBackground(palette().button());
                    it->setForeground(palette().buttonText());
                }
                setItem(r - 1, c, it);
            }
            const QString text = QString::fromStdString(g.cell(r, c));
            if (it->text() != text) it->setText(text);
        }
    }
    if (rowsChanged) fitNumbering();
    refreshing_ = false;
}

void GridView::onItemChanged(QTableWidgetItem* item)
{
    if (refreshing_ || item->column() == 0) return;
    guarded([&] {
        model_.editCell(id_, item->row() + 1, item->column(), item->text().toStdString());
        emit cellEdited(item->row() + 1, item->column());
    });
}

}  // namespace kalvoro
