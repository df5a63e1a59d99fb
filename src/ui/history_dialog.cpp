#include "ui/history_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/node_history.h"

namespace vantrel::ui {

HistoryDialog::HistoryDialog(const std::string& node, const std::vector<ScanInfo>& scans, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
    setObjectName("historyDialog");
    setWindowTitle(QString::fromStdString("History of " + node));
    list_->setObjectName("scanList");
    for (const auto& scan : scans) {
        list_->addItem(QString::fromStdString(NodeHistory::rowText(scan)));
        numbers_.push_back(scan.number);
    }
    if (list_->count() > 0) list_->setCurrentRow(0);
    list_->setMinimumWidth(list_->fontMetrics().averageCharWidth() * 80);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("Show");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

std::optional<int> HistoryDialog::chosenScan() const {
    const int row = list_->currentRow();
    if (result() != QDialog::Accepted || row < 0 || row >= static_cast<int>(numbers_.size())) return std::nullopt;
    return numbers_[static_cast<std::size_t>(row)];
}

}  // namespace vantrel::ui
