#include "ui/tree_control_widget.h"

#include <QHeaderView>
#include <QMouseEvent>

#include "ui/image_list.h"

namespace vantrel::ui {

namespace {

class SyncGuard {
public:
    explicit SyncGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~SyncGuard() { flag_ = old_; }

private:
    bool& flag_;
    bool old_;
};

MouseButton buttonOf(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton: return MouseButton::Left;
        case Qt::RightButton: return MouseButton::Right;
        case Qt::MiddleButton: return MouseButton::Middle;
        default: return MouseButton::None;
    }
}

}  // namespace

TreeControlWidget::TreeControlWidget(TreeControl& control, bool withCheckBoxes, QWidget* parent)
    : QTreeWidget(parent), control_(control), withCheckBoxes_(withCheckBoxes) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    control_.setListener([this](TreeChange c, int index) { onChange(c, index); });
    rebuild();

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        if (!syncing_) selectFromWidget(current);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        selectFromWidget(item);
        emit clicked();
    });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
        if (syncing_) return;
        const int index = indexOf(item);
        if (index < 0) return;
        const bool checked = item->checkState(0) == Qt::Checked;
        if (withCheckBoxes_ && checked != control_.item(index).checked) {
            SyncGuard guard(syncing_);
            control_.setChecked(index, checked);
        }
        if (item->text(0).toStdString() != control_.item(index).text) {
            selectFromWidget(item);
            emit labelEdited(item->text(0));
        }
    });
}

TreeControlWidget::~TreeControlWidget() { control_.setListener({}); }

QTreeWidgetItem* TreeControlWidget::widgetItem(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
    return items_[static_cast<std::size_t>(index)];
}

int TreeControlWidget::indexOf(QTreeWidgetItem* item) const {
    if (!item) return -1;
    return item->data(0, Qt::UserRole).toInt();
}

void TreeControlWidget::selectFromWidget(QTreeWidgetItem* item) {
    SyncGuard guard(syncing_);
    const int index = indexOf(item);
    control_.select(index >= 0 ? std::optional<int>(index) : std::nullopt);
}

void TreeControlWidget::applyItem(int index) {
    QTreeWidgetItem* w = widgetItem(index);
    if (!w) return;
    SyncGuard guard(syncing_);
    const TreeItem& item = control_.item(index);
    w->setText(0, QString::fromStdString(item.text));
    w->setIcon(0, imageListIcon(item.image));
    // Without a tip of its own an item shows its whole text: long names are cut at the tree's edge.
    w->setToolTip(0, QString::fromStdString(item.toolTip.empty() ? item.text : item.toolTip));
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (withCheckBoxes_) {
        flags |= Qt::ItemIsUserCheckable;
        w->setCheckState(0, item.checked ? Qt::Checked : Qt::Unchecked);
    }
    if (control_.labelEditAutomatic()) flags |= Qt::ItemIsEditable;
    w->setFlags(flags);
}

void TreeControlWidget::rebuild() {
    SyncGuard guard(syncing_);
    QTreeWidget::clear();
    items_.clear();
    for (int i = 0; i < control_.itemCount(); ++i) onChange(TreeChange::Added, i);
    onChange(TreeChange::Selection, control_.selected().value_or(-1));
    setVisible(control_.visible());
}

void TreeControlWidget::onChange(TreeChange change, int index) {
    SyncGuard guard(syncing_);
    switch (change) {
        case TreeChange::Cleared:
            QTreeWidget::clear();
            items_.clear();
            break;
        case TreeChange::Added: {
            const TreeItem& item = control_.item(index);
            QTreeWidgetItem* parentItem = widgetItem(item.parent);
            auto* w = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(this);
            w->setData(0, Qt::UserRole, index);
            if (static_cast<int>(items_.size()) <= index) items_.resize(static_cast<std::size_t>(index) + 1);
            items_[static_cast<std::size_t>(index)] = w;
            applyItem(index);
            if (parentItem) parentItem->setExpanded(true);
            break;
        }
        case TreeChange::ItemChanged:
            applyItem(index);
            break;
        case TreeChange::Selection:
            setCurrentItem(widgetItem(index));
            break;
        case TreeChange::Visibility:
            setVisible(control_.visible());
            break;
        case TreeChange::LabelEditing:
            setEditTriggers(control_.labelEditAutomatic()
                                ? (QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed)
                                : QAbstractItemView::NoEditTriggers);
            for (int i = 0; i < static_cast<int>(items_.size()); ++i) applyItem(i);
            break;
        case TreeChange::Redraw:
            viewport()->update();
            break;
    }
}

void TreeControlWidget::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) {
        if (event->button() == Qt::RightButton) setCurrentItem(item);
        selectFromWidget(item);
    }
    emit mouseDown(buttonOf(event->button()));
}

void TreeControlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) selectFromWidget(item);
    emit doubleClicked();
}

}  // namespace vantrel::ui
