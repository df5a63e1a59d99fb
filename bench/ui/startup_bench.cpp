// Start-up to a drawn main window, against the time an empty QOpenGLWidget
// window takes to show its first frame, measured side by side in the same
// run. Needs an X server (run it under xvfb-run). The start-up includes the
// 3D device and the assembly of the virtual PC from its mesh files. Both
// clocks stop when a frame is on screen: the GL widget's frameSwapped, which
// comes after the window's composition and buffer swap.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QTest>

#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "ui/desktop_app.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"
#include "ui/scene_view_widget.h"
#include "ui/view_panel.h"

namespace {

using namespace vantrel;

class FirstFrameWidget : public QOpenGLWidget, protected QOpenGLFunctions {
protected:
    void initializeGL() override { initializeOpenGLFunctions(); }
    void paintGL() override {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

double emptyGlWindowSeconds = 0;

void BM_EmptyOpenGlWindowFirstFrame(benchmark::State& st) {
    double total = 0;
    for (auto _ : st) {
        QElapsedTimer clock;
        clock.start();
        FirstFrameWidget window;
        bool shown = false;
        QObject::connect(&window, &QOpenGLWidget::frameSwapped, [&] { shown = true; });
        window.resize(1100, 780);
        window.show();
        if (!QTest::qWaitFor([&] { return shown; }, 10000)) st.SkipWithError("no first frame");
        const double seconds = clock.nsecsElapsed() / 1e9;
        st.SetIterationTime(seconds);
        total += seconds;
    }
    emptyGlWindowSeconds = total / static_cast<double>(st.iterations());
}

void BM_StartupToDrawnMainWindow(benchmark::State& st) {
    test::TempFolder home;
    test::writeBytes(home.path() / "vantrel.ini", "admin\r\nsecret\r\n0\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n");
    std::string logins;
    for (int i = 1; i <= 32; ++i)
        logins += "PC-" + std::to_string(i) + "\r\n10.0.0." + std::to_string(i) + "\r\nPC-" + std::to_string(i) +
                  "\r\nTrue\r\n\r\n\r\nFalse\r\n";
    test::writeBytes(home.path() / "lg.ini", logins);
    double total = 0;
    for (auto _ : st) {
        ui::QtUiServices services;
        QElapsedTimer clock;
        clock.start();
        ui::DesktopSession session(home.path(), services);
        ui::SceneViewWidget* view = session.main().sceneView()->view();
        if (!view) {
            st.SkipWithError("this display has no OpenGL");
            break;
        }
        // A frame swapped once the model is ready shows the model.
        bool shown = false;
        QObject::connect(view, &QOpenGLWidget::frameSwapped, [&] { shown = shown || session.virtualPc().ModelReady; });
        if (!session.start()) st.SkipWithError("start-up ended the program");
        if (!QTest::qWaitFor([&] { return shown; }, 10000)) st.SkipWithError("the model was never on screen");
        const double seconds = clock.nsecsElapsed() / 1e9;
        st.SetIterationTime(seconds);
        total += seconds;
        session.main().hide();
    }
    if (emptyGlWindowSeconds > 0)
        st.counters["x_empty_gl_window"] = total / static_cast<double>(st.iterations()) / emptyGlWindowSeconds;
}

BENCHMARK(BM_EmptyOpenGlWindowFirstFrame)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupToDrawnMainWindow)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
