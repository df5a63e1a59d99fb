#pragma once
// Where the main window stands between runs: "window.ini" in the program
// folder, one line "left top width height" in logical pixels. The window
// comes up where it was left, but never larger than the screen it is on nor
// outside it.

#include <QRect>
#include <filesystem>
#include <optional>

namespace vantrel::ui {

// The saved rectangle; nothing when the file is missing or not four numbers
// with a positive size.
std::optional<QRect> readWindowGeometry(const std::filesystem::path& file);
// Written whole or not at all (a temporary file renamed over the old one).
bool writeWindowGeometry(const std::filesystem::path& file, const QRect& geometry);

// wanted, shrunk to fit available and moved into it.
QRect fitToAvailable(const QRect& wanted, const QRect& available);

}  // namespace vantrel::ui
