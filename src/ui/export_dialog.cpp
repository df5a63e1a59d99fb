#include "ui/export_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/export_dialog.h"

namespace vantrel::ui {

ExportDialog::ExportDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("exportDialog");
    setWindowTitle("Export");
    setModal(false);
    ExportDialogState& dialog = state_.windows.exportDialog;

    folderField_ = new QLineEdit(this);
    folderField_->setObjectName("folderField");
    folderField_->setPlaceholderText("A folder outside the program folder");
    connect(folderField_, &QLineEdit::textEdited, this, [&dialog](const QString& t) { dialog.folderField = t.toStdString(); });
    browseButton_ = new QPushButton("Browse...", this);
    browseButton_->setObjectName("browseButton");
    chooseFolder_ = [this](const QString& current) {
        return QFileDialog::getExistingDirectory(this, "Export into", current);
    };
    connect(browseButton_, &QPushButton::clicked, this, [this, &dialog] {
        const QString chosen = chooseFolder_(QString::fromStdString(dialog.folderField));
        if (chosen.isEmpty()) return;
        dialog.folderField = chosen.toStdString();
        afterCommand();
    });

    auto check = [this](const char* name, const QString& text, bool ExportDialogState::*field) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(name);
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) { state_.windows.exportDialog.*field = on; });
        return box;
    };
    htmlCheck_ = check("htmlCheck", "HTML pages with a picture of every PC", &ExportDialogState::htmlChecked);
    csvCheck_ = check("csvCheck", "CSV: one row per component (inventory.csv)", &ExportDialogState::csvChecked);
    jsonCheck_ = check("jsonCheck", "JSON: every node and its components (inventory.json)", &ExportDialogState::jsonChecked);

    nodeList_ = new QListWidget(this);
    nodeList_->setObjectName("nodeList");
    connect(nodeList_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        auto& nodes = state_.windows.exportDialog.nodes;
        const int row = nodeList_->row(item);
        if (row >= 0 && row < static_cast<int>(nodes.size())) nodes[row].checked = item->checkState() == Qt::Checked;
    });
    auto* all = new QPushButton("All", this);
    all->setObjectName("allNodesButton");
    auto* none = new QPushButton("None", this);
    none->setObjectName("noNodesButton");
    auto markAll = [this](bool on) {
        for (auto& node : state_.windows.exportDialog.nodes) node.checked = on;
        afterCommand();
    };
    connect(all, &QPushButton::clicked, this, [markAll] { markAll(true); });
    connect(none, &QPushButton::clicked, this, [markAll] { markAll(false); });

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName("progressBar");
    progressBar_->setFormat("%v of %m pictures");
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName("statusLabel");
    statusLabel_->setWordWrap(true);
    statusLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for the outcome and a few nodes without pictures.
    statusLabel_->setMinimumHeight(statusLabel_->fontMetrics().lineSpacing() * 3);
    statusLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    exportButton_ = new QPushButton("Export", this);
    exportButton_->setObjectName("exportButton");
    exportButton_->setDefault(true);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("closeButton");
    connect(exportButton_, &QPushButton::clicked, this, [this] {
        if (exportCommand_) exportCommand_();
        afterCommand();
    });
    connect(close, &QPushButton::clicked, this, [this] {
        closeExportDialog(state_);
        afterCommand();
    });

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderField_, 1);
    folderRow->addWidget(browseButton_);
    auto* kinds = new QGroupBox("What", this);
    auto* kindsLayout = new QVBoxLayout(kinds);
    for (QCheckBox* box : {htmlCheck_, csvCheck_, jsonCheck_}) kindsLayout->addWidget(box);
    auto* nodes = new QGroupBox("Nodes", this);
    auto* nodesLayout = new QVBoxLayout(nodes);
    nodesLayout->addWidget(nodeList_, 1);
    auto* marks = new QHBoxLayout;
    marks->addWidget(all);
    marks->addWidget(none);
    marks->addStretch();
    nodesLayout->addLayout(marks);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportButton_);
    buttons->addWidget(close);
    auto* form = new QFormLayout;
    form->addRow("Folder", folderRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(kinds);
    layout->addWidget(nodes, 1);
    layout->addWidget(progressBar_);
    layout->addWidget(statusLabel_);
    layout->addLayout(buttons);
    resize(460, 480);
}

void ExportDialog::afterCommand() {
    if (afterCommand_) afterCommand_();
    else sync();
}

void ExportDialog::syncNodeList() {
    const auto& nodes = state_.windows.exportDialog.nodes;
    const QSignalBlocker quiet(nodeList_);
    if (nodeList_->count() != static_cast<int>(nodes.size())) {
        nodeList_->clear();
        for (std::size_t i = 0; i < nodes.size(); ++i) nodeList_->addItem(new QListWidgetItem);
    }
    for (int i = 0; i < nodeList_->count(); ++i) {
        QListWidgetItem* item = nodeList_->item(i);
        const auto& node = nodes[static_cast<std::size_t>(i)];
        const QString label = QString::fromStdString(node.label);
        if (item->text() != label) item->setText(label);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        const Qt::CheckState mark = node.checked ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != mark) item->setCheckState(mark);
    }
}

void ExportDialog::sync() {
    const ExportDialogState& dialog = state_.windows.exportDialog;
    const QString folder = QString::fromStdString(dialog.folderField);
    if (folderField_->text() != folder) folderField_->setText(folder);
    for (auto [box, on] : {std::pair{htmlCheck_, dialog.htmlChecked}, std::pair{csvCheck_, dialog.csvChecked},
                           std::pair{jsonCheck_, dialog.jsonChecked}})
        if (box->isChecked() != on) box->setChecked(on);
    syncNodeList();
    // Nothing is changed while an export reads the choice.
    for (QWidget* w : std::initializer_list<QWidget*>{folderField_, browseButton_, htmlCheck_, csvCheck_, jsonCheck_,
                                                      nodeList_, exportButton_})
        w->setEnabled(!dialog.running);
    progressBar_->setRange(0, std::max(1, dialog.picturesToDraw));
    progressBar_->setValue(dialog.picturesToDraw > 0 ? dialog.picturesDone : (dialog.running ? 0 : 1));
    progressBar_->setFormat(dialog.picturesToDraw > 0 ? "%v of %m pictures" : "");
    progressBar_->setVisible(dialog.running || dialog.picturesToDraw > 0);
    const QString status = QString::fromStdString(dialog.statusText);
    if (statusLabel_->text() != status) statusLabel_->setText(status);
    if (dialog.visible != isVisible()) setVisible(dialog.visible);
}

void ExportDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    closeExportDialog(state_);
    afterCommand();
}

void ExportDialog::reject() {
    closeExportDialog(state_);
    afterCommand();
}

}  // namespace vantrel::ui
