#include "ui/grid_control_widget.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>

namespace vantrel::ui {

int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

GridControlWidget::GridControlWidget(GridControl& control, QWidget* parent)
    : QTableWidget(parent), control_(control) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setVisible(false);
    control_.setListener([this](GridChange change, int row) {
        if (change == GridChange::Cells && row >= 0) changedRows_.insert(row);
        else if (change == GridChange::Cells || (change == GridChange::Shape && row < 0)) allRowsChanged_ = true;
        scheduleRefresh();
    });
    refresh();
}

GridControlWidget::~GridControlWidget() { control_.setListener({}); }

void GridControlWidget::scheduleRefresh() {
    if (refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] { refresh(); });
}

void GridControlWidget::refresh() {
    refreshPending_ = false;
    const int cols = control_.cols();
    const int rows = control_.rows() - 1;
    const int shownRows = rowCount();
    setColumnCount(cols);
    setRowCount(rows);
    QStringList headers;
    for (int c = 0; c < cols; ++c) {
        headers << QString::fromStdString(control_.cell(0, c));
        setColumnWidth(c, twipsToPixels(control_.colWidth(c), logicalDpiX()));
    }
    setHorizontalHeaderLabels(headers);
    if (allRowsChanged_) {
        for (int r = 1; r <= rows; ++r) showRow(r);
    } else {
        for (int r : changedRows_)
            if (r >= 1 && r <= rows) showRow(r);
        // Rows that appeared since the last pass have their (empty) cells too.
        for (int r = shownRows + 1; r <= rows; ++r)
            if (!changedRows_.count(r)) showRow(r);
    }
    allRowsChanged_ = false;
    changedRows_.clear();
}

void GridControlWidget::showRow(int r) {
    for (int c = 0; c < control_.cols(); ++c) {
        const QString text = QString::fromStdString(control_.cell(r, c));
        QTableWidgetItem* cell = item(r - 1, c);
        if (!cell) setItem(r - 1, c, cell = new QTableWidgetItem(text));
        else if (cell->text() != text) cell->setText(text);
        cell->setToolTip(text);  // the whole text of a cell too narrow for it
    }
}

void GridControlWidget::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    const int row = rowAt(event->position().toPoint().y());
    if (row >= 0 && row + 1 < control_.rows()) control_.setSelectedRow(row + 1);
    const MouseButton button = event->button() == Qt::LeftButton    ? MouseButton::Left
                               : event->button() == Qt::RightButton ? MouseButton::Right
                                                                    : MouseButton::Middle;
    emit mouseDown(button);
}

}  // namespace vantrel::ui
