#include "ui/scan_dialog.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "collect/scan_commands.h"
#include "ui/grid_control_widget.h"

namespace vantrel::ui {

ScanDialog::ScanDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("scanDialog");
    setWindowTitle("Scan List");
    setModal(false);

    grid_ = new GridControlWidget(state_.windows.scanDialog.nodeGrid, this);
    grid_->setObjectName("nodeGrid");
    status_ = new QLabel(this);
    status_->setObjectName("statusText");
    status_->setMinimumHeight(status_->fontMetrics().height() + 4);
    status_->setWordWrap(true);  // a failed scan's reason can be long

    barFrame_ = new QFrame(this);
    barFrame_->setObjectName("progressFrame");
    barFrame_->setFrameShape(QFrame::Box);
    barFrame_->setFixedHeight(16);
    bar_ = new QFrame(barFrame_);
    bar_->setObjectName("progressBar");
    bar_->setStyleSheet("background-color: #2f7fd0;");

    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("okButton");
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("cancelButton");
    connect(ok_, &QPushButton::clicked, this, [this] { run(scanDialogOk); });
    connect(cancel_, &QPushButton::clicked, this, [this] { run(scanDialogCancel); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addWidget(status_);
    layout->addWidget(barFrame_);
    layout->addLayout(buttons);
    // Every column of the grid and room for the bar.
    const GridControl& grid = state_.windows.scanDialog.nodeGrid;
    int gridWidth = 0;
    for (int c = 0; c < grid.cols(); ++c) gridWidth += grid.colWidth(c);
    resize(twipsToPixels(gridWidth + 900, logicalDpiX()), twipsToPixels(4800, logicalDpiY()));
}

void ScanDialog::run(void (*command)(ProgramState&)) {
    command(state_);
    if (afterCommand_) afterCommand_();
}

QString ScanDialog::statusText() const { return status_->text(); }

double ScanDialog::progressShare() const {
    const int inner = barFrame_->contentsRect().width();
    return inner > 0 ? static_cast<double>(bar_->width()) / inner : 0.0;
}

void ScanDialog::placeBar() {
    const QRect inner = barFrame_->contentsRect();
    const double share = std::clamp(static_cast<double>(state_.windows.scanDialog.progressWidth) / kProgressFull, 0.0, 1.0);
    bar_->setGeometry(inner.x(), inner.y(), static_cast<int>(inner.width() * share + 0.5), inner.height());
}

void ScanDialog::sync() {
    const ScanDialogState& dialog = state_.windows.scanDialog;
    const QString status = QString::fromStdString(dialog.statusText);
    if (status_->text() != status) status_->setText(status);
    placeBar();
    if (dialog.visible != isVisible()) setVisible(dialog.visible);
}

void ScanDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeBar();
}

void ScanDialog::closeEvent(QCloseEvent* event) {
    // The dialog lives until the program ends; a close request acts as OK.
    event->ignore();
    run(scanDialogCloseRequest);
}

void ScanDialog::reject() { run(scanDialogCancel); }

}  // namespace vantrel::ui
