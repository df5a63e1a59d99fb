// "Export..." in the desktop program: the dialog lists the nodes, writes the
// chosen kinds into the chosen folder with a picture of every chosen PC,
// says what is missing, and never touches the program folder.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>

#include "support/export_home.h"
#include "support/png_size.h"
#include "desktop_test_support.h"
#include "ui/desktop_app.h"
#include "ui/desktop_export.h"
#include "ui/export_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"

namespace vantrel::ui {
namespace {

namespace fs = std::filesystem;
using test::pngSize;

std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = test::readBytes(entry.path());
    return files;
}

struct DesktopExportTest : ::testing::Test {
    test::TempFolder home, io, out;
    test::MessageRecordingUi ui;
    std::unique_ptr<DesktopSession> session;

    void SetUp() override {
        const auto made = test::makeExportHome(home.path(), io.path());
        ASSERT_EQ(made.status, 0) << made.err;
        session = std::make_unique<DesktopSession>(home.path(), ui);
        ASSERT_TRUE(session->start());
    }
    ExportDialog& dialog() { return *session->main().exportDialog(); }
    void openDialog() {
        QAction* item = session->main().menuAction(MenuCommand::Export, PopupMenu::Main);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog()));
    }
    void typeFolder(const fs::path& folder) {
        dialog().folderField()->selectAll();
        QTest::keyClick(dialog().folderField(), Qt::Key_Delete);
        QTest::keyClicks(dialog().folderField(), QString::fromStdString(folder.string()));
    }
    bool exportAndWait() {
        QTest::mouseClick(dialog().exportButton(), Qt::LeftButton);
        return QTest::qWaitFor([&] { return !session->exports().busy(); }, 120000);
    }
    QStringList nodeLabels() {
        QStringList labels;
        for (int i = 0; i < dialog().nodeList()->count(); ++i) labels << dialog().nodeList()->item(i)->text();
        return labels;
    }
    // Where screenshots of the dialog go when a folder is named for them.
    void keepPicture(const char* name) {
        if (const char* shots = std::getenv("VANTREL_UI_SHOTS")) dialog().grab().save(QString(shots) + "/" + name);
    }
};

TEST_F(DesktopExportTest, TheChosenNodesAreExportedWithPicturesIntoTheChosenFolder) {
    const auto before = snapshot(home.path());
    openDialog();
    EXPECT_EQ(nodeLabels(), (QStringList{"Workstation", "LAB-2", QString::fromStdString(test::kMarkupNode)}));
    // LAB-2 stays out.
    QListWidget* list = dialog().nodeList();
    const QRect box = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(box.left() + 10, box.center().y()));
    if (list->item(1)->checkState() == Qt::Checked) list->item(1)->setCheckState(Qt::Unchecked);
    const auto site = out.path() / "team inventory";
    typeFolder(site);
    keepPicture("export-dialog.png");

    QTest::mouseClick(dialog().exportButton(), Qt::LeftButton);
    EXPECT_TRUE(session->exports().busy());
    EXPECT_FALSE(dialog().exportButton()->isEnabled());
    EXPECT_FALSE(dialog().nodeList()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session->exports().busy(); }, 120000));
    keepPicture("export-dialog-done.png");

    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    EXPECT_EQ(dialog().progressBar()->maximum(), 2);
    EXPECT_EQ(dialog().progressBar()->value(), 2);
    EXPECT_EQ(dialog().statusLabel()->text().toStdString(), "Exported 2 nodes to " + site.string() + " (2 pictures).");
    EXPECT_TRUE(dialog().exportButton()->isEnabled());
    const std::string markupPage = "_img_src_x_onerror_alert_1______q_s_";
    for (const std::string& page : {std::string("ws-7"), markupPage}) {
        EXPECT_TRUE(fs::exists(site / "nodes" / (page + ".html"))) << page;
        EXPECT_EQ(pngSize(site / "pictures" / (page + ".png")), std::make_pair(640, 480)) << page;
        EXPECT_EQ(pngSize(site / "pictures" / (page + "-front.png")), std::make_pair(160, 120)) << page;
    }
    EXPECT_FALSE(fs::exists(site / "nodes" / "lab-2.html"));
    EXPECT_NE(test::readBytes(site / "index.html").find("&lt;img src=x"), std::string::npos);
    const auto json = nlohmann::json::parse(test::readBytes(site / "inventory.json"));
    ASSERT_EQ(json["nodes"].size(), 2u);
    EXPECT_EQ(json["nodes"][0]["name"], "WS-7");
    const std::string csv = test::readBytes(site / "inventory.csv");
    EXPECT_NE(csv.find("WS-7,"), std::string::npos);
    EXPECT_EQ(csv.find("LAB-2,"), std::string::npos);
    EXPECT_EQ(snapshot(home.path()), before);

    // Only what is asked for: without HTML no pages are written.
    const auto data = out.path() / "data only";
    typeFolder(data);
    dialog().htmlCheck()->setChecked(false);
    ASSERT_TRUE(exportAndWait());
    EXPECT_TRUE(fs::exists(data / "inventory.csv"));
    EXPECT_TRUE(fs::exists(data / "inventory.json"));
    EXPECT_FALSE(fs::exists(data / "index.html"));
    EXPECT_FALSE(dialog().progressBar()->isVisible());
    EXPECT_EQ(dialog().statusLabel()->text().toStdString(), "Exported 2 nodes to " + data.string() + ".");
}

TEST_F(DesktopExportTest, AnIncompleteChoiceIsSaidAndWritesNothing) {
    const auto before = snapshot(home.path());
    openDialog();
    const struct {
        std::function<void()> choose;
        std::string message;
    } cases[] = {
        {[&] { typeFolder(""); }, "Choose a folder to export into."},
        {[&] {
             typeFolder(out.path() / "x");
             for (QCheckBox* box : {dialog().htmlCheck(), dialog().csvCheck(), dialog().jsonCheck()}) box->setChecked(false);
         },
         "Choose what to export: HTML, CSV or JSON."},
        {[&] {
             dialog().csvCheck()->setChecked(true);
             QTest::mouseClick(dialog().findChild<QPushButton*>("noNodesButton"), Qt::LeftButton);
         },
         "Choose at least one node to export."},
        {[&] {
             QTest::mouseClick(dialog().findChild<QPushButton*>("allNodesButton"), Qt::LeftButton);
             typeFolder(home.path() / "site");
         },
         "The export failed: " + (home.path() / "site").string() + " is inside the program folder " +
             home.path().string() + ": an export is written elsewhere"},
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        c.choose();
        ASSERT_TRUE(exportAndWait());
        ASSERT_EQ(ui.messages.size(), 1u) << c.message;
        EXPECT_EQ(ui.messages[0], c.message);
    }
    EXPECT_EQ(dialog().statusLabel()->text().toStdString(), ui.messages[0]);
    EXPECT_TRUE(fs::is_empty(out.path()));
    EXPECT_EQ(snapshot(home.path()), before);
}

}  // namespace
}  // namespace vantrel::ui
