#include "ui/view_panel.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/scene_view_widget.h"

namespace vantrel::ui {
namespace {

constexpr int kPictureSide = 28;


// A side-panel button: its picture, lit while the mouse is over it, with the
// caption under it (arrows show the picture only; their tool tips name them).
QToolButton* newButton(QWidget* parent, const char* name, const char* caption, const char* tip, const char* picture,
                       bool captionShown = true) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setToolTip(tip);
    QIcon icon;
    icon.addFile(QStringLiteral(":/vantrel/buttons/%1_rest.svg").arg(QLatin1String(picture)), {}, QIcon::Normal);
    icon.addFile(QStringLiteral(":/vantrel/buttons/%1_hover.svg").arg(QLatin1String(picture)), {}, QIcon::Active);
    b->setIcon(icon);
    b->setIconSize(QSize(kPictureSide, kPictureSide));
    b->setToolButtonStyle(captionShown ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    b->setAutoRaise(true);
    // Light captions on the window's dark background, as the button panels have.
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, QColor(0xd9, 0xe1, 0xea));
    b->setPalette(pal);
    return b;
}

}  // namespace

ViewPanel::ViewPanel(QWidget* parent) : QWidget(parent) {
    // A checked button ("Lights" on, "Move" with its pad shown) keeps light
    // text on a darker ground instead of the style's pale one.
    setStyleSheet(QStringLiteral(
        "QToolButton { color: #d9e1ea; border: 1px solid transparent; border-radius: 4px; padding: 2px; }"
        "QToolButton:hover { border-color: #5b6b7c; }"
        "QToolButton:checked { color: #ffffff; background-color: #34485c; border-color: #8fa6bd; }"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    QWidget* picture = nullptr;
    if (openGlAvailable()) {
        picture = view_ = new SceneViewWidget(this);
    } else {
        auto* blank = new QFrame(this);
        blank->setAutoFillBackground(true);
        QPalette pal = blank->palette();
        pal.setColor(QPalette::Window, Qt::black);
        blank->setPalette(pal);
        picture = blank;
    }
    picture->setObjectName("PicGR");
    picture->setMinimumSize(240, 180);
    left->addWidget(picture, 1);
    partLabel_ = new QLabel(this);
    partLabel_->setObjectName("pickedPart");
    // White on the window's dark ground, larger than the body text: the
    // part's name is what a click is for.
    partLabel_->setStyleSheet(QStringLiteral("QLabel#pickedPart { color: #ffffff; background-color: #10151b;"
                                             " font-size: %1pt; font-weight: bold; padding: 3px 8px; }")
                                  .arg(qRound(partLabel_->font().pointSizeF() * 1.4)));
    partLabel_->setMinimumHeight(partLabel_->fontMetrics().height() * 2);
    left->addWidget(partLabel_);
    outer->addLayout(left, 1);

    auto* column = new QVBoxLayout;
    auto* panBar = newButton(this, "panBar", "Move", "Show or hide the pan pad", "pan");
    panBar->setCheckable(true);  // checked while the pad shows
    panBar->setChecked(true);
    column->addWidget(panBar, 0, Qt::AlignHCenter);
    panPad_ = new QWidget(this);
    panPad_->setObjectName("panPad");
    auto* pad = new QGridLayout(panPad_);
    pad->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* name;
        const char* caption;
        const char* tip;
        const char* picture;
        view::PanArrow arrow;
        int row, column;
    } arrows[] = {{"panUp", "Up", "Move Up", "pan_up", view::PanArrow::Up, 0, 1},
                  {"panLeft", "Left", "Move Left", "pan_left", view::PanArrow::Left, 1, 0},
                  {"panDown", "Down", "Move Down", "pan_down", view::PanArrow::Down, 2, 1},
                  {"panRight", "Right", "Move Right", "pan_right", view::PanArrow::Right, 1, 2}};
    for (const auto& a : arrows) {
        QToolButton* b = newButton(panPad_, a.name, a.caption, a.tip, a.picture, false);
        b->setProperty("panArrow", static_cast<int>(a.arrow));
        b->installEventFilter(this);
        pad->addWidget(b, a.row, a.column);
    }
    column->addWidget(panPad_);
    // Two buttons a row, so that the column stays short enough for a small
    // screen at large fonts.
    auto* pairs = new QGridLayout;
    pairs->addWidget(newButton(this, "zoomIn", "In", "Zoom In", "zoom_in"), 0, 0, Qt::AlignHCenter);
    pairs->addWidget(newButton(this, "zoomOut", "Out", "Zoom Out", "zoom_out"), 0, 1, Qt::AlignHCenter);
    pairs->addWidget(newButton(this, "backcolor", "Backcolor", "Background Color", "color"), 1, 0, Qt::AlignHCenter);
    auto* lights = newButton(this, "lights", "Lights", "Switch virtual lights On/Off", "lights");
    lights->setCheckable(true);
    pairs->addWidget(lights, 1, 1, Qt::AlignHCenter);
    column->addLayout(pairs);
    column->addStretch(1);
    outer->addLayout(column);
}

bool ViewPanel::openGlAvailable() {
    // The desktop platforms host GL widgets; a display without GL leaves the
    // widget without a device, which the start-up reports. Only the others
    // (Qt's offscreen one cannot host a GL widget at all) are probed, since a
    // probe context costs as much as the view's own.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"))) return true;
    QOpenGLContext probe;
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    probe.setFormat(format);
    return probe.create();
}

bool ViewPanel::eventFilter(QObject* watched, QEvent* event) {
    const QVariant arrow = watched->property("panArrow");
    if (arrow.isValid() && event->type() == QEvent::Enter)
        sideControls_.panHover(static_cast<view::PanArrow>(arrow.toInt()));
    else if (arrow.isValid() && event->type() == QEvent::Leave)
        sideControls_.hoverReset();
    return QWidget::eventFilter(watched, event);
}

QToolButton* ViewPanel::button(const QString& objectName) const { return findChild<QToolButton*>(objectName); }

}  // namespace vantrel::ui
