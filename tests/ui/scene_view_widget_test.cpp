// The 3D view in a real window (X server, Mesa GL): it draws on resize, a drag
// turns the model, the pan and zoom buttons move the eye, the Background Color
// dialog's OK stores the colour and redraws, and an idle view draws nothing.

#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "core/start_camera.h"

#include "engine3d/math/d3d_math.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "support/scene_geometry.h"
#include "ui/background_color_window.h"
#include "model/part_table.h"
#include "ui/desktop_view.h"
#include "ui/view_panel.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"
#include "ui/tree_control_widget.h"
#include "ui/scene_view_widget.h"

namespace vantrel::ui {
namespace {

using namespace engine3d;

class SceneViewWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server for OpenGL";
        state_.domain.settings.cameraZ = -10;
        state_.domain.settings.backgroundColor = 0x00203040;
        panel_ = std::make_unique<ViewPanel>();
        panel_->resize(640, 480);
        panel_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_.get()));
        view_ = std::make_unique<DesktopView>(state_, *panel_, pc_);
        ASSERT_TRUE(view_->createSimpleDevice());
        view_->findMediaFolder();
        view_->initDevice();
        view_->applySceneDefaults();
        root_ = CD3DFrame::Create();
        model_ = test::frameWith(nullptr, root_, "model");
        // Named as a part of the part table, so that a click names it.
        test::frameWith(test::meshOf(test::box(1.0f), test::plainMaterial({0.8f, 0.1f, 0.1f, 1})), model_,
                        std::string(model::kPartTable[0].frameName).c_str());
        panel_->view()->withContext([this] { view_->sceneView()->zoom_in(); });
        view_->showScene(root_, model_, model_);
        QApplication::processEvents();
    }
    void TearDown() override {
        view_.reset();
        panel_.reset();
    }

    QImage picture() { return panel_->view()->grabFramebuffer(); }
    static bool isBackground(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(0x20, 0x30, 0x40); }
    // Extent of the drawn pixels: left, top, right, bottom.
    static QRect drawn(const QImage& image) {
        QRect r;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!isBackground(image, x, y)) r |= QRect(x, y, 1, 1);
        return r;
    }
    void sendMouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), panel_->view()->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(panel_->view(), &event);
    }

    test::FakeUi ui_;
    test::TempFolder folder_;
    model::VirtualPc pc_;
    ProgramState state_{ProgramFolder(folder_.path()), ui_};
    std::unique_ptr<ViewPanel> panel_;
    std::unique_ptr<DesktopView> view_;
    FramePtr root_, model_;
};

TEST_F(SceneViewWidgetTest, DrawsTheSceneAndRedrawsSquareAfterAResize) {
    QImage image = picture();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(isBackground(image, 0, 0));
    EXPECT_FALSE(isBackground(image, image.width() / 2, image.height() / 2));
    QRect box = drawn(image);
    EXPECT_NEAR(box.width(), box.height(), 1);

    panel_->resize(400, 600);
    QApplication::processEvents();
    image = picture();
    EXPECT_EQ(image.width(), panel_->view()->pixelWidth());
    box = drawn(image);
    EXPECT_NEAR(box.width(), box.height(), 1);
    EXPECT_NEAR(box.center().x(), image.width() / 2, 2);
}

TEST_F(SceneViewWidgetTest, LeftDragTurnsTheModelRightDragDoesNot) {
    const QPoint start(100, 100);
    sendMouse(QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    sendMouse(QEvent::MouseMove, start + QPoint(40, 0), Qt::NoButton, Qt::RightButton);
    sendMouse(QEvent::MouseButtonRelease, start + QPoint(40, 0), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(model_->GetMatrix(), D3DXMatrixIdentity());

    const QImage before = picture();
    sendMouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(QEvent::MouseMove, start + QPoint(50, 0), Qt::NoButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, start + QPoint(50, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_NE(model_->GetMatrix(), D3DXMatrixIdentity());
    QApplication::processEvents();
    const QImage after = picture();
    EXPECT_GT(drawn(after).width(), drawn(before).width());  // a turned box shows two sides
}

TEST_F(SceneViewWidgetTest, ClickNamesThePickedFrame) {
    const QPoint centre(panel_->view()->width() / 2, panel_->view()->height() / 2);
    sendMouse(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(view_->sceneView()->PickedFrameName, model::kPartTable[0].frameName);
    EXPECT_EQ(pc_.PickedFrameName, model::kPartTable[0].frameName);
    EXPECT_EQ(panel_->partLabel()->text().toStdString(), model::kPartTable[0].label);
}

// WCAG's relative luminance and contrast ratio of two colours.
double luminance(QRgb c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The most common colour of a picture and the one that stands out most from it.
std::pair<QRgb, QRgb> groundAndText(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    const QRgb ground =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    QRgb text = ground;
    for (const auto& [colour, n] : counts)
        if (contrast(colour, ground) > contrast(text, ground)) text = colour;
    return {ground, text};
}

TEST_F(SceneViewWidgetTest, ThePickedPartsNameIsLargeLightTextOnADarkGround) {
    const QPoint centre(panel_->view()->width() / 2, panel_->view()->height() / 2);
    sendMouse(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
    QLabel* label = panel_->partLabel();
    ASSERT_EQ(label->text().toStdString(), model::kPartTable[0].label);
    QApplication::processEvents();
    // What the user sees there: the most common colour is the ground, the one
    // furthest from it the text.
    const auto [ground, text] = groundAndText(panel_->grab(label->geometry()).toImage());
    EXPECT_GE(contrast(text, ground), 7.0) << std::hex << text << " on " << ground;
    EXPECT_GT(luminance(text), luminance(ground));  // light on dark, as the window is
    EXPECT_GE(QFontInfo(label->font()).pixelSize(), QFontInfo(QApplication::font()).pixelSize() * 5 / 4);
}

TEST_F(SceneViewWidgetTest, ThePickedPartIsMarkedUntilAClickOnEmptySpace) {
    const QPoint centre(panel_->view()->width() / 2, panel_->view()->height() / 2);
    const QRgb plain = picture().pixel(centre);
    auto click = [&](QPoint at) {
        sendMouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        sendMouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    };
    click(centre);
    const QRgb marked = picture().pixel(centre);
    // Tinted towards amber: much more green than the red box has.
    EXPECT_GT(qGreen(marked), qGreen(plain) + 40) << std::hex << plain << " " << marked;
    EXPECT_FALSE(panel_->partLabel()->text().isEmpty());
    click(QPoint(3, 3));
    EXPECT_EQ(picture().pixel(centre), plain);
    EXPECT_TRUE(panel_->partLabel()->text().isEmpty());
    EXPECT_EQ(view_->sceneView()->markedPart(), nullptr);
}

TEST_F(SceneViewWidgetTest, ADoubleClickOnEmptySpaceBringsTheFrontViewBack) {
    const QPoint start(100, 100);
    sendMouse(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(QEvent::MouseMove, start + QPoint(80, 30), Qt::NoButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, start + QPoint(80, 30), Qt::LeftButton, Qt::NoButton);
    panel_->button("zoomOut")->click();
    ASSERT_NE(model_->GetMatrix(), D3DXMatrixIdentity());
    sendMouse(QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, QPoint(3, 3), Qt::LeftButton, Qt::NoButton);
    sendMouse(QEvent::MouseButtonDblClick, QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
    sendMouse(QEvent::MouseButtonRelease, QPoint(3, 3), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(model_->GetMatrix(), D3DXMatrixIdentity());
    const auto& camera = state_.domain.settings;
    EXPECT_EQ((std::array<float, 3>{camera.cameraX, camera.cameraY, camera.cameraZ}),
              (std::array<float, 3>{kStartCamera.x, kStartCamera.y, kStartCamera.z}));
    EXPECT_EQ(view_->util()->device().GetTransform(D3DTS_VIEW),
              D3DXMatrixLookAtLH({kStartCamera.x, kStartCamera.y, kStartCamera.z}, {0, 0, 0}, {0, 1, 0}));
}

TEST_F(SceneViewWidgetTest, TheFocusedViewTakesArrowsPlusMinusAndHome) {
    QWidget* view = panel_->view();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_NE(model_->GetMatrix(), D3DXMatrixIdentity());
    const float z = state_.domain.settings.cameraZ;
    QTest::keyClick(view, Qt::Key_Plus);
    EXPECT_EQ(state_.domain.settings.cameraZ, z + 1);
    QTest::keyClick(view, Qt::Key_Minus);
    QTest::keyClick(view, Qt::Key_Minus);
    EXPECT_EQ(state_.domain.settings.cameraZ, z - 1);
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(model_->GetMatrix(), D3DXMatrixIdentity());
    EXPECT_EQ(state_.domain.settings.cameraZ, kStartCamera.z);
    // Twelve presses of an arrow turn the model half way round (about one
    // axis, so the rotation's trace is 1 + 2 cos(angle) = -1).
    for (int i = 0; i < 12; ++i) QTest::keyClick(view, Qt::Key_Right);
    const D3DMATRIX& m = model_->GetMatrix();
    EXPECT_NEAR(m(0, 0) + m(1, 1) + m(2, 2), -1.0f, 0.05f);
}

TEST_F(SceneViewWidgetTest, CheckedButtonsKeepAReadableCaption) {
    for (const char* name : {"lights", "panBar"}) {
        QToolButton* button = panel_->button(name);
        if (!button->isChecked()) button->click();
        ASSERT_TRUE(button->isChecked()) << name;
        QApplication::processEvents();
        // The caption's strip under the picture.
        const QImage image = button->grab().toImage();
        const QImage caption = image.copy(0, button->iconSize().height() + 4, image.width(),
                                          image.height() - button->iconSize().height() - 4);
        const auto [ground, text] = groundAndText(caption);
        EXPECT_GE(contrast(text, ground), 4.5) << name << std::hex << " " << text << " on " << ground;
    }
}

TEST_F(SceneViewWidgetTest, PanAndZoomButtonsMoveTheEye) {
    struct Case {
        const char* button;
        float x, y, z;
    };
    const Case cases[] = {{"zoomIn", 0, 0, -9}, {"zoomOut", 0, 0, -10}, {"zoomOut", 0, 0, -11},
                          {"panUp", 0, -1, -11}, {"panDown", 0, 0, -11}, {"panLeft", 1, 0, -11},
                          {"panRight", 0, 0, -11}};
    for (const auto& c : cases) {
        const int before = drawn(picture()).height();
        panel_->button(c.button)->click();
        EXPECT_EQ(state_.domain.settings.cameraX, c.x) << c.button;
        EXPECT_EQ(state_.domain.settings.cameraY, c.y) << c.button;
        EXPECT_EQ(state_.domain.settings.cameraZ, c.z) << c.button;
        EXPECT_EQ(view_->util()->device().GetTransform(D3DTS_VIEW),
                  D3DXMatrixLookAtLH({c.x, c.y, c.z}, {0, 0, 0}, {0, 1, 0}));
        if (std::string(c.button) == "zoomIn") {
            EXPECT_GT(drawn(picture()).height(), before);
        }
    }
    // Hovering an arrow highlights it until the mouse leaves.
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(panel_->button("panLeft"), &enter);
    EXPECT_EQ(panel_->sideControls().panPicture, view::PanPicture::LeftLit);
    QApplication::sendEvent(panel_->button("panLeft"), &leave);
    EXPECT_EQ(panel_->sideControls().panPicture, view::PanPicture::Plain);
    // The pan pad's bar hides and shows it.
    panel_->button("panBar")->click();
    EXPECT_FALSE(panel_->panPad()->isVisible());
    panel_->button("panBar")->click();
    EXPECT_TRUE(panel_->panPad()->isVisible());
}

TEST_F(SceneViewWidgetTest, ColourDialogOkStoresTheColourAndRedraws) {
    panel_->button("backcolor")->click();
    BackgroundColorWindow* window = view_->colorWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // The top-left pixel (QTest would take a null point for the centre).
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(0, 0), window->colors()->mapToGlobal(QPointF(0, 0)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->colors(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(0, 0), window->colors()->mapToGlobal(QPointF(0, 0)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->colors(), &release);
    EXPECT_EQ(window->hexField()->text(), "FF0000");
    EXPECT_EQ(window->complementLabel(1)->text(), "255");
    window->findChild<QPushButton*>("OK")->click();
    EXPECT_EQ(state_.domain.settings.backgroundColor, 0x00FF0000);
    EXPECT_FALSE(window->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(picture().pixel(0, 0), qRgb(255, 0, 0));

    // Typed text that is not a colour is refused and changes nothing.
    panel_->button("backcolor")->click();
    window->hexField()->clear();
    QTest::keyClicks(window->hexField(), "12345Z");
    window->findChild<QPushButton*>("OK")->click();
    EXPECT_EQ(state_.domain.settings.backgroundColor, 0x00FF0000);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text, view::kHexColourRefused);
    window->findChild<QPushButton*>("Cancel")->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SceneViewWidgetTest, NewContextAfterReparentingGoesThroughTheDeviceReset) {
    const int before = drawn(picture()).height();
    {
        QWidget holder;
        auto* layout = new QVBoxLayout(&holder);
        layout->addWidget(panel_.get());
        holder.resize(640, 480);
        holder.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&holder));
        QApplication::processEvents();
        // After the reset the view shows the scene defaults' camera at (0, 0, -20).
        const int after = drawn(picture()).height();
        EXPECT_GT(after, 0);
        EXPECT_LT(after, before);
        EXPECT_EQ(view_->util()->device().TestCooperativeLevel(), D3D_OK);
        panel_->button("zoomIn")->click();  // a camera command brings the camera values back
        EXPECT_GT(drawn(picture()).height(), before);
        layout->removeWidget(panel_.get());
        panel_->setParent(nullptr);
    }
}

TEST_F(SceneViewWidgetTest, IdleViewDrawsNothing) {
    QApplication::processEvents();
    const int before = panel_->view()->paintedPictures();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 500) QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(panel_->view()->paintedPictures(), before);
}

TEST(MainWindowViewControls, TreeTabsAndSideBarsShowAndHideTheirContent) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server for OpenGL";
    test::TempFolder folder;
    QtUiServices ui;
    ProgramState state(ProgramFolder(folder.path()), ui);
    MainWindow window(state, ui);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.findChild<QToolButton*>("hardwareTab")->click();
    EXPECT_FALSE(state.windows.main.networkTree.visible());
    EXPECT_TRUE(state.windows.main.hardwareTree.visible());
    EXPECT_FALSE(window.networkTree()->isVisible());
    EXPECT_TRUE(window.hardwareTree()->isVisible());
    // The hardware tree has the whole pane, not the half under the network tree's place.
    QApplication::processEvents();
    const QWidget* pane = window.findChild<QWidget*>("treeColumn");
    ASSERT_NE(pane, nullptr);
    EXPECT_GE(window.hardwareTree()->height(), pane->height() * 9 / 10);
    window.findChild<QToolButton*>("networkTab")->click();
    EXPECT_TRUE(window.networkTree()->isVisible());
    EXPECT_FALSE(window.hardwareTree()->isVisible());

    auto* address = window.findChild<QLabel*>("currentNodeAddress");
    auto* head = window.findChild<QToolButton*>("barHead3");
    ASSERT_TRUE(address && head);
    head->click();
    EXPECT_FALSE(address->isVisible());
    EXPECT_TRUE(window.sceneView()->sideControls().BarCollapsed[3]);
    head->click();
    EXPECT_TRUE(address->isVisible());
}

TEST(MainWindowViewControls, SideButtonsHaveARestingAndALitPicture) {
    test::TempFolder folder;
    QtUiServices ui;
    ProgramState state(ProgramFolder(folder.path()), ui);
    MainWindow window(state, ui);
    for (const char* name : {"panBar", "panUp", "panLeft", "panDown", "panRight", "zoomIn", "zoomOut", "backcolor", "lights"}) {
        auto* button = window.findChild<QToolButton*>(name);
        ASSERT_TRUE(button) << name;
        const QImage resting = button->icon().pixmap(QSize(28, 28), QIcon::Normal).toImage();
        const QImage lit = button->icon().pixmap(QSize(28, 28), QIcon::Active).toImage();
        EXPECT_FALSE(resting.isNull()) << name;
        EXPECT_NE(resting, lit) << name;
    }
}

}  // namespace
}  // namespace vantrel::ui
