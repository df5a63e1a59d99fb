#include "ui/background_color_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vantrel::ui {
namespace {

// Field and swatch colours are 0x00BBGGRR.
QColor fromBgr(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void paintSwatch(QFrame* swatch, std::uint32_t bgr) {
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, fromBgr(bgr));
    swatch->setPalette(pal);
}

QFrame* newSwatch(QWidget* parent, const char* name) {
    auto* swatch = new QFrame(parent);
    swatch->setObjectName(name);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    swatch->setFixedSize(48, 32);
    return swatch;
}

}  // namespace

ColorFieldWidget::ColorFieldWidget(view::BackgroundColorDialog& dialog, QWidget* parent)
    : QWidget(parent), dialog_(dialog) {
    setObjectName("Colors");
    setFixedSize(dialog.width, dialog.height);
    setMouseTracking(true);
}

void ColorFieldWidget::paintEvent(QPaintEvent*) {
    QImage image(dialog_.width, dialog_.height, QImage::Format_RGB32);
    for (int y = 0; y < dialog_.height; ++y)
        for (int x = 0; x < dialog_.width; ++x) image.setPixelColor(x, y, fromBgr(dialog_.fieldPixel(x, y)));
    QPainter(this).drawImage(0, 0, image);
}

void ColorFieldWidget::mouseMoveEvent(QMouseEvent* event) {
    dialog_.hover(static_cast<int>(event->position().x()), static_cast<int>(event->position().y()));
    if (changed) changed();
}

void ColorFieldWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    grabMouse();  // the pick follows the button-down position inside the field
    dialog_.press(static_cast<int>(event->position().x()), static_cast<int>(event->position().y()));
    if (changed) changed();
}

void ColorFieldWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) releaseMouse();
}

BackgroundColorWindow::BackgroundColorWindow(view::BackgroundColorDialog& dialog, std::function<void()> ok,
                                             QWidget* parent)
    : QDialog(parent), dialog_(dialog), ok_(std::move(ok)) {
    setObjectName("backgroundColorWindow");
    setWindowTitle("Background Color");
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("Backcolor", this);
    layout->addWidget(heading);
    colors_ = new ColorFieldWidget(dialog_, this);
    layout->addWidget(colors_);

    auto* greyRow = new QHBoxLayout;
    greyRow->addWidget(new QLabel("Dark", this));
    greyLevel_ = new QScrollBar(Qt::Horizontal, this);
    greyLevel_->setObjectName("HScroll1");
    greyLevel_->setRange(0, 255);
    greyLevel_->setValue(dialog_.greyLevel);
    greyRow->addWidget(greyLevel_, 1);
    greyRow->addWidget(new QLabel("Light", this));
    greyLevelText_ = new QLabel(this);
    greyRow->addWidget(greyLevelText_);
    layout->addLayout(greyRow);

    auto* values = new QGridLayout;
    hoverSwatch_ = newSwatch(this, "Picture2");
    chosenSwatch_ = newSwatch(this, "Picture1");
    values->addWidget(hoverSwatch_, 0, 0, 3, 1);
    values->addWidget(chosenSwatch_, 0, 1, 3, 1);
    const char* captions[3] = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        values->addWidget(new QLabel(captions[i], this), i, 2);
        complements_[i] = new QLabel(this);
        values->addWidget(complements_[i], i, 3);
    }
    thehex_ = new QLineEdit(this);
    thehex_->setObjectName("thehex");
    values->addWidget(thehex_, 3, 0, 1, 4);
    layout->addLayout(values);

    auto* buttons = new QHBoxLayout;
    auto* okButton = new QPushButton("OK", this);
    auto* cancelButton = new QPushButton("Cancel", this);
    okButton->setObjectName("OK");
    cancelButton->setObjectName("Cancel");
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);

    colors_->changed = [this] { syncFromCore(); };
    connect(greyLevel_, &QScrollBar::valueChanged, this, [this](int v) {
        setCursor(Qt::WaitCursor);
        dialog_.setGreyLevel(v);
        unsetCursor();
        colors_->update();
        syncFromCore();
    });
    connect(thehex_, &QLineEdit::textEdited, this, [this](const QString& text) { dialog_.hexText = text.toStdString(); });
    connect(okButton, &QPushButton::clicked, this, [this] {
        if (ok_) ok_();
        syncFromCore();
    });
    connect(cancelButton, &QPushButton::clicked, this, [this] {
        dialog_.cancel();
        syncFromCore();
    });
}

void BackgroundColorWindow::open() {
    dialog_.show();
    colors_->update();
    syncFromCore();
}

void BackgroundColorWindow::syncFromCore() {
    paintSwatch(hoverSwatch_, dialog_.hoverSwatch);
    paintSwatch(chosenSwatch_, dialog_.chosenSwatch);
    const QString hex = QString::fromStdString(dialog_.hexText);
    if (thehex_->text() != hex) thehex_->setText(hex);
    greyLevelText_->setText(QString::fromStdString(dialog_.greyLevelText));
    for (int i = 0; i < 3; ++i) complements_[i]->setText(QString::fromStdString(dialog_.complementTexts[i]));
    setVisible(dialog_.visible);
}

void BackgroundColorWindow::closeEvent(QCloseEvent* event) {
    // Closing only hides: the dialog keeps its state for the next showing.
    event->ignore();
    dialog_.cancel();
    hide();
}

}  // namespace vantrel::ui
