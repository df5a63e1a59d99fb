#pragma once
// A QTableWidget that shows a core GridControl: row 0 of the grid becomes the
// header, the other rows the table. Changes are gathered and shown at the next
// pass of the event loop, and only the rows that changed are shown again, so
// filling a long list row by row stays linear.

#include <QTableWidget>
#include <set>

#include "core/grid_control.h"
#include "core/mouse_button.h"

namespace vantrel::ui {

class GridControlWidget : public QTableWidget {
    Q_OBJECT
public:
    explicit GridControlWidget(GridControl& control, QWidget* parent = nullptr);
    ~GridControlWidget() override;

    // Shows the control's current content now.
    void refresh();

signals:
    void mouseDown(vantrel::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void scheduleRefresh();
    void showRow(int row);

    GridControl& control_;
    bool refreshPending_ = false;
    bool allRowsChanged_ = true;
    std::set<int> changedRows_;
};

// Twips (1/1440 inch) to pixels at the widget's logical DPI.
int twipsToPixels(int twips, int dpi);

}  // namespace vantrel::ui
