// The virtual PC as the user meets it, from the media of this build and, when
// VANTREL_BASELINE_MEDIA names the media folder of an earlier build, from
// those too in the same run: the assembly, one frame of the all-parts view at
// 1024 x 768 with the view's device, and a pick at the middle of that view.
// Ratios against the earlier media are printed at the end, with the
// triangles the all-parts view draws.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "engine3d/device/recording_device.h"
#include "engine3d/scene/cd3d_pick.h"
#include "model/assembly.h"
#include "model/display_modes.h"
#include "view/offscreen_view.h"

namespace {

using namespace vantrel;

struct Media {
    std::string label, folder;  // folder ends with a separator
};

std::vector<Media> mediaFolders() {
    std::vector<Media> out{{"this_build", std::string(VANTREL_MEDIA_DIR) + "/"}};
    if (const char* baseline = std::getenv("VANTREL_BASELINE_MEDIA"); baseline && *baseline)
        out.push_back({"baseline", std::string(baseline) + "/"});
    return out;
}

// The assembled PC in the all-parts view.
struct ShownPc {
    model::VirtualPc pc;
    engine3d::RecordingDevice device;
    explicit ShownPc(const std::string& folder) {
        pc.MediaFolder = folder;
        device.setTextureFolder(folder);
        model::load_start(pc, device);
        model::showAllParts(pc);
    }
};

long long trianglesShown(const engine3d::FramePtr& frame) {
    if (!frame || !frame->Enabled) return 0;
    long long n = 0;
    for (engine3d::DWORD i = 0; i < frame->GetChildMeshCount(); ++i) {
        const auto mesh = frame->GetChildMesh(i);
        if (mesh && mesh->mesh) n += static_cast<long long>(mesh->mesh->faceCount());
    }
    for (engine3d::DWORD i = 0; i < frame->GetChildFrameCount(); ++i) n += trianglesShown(frame->GetChildFrame(i));
    return n;
}

std::map<std::string, long long> triangles;

void assemble(benchmark::State& state, const Media& media) {
    for (auto _ : state) {
        model::VirtualPc pc;
        engine3d::RecordingDevice device;
        pc.MediaFolder = media.folder;
        device.setTextureFolder(media.folder);
        model::load_start(pc, device);
        if (!pc.failedLoads.empty()) state.SkipWithError("a mesh file did not load");
        benchmark::DoNotOptimize(pc.PcRoot);
    }
}

void frame(benchmark::State& state, const Media& media) {
    ShownPc shown(media.folder);
    triangles[media.label] = trianglesShown(shown.pc.SceneRoot);
    view::OffscreenView v(1024, 768, 0x00303040);
    v.useScene(shown.pc.SceneRoot, shown.pc.ModelFrame, shown.pc.PcRoot);
    v.view().RenderScene();  // uploads happen once, before timing
    glFinish();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        v.view().RenderScene();
        glFinish();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

void pick(benchmark::State& state, const Media& media) {
    ShownPc shown(media.folder);
    view::OffscreenView v(1024, 768, 0x00303040);
    v.useScene(shown.pc.SceneRoot, shown.pc.ModelFrame, shown.pc.PcRoot);
    v.view().RenderScene();  // sets the transforms the pick reads
    engine3d::CD3DPick picker(v.device());
    for (auto _ : state) {
        picker.ViewportPick(shown.pc.PcRoot, 512, 384);
        benchmark::DoNotOptimize(picker.FindNearest());
    }
    if (picker.GetCount() == 0) state.SkipWithError("the pick hit nothing");
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;  // per iteration: processor time, or the manual time of frames
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (!r.error_occurred && r.iterations > 0 && r.run_type == Run::RT_Iteration)
                seconds[r.benchmark_name()] =
                    (r.benchmark_name().find("manual_time") != std::string::npos ? r.real_accumulated_time
                                                                                 : r.cpu_accumulated_time) /
                    static_cast<double>(r.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const auto folders = mediaFolders();
    // Each measure for every folder in turn, so that load on the machine hits them alike.
    for (const auto& m : folders)
        benchmark::RegisterBenchmark(("Assemble/" + m.label).c_str(), assemble, m)->Unit(benchmark::kMillisecond);
    for (const auto& m : folders)
        benchmark::RegisterBenchmark(("Frame1024x768/" + m.label).c_str(), frame, m)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(2.0);
    for (const auto& m : folders)
        benchmark::RegisterBenchmark(("PickAtMiddle/" + m.label).c_str(), pick, m)->Unit(benchmark::kMicrosecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& s = reporter.seconds;
    auto time = [&](const std::string& prefix, const std::string& label) -> double {
        for (const auto& [name, t] : s)
            if (name.rfind(prefix + "/" + label, 0) == 0) return t;
        return 0;
    };
    for (const auto& m : folders)
        std::printf("%s: %lld triangles in the all-parts view (budget 300000); pick %.3f ms (budget 1 ms)\n", m.label.c_str(),
                    triangles[m.label], time("PickAtMiddle", m.label) * 1e3);
    if (folders.size() == 2) {
        const double assembly = time("Assemble", "baseline"), frame = time("Frame1024x768", "baseline");
        if (assembly > 0)
            std::printf("Assembly: %.2fx the baseline's time (budget 1.5x)\n", time("Assemble", "this_build") / assembly);
        if (frame > 0) std::printf("Frame: %.2fx the baseline's time (budget 2x)\n", time("Frame1024x768", "this_build") / frame);
    }
    benchmark::Shutdown();
    return 0;
}
