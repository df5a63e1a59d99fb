#pragma once
// The History list of a node: one row per scan (date, source, what changed),
// newest first. Choosing a row (double click, Enter or Show) closes the list
// and gives the scan's number.

#include <QDialog>
#include <optional>
#include <vector>

#include "store/inventory_store.h"

class QListWidget;

namespace vantrel::ui {

class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    HistoryDialog(const std::string& node, const std::vector<ScanInfo>& scans, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    // The scan chosen, once the dialog was accepted.
    std::optional<int> chosenScan() const;

private:
    QListWidget* list_;
    std::vector<int> numbers_;
};

}  // namespace vantrel::ui
