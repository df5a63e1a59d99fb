#pragma once
// Alt+letter for the panel buttons: each takes the first letter of its
// caption that no section caption and no earlier button holds, or, when every
// letter is taken, its first letter, which it then shares (pressing it again
// moves on to the next button with that letter, as mnemonics do).

#include <QChar>
#include <QString>
#include <set>
#include <vector>

namespace vantrel::ui {

// For each caption the position of its letter, -1 for an empty caption.
// `taken` holds the letters already in use, in upper case.
std::vector<int> chooseMnemonics(const std::vector<QString>& captions, std::set<QChar> taken);

}  // namespace vantrel::ui
