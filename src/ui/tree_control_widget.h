#pragma once
// A QTreeWidget that mirrors a core TreeControl and hands the user's actions
// back to it: selection goes into the control, clicks and edits come out as
// signals for the window to forward to its commands.

#include <QTreeWidget>
#include <vector>

#include "core/mouse_button.h"
#include "core/tree_control.h"

namespace vantrel::ui {

class TreeControlWidget : public QTreeWidget {
    Q_OBJECT
public:
    TreeControlWidget(TreeControl& control, bool withCheckBoxes, QWidget* parent = nullptr);
    ~TreeControlWidget() override;

    TreeControl& control() { return control_; }
    // The widget item of control item `index` (tests and popups use it).
    QTreeWidgetItem* widgetItem(int index) const;

signals:
    void clicked();
    void doubleClicked();
    void mouseDown(vantrel::MouseButton button);
    void labelEdited(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void onChange(TreeChange change, int index);
    void applyItem(int index);
    void rebuild();
    void selectFromWidget(QTreeWidgetItem* item);
    int indexOf(QTreeWidgetItem* item) const;

    TreeControl& control_;
    bool withCheckBoxes_;
    bool syncing_ = false;
    std::vector<QTreeWidgetItem*> items_;
};

}  // namespace vantrel::ui
