#pragma once
// The start-up window: dark grey, the program's name, a progress text and
// four progress marks.

#include <QWidget>
#include <array>

#include "core/program_state.h"

class QLabel;
class QFrame;

namespace vantrel::ui {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(const ProgramState& state, QWidget* parent = nullptr);
    void sync();

    QString progressText() const;
    bool markShown(int mark) const;  // 1..4

private:
    const ProgramState& state_;
    QLabel* progressLabel_;
    std::array<QFrame*, 4> marks_{};
};

}  // namespace vantrel::ui
