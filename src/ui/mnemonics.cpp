#include "ui/mnemonics.h"

namespace vantrel::ui {

std::vector<int> chooseMnemonics(const std::vector<QString>& captions, std::set<QChar> taken) {
    std::vector<int> positions;
    for (const QString& caption : captions) {
        int chosen = -1, first = -1;
        for (int i = 0; i < caption.size() && chosen < 0; ++i) {
            if (!caption[i].isLetterOrNumber()) continue;
            if (first < 0) first = i;
            if (!taken.count(caption[i].toUpper())) chosen = i;
        }
        if (chosen < 0) chosen = first;
        if (chosen >= 0) taken.insert(caption[chosen].toUpper());
        positions.push_back(chosen);
    }
    return positions;
}

}  // namespace vantrel::ui
