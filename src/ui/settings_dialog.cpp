#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/settings_dialog.h"
#include "store/change_command_setting.h"
#include "store/store_setting.h"

namespace vantrel::ui {

namespace {

constexpr std::array<const char*, kSettingsPageCount> kTabTexts = {
    "  IP Name", "  Passwords", "  Clear", "  Nodes", "  Location", "  Network", "  Scans", "  Inventory"};
constexpr std::array<const char*, kSettingsPageCount> kTabNames = {
    "ipNameTab", "passwordsTab", "clearTab", "nodesTab", "locationTab", "networkTab", "scansTab", "inventoryTab"};

}  // namespace

SettingsDialog::SettingsDialog(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("settingsDialog");
    setWindowTitle("Settings");
    setModal(false);

    auto* tabColumn = new QVBoxLayout;
    tabColumn->setSpacing(0);
    pages_ = new QStackedWidget(this);
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        auto* tab = new QLabel(kTabTexts[i], this);
        tab->setObjectName(kTabNames[i]);
        tab->setMinimumWidth(110);
        tab->setMinimumHeight(tab->fontMetrics().height() + 8);
        tab->setCursor(Qt::PointingHandCursor);
        tab->installEventFilter(this);
        tabColumn->addWidget(tab);
        tabs_[i] = tab;
        pages_->addWidget(makePage(static_cast<SettingsPage>(i)));
    }
    tabColumn->addStretch();

    auto* ok = makeButton("okButton", "OK", this, settingsDialogOk);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);

    auto* body = new QHBoxLayout;
    body->addLayout(tabColumn);
    body->addWidget(pages_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);
    // The Inventory page's two explained fields decide the size.
    resize(500, 330);
}

QPushButton* SettingsDialog::makeButton(const char* objectName, const char* text, QWidget* parent,
                                        void (*command)(ProgramState&)) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    connect(button, &QPushButton::clicked, this, [this, command] { run([this, command] { command(state_); }); });
    return button;
}

QWidget* SettingsDialog::makePage(SettingsPage page) {
    auto* widget = new QWidget(this);
    auto* layout = new QVBoxLayout(widget);
    switch (page) {
        case SettingsPage::IpName: {
            const char* texts[] = {"IP", "Name", "IP/Name"};
            const char* names[] = {"ipBox", "nameBox", "ipNameBox"};
            for (int i = 0; i < 3; ++i) {
                auto* box = new QCheckBox(texts[i], widget);
                box->setObjectName(names[i]);
                connect(box, &QCheckBox::clicked, this, [this, i](bool ticked) {
                    run([this, i, ticked] { labelModeBoxClicked(state_, static_cast<LabelModeBox>(i), ticked); });
                });
                labelBoxes_[static_cast<std::size_t>(i)] = box;
                layout->addWidget(box, 0, Qt::AlignLeft);
            }
            break;
        }
        case SettingsPage::Passwords:
            showPasswords_ = new QCheckBox("Show Passwords", widget);
            showPasswords_->setObjectName("showPasswordsBox");
            connect(showPasswords_, &QCheckBox::clicked, this,
                    [this](bool ticked) { run([this, ticked] { setShowPasswords(state_, ticked); }); });
            layout->addWidget(showPasswords_, 0, Qt::AlignLeft);
            break;
        case SettingsPage::Clear:
            layout->addWidget(new QLabel("Clear Data cache", widget));
            layout->addWidget(makeButton("clearButton", "Clear", widget, clearDataCache));
            break;
        case SettingsPage::Nodes:
            layout->addWidget(new QLabel("Show all Nodes", widget));
            layout->addWidget(makeButton("showButton", "Show", widget, showAllNodes));
            break;
        case SettingsPage::Location: {
            layout->addWidget(new QLabel("  Set WMI Location", widget));
            namespaceField_ = new QLineEdit(widget);
            namespaceField_->setObjectName("namespaceField");
            connect(namespaceField_, &QLineEdit::textEdited, this,
                    [this](const QString& t) { state_.windows.settingsDialog.namespaceField = t.toStdString(); });
            layout->addWidget(namespaceField_);
            auto* row = new QHBoxLayout;
            row->addWidget(makeButton("setButton", "Set", widget, setWmiLocation));
            row->addWidget(makeButton("cancelLocationButton", "Cancel", widget, cancelWmiLocation));
            layout->addLayout(row);
            break;
        }
        case SettingsPage::Network: {
            auto* explanation = new QLabel(
                "Reset forgets every node: it deletes the node table with the logins (lg.ini) and how each node "
                "is reached (connections.ini), keeps the hardware reports, and ends the program. It asks first.",
                widget);
            explanation->setObjectName("resetExplanation");
            explanation->setWordWrap(true);
            layout->addWidget(explanation);
            layout->addWidget(makeButton("resetButton", "Reset", widget, resetNetwork));
            break;
        }
        case SettingsPage::Scans:
            layout->addWidget(new QLabel("Nodes scanned at once by \"Scan all PCs\"", widget));
            parallelScans_ = new QSpinBox(widget);
            parallelScans_->setObjectName("parallelScansField");
            parallelScans_->setRange(kMinParallelScans, kMaxParallelScans);
            connect(parallelScans_, &QSpinBox::valueChanged, this, [this](int value) {
                if (value != state_.domain.settings.parallelScans) run([this, value] { setParallelScans(state_, value); });
            });
            layout->addWidget(parallelScans_);
            break;
        case SettingsPage::Inventory: {
            auto* explanation = new QLabel(
                "Shared inventory: a PostgreSQL URL such as postgresql://user@server/inventory (the password in "
                "~/.pgpass). Empty: the history stays in this program folder.",
                widget);
            explanation->setWordWrap(true);
            layout->addWidget(explanation);
            storeField_ = new QLineEdit(widget);
            storeField_->setObjectName("storeField");
            connect(storeField_, &QLineEdit::textEdited, this,
                    [this](const QString& t) { state_.windows.settingsDialog.storeField = t.toStdString(); });
            layout->addWidget(storeField_);
            layout->addWidget(makeButton("setStoreButton", "Set", widget, setSharedStoreSetting));
            layout->addSpacing(12);
            auto* caption = new QLabel(
                "Command to run when a node's hardware changed (through /bin/sh, with the change as JSON on "
                "its standard input; empty: none):",
                widget);
            caption->setWordWrap(true);
            layout->addWidget(caption);
            changeCommandField_ = new QLineEdit(QString::fromStdString(changeCommandSetting(state_.folder)), widget);
            changeCommandField_->setObjectName("changeCommandField");
            changeCommandField_->setPlaceholderText("mail -s \"Hardware changed\" admin@example.org");
            caption->setBuddy(changeCommandField_);
            layout->addWidget(changeCommandField_);
            auto* setCommand = new QPushButton("Set", widget);
            setCommand->setObjectName("setChangeCommandButton");
            connect(setCommand, &QPushButton::clicked, this, [this] {
                run([this] {
                    if (const auto kept = setChangeCommandSetting(state_, changeCommandField_->text().toStdString()))
                        changeCommandField_->setText(QString::fromStdString(*kept));
                });
            });
            layout->addWidget(setCommand);
            break;
        }
    }
    layout->addStretch();
    return widget;
}

QWidget* SettingsDialog::currentPage() const { return pages_->currentWidget(); }

void SettingsDialog::run(const std::function<void()>& command) {
    command();
    if (afterCommand_) afterCommand_();
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (std::size_t i = 0; i < tabs_.size(); ++i)
            if (watched == tabs_[i]) {
                run([this, i] { selectSettingsPage(state_, static_cast<SettingsPage>(i)); });
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::sync() {
    const SettingsDialogState& dialog = state_.windows.settingsDialog;
    const auto page = static_cast<std::size_t>(dialog.page);
    pages_->setCurrentIndex(static_cast<int>(page));
    // Restyling re-polishes the tabs, which is slow; sync runs on every event pass.
    if (static_cast<int>(page) != styledPage_) {
        styledPage_ = static_cast<int>(page);
        for (std::size_t i = 0; i < tabs_.size(); ++i) {
            // The chosen tab is opaque, the others let the dialog show through.
            tabs_[i]->setAutoFillBackground(i == page);
            tabs_[i]->setStyleSheet(i == page ? "background-color: #dfe7ef; border: 1px solid #8a9aac;" : "");
        }
    }
    labelBoxes_[0]->setChecked(dialog.ipLabelChecked);
    labelBoxes_[1]->setChecked(dialog.nameLabelChecked);
    labelBoxes_[2]->setChecked(dialog.ipNameLabelChecked);
    showPasswords_->setChecked(state_.domain.settings.showPasswords);
    const QString field = QString::fromStdString(dialog.namespaceField);
    if (namespaceField_->text() != field) namespaceField_->setText(field);
    const QString store = QString::fromStdString(dialog.storeField);
    if (storeField_->text() != store) storeField_->setText(store);
    if (parallelScans_->value() != state_.domain.settings.parallelScans)
        parallelScans_->setValue(state_.domain.settings.parallelScans);
    if (dialog.visible != isVisible()) setVisible(dialog.visible);
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    run([this] { settingsDialogOk(state_); });
}

void SettingsDialog::reject() { run([this] { settingsDialogOk(state_); }); }

}  // namespace vantrel::ui
