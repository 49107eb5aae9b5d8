#include "platform/frozen_column.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

namespace vt {

namespace {

class FrozenColumn : public QTableView {
public:
    explicit FrozenColumn(QTableView* grid) : QTableView(grid), m_grid(grid) {
        setObjectName(grid->objectName() + QStringLiteral("_names"));
        setFocusPolicy(Qt::NoFocus);
        setModel(grid->model());
        setSelectionModel(grid->selectionModel());
        setEditTriggers(grid->editTriggers());
        setFont(grid->font());
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollMode(grid->horizontalScrollMode());
        setVerticalScrollMode(grid->verticalScrollMode());
        verticalHeader()->setVisible(grid->verticalHeader()->isVisible());
        verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
        horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        setFrameShape(QFrame::NoFrame);

        connect(verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(),
                &QScrollBar::setValue);
        connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
                &QScrollBar::setValue);
        connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this,
                [this](int column, int, int size) {
                    if (column == 0) {
                        setColumnWidth(0, size);
                        place();
                    }
                });
        connect(grid->verticalHeader(), &QHeaderView::sectionResized, this,
                [this](int row, int, int size) { setRowHeight(row, size); });
        // Queued: a grid being deleted empties its model, whose signals would otherwise
        // reach this view while the grid is half gone.
        QAbstractItemModel* cells = grid->model();
        connect(cells, &QAbstractItemModel::modelReset, this, &FrozenColumn::follow,
                Qt::QueuedConnection);
        connect(cells, &QAbstractItemModel::columnsInserted, this, &FrozenColumn::follow,
                Qt::QueuedConnection);
        connect(cells, &QAbstractItemModel::columnsRemoved, this, &FrozenColumn::follow,
                Qt::QueuedConnection);
        connect(cells, &QAbstractItemModel::rowsInserted, this, &FrozenColumn::follow,
                Qt::QueuedConnection);
        grid->installEventFilter(this);
        follow();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_grid) {
            if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest)
                place();
            else if (event->type() == QEvent::Show)
                follow();
        }
        return QTableView::eventFilter(watched, event);
    }

private:
    // Shows column 0 alone, at the grid's widths and heights.
    void follow() {
        const int columns = model()->columnCount();
        for (int c = 0; c < columns; ++c)
            setColumnHidden(c, c != 0);
        if (columns > 0)
            setColumnWidth(0, m_grid->columnWidth(0));
        for (int r = 0; r < model()->rowCount(); ++r)
            setRowHeight(r, m_grid->rowHeight(r));
        horizontalHeader()->setFixedHeight(m_grid->horizontalHeader()->height());
        horizontalHeader()->setVisible(m_grid->horizontalHeader()->isVisible());
        verticalScrollBar()->setValue(m_grid->verticalScrollBar()->value());
        place();
        setVisible(columns > 0);
        raise();
    }

    // Over the left edge of the grid, from its top to the bottom of its cells.
    void place() {
        const int frame = m_grid->frameWidth();
        setGeometry(frame, frame, m_grid->verticalHeader()->width() + m_grid->columnWidth(0),
                    m_grid->viewport()->height() + m_grid->horizontalHeader()->height());
    }

    QTableView* m_grid;
};

} // namespace

void freezeFirstColumn(QTableView* grid) {
    if (grid && grid->model())
        new FrozenColumn(grid);
}

} // namespace vt
