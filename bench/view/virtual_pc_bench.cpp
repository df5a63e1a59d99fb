// The virtual PC as the user meets it, from the media of this build and, when
// VANTREL_BASELINE_MEDIA names the media folder of an earlier build, from
// those too in the same run: the assembly, one frame of the all-parts view at
// 1024 x 768 with the view's device, and a pick at the middle of that view.
// Each benchmark runs the folders in turn and gives their times (and the
// triangles the all-parts view draws) as counters, with this build's time
// over the earlier one's as "ratio".

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
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

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Times of each folder's run in one benchmark, taken in turn, so that load on
// the machine hits them alike; counters in milliseconds and the ratio.
class Alternating {
public:
    explicit Alternating(std::size_t folders) : totals_(folders, 0.0) {}
    void add(std::size_t folder, double seconds) { totals_[folder] += seconds; }
    void report(benchmark::State& state, const std::vector<Media>& media) const {
        const auto n = static_cast<double>(state.iterations());
        for (std::size_t i = 0; i < media.size(); ++i) state.counters[media[i].label + "_ms"] = 1000 * totals_[i] / n;
        if (media.size() == 2 && totals_[1] > 0) state.counters["ratio"] = totals_[0] / totals_[1];
    }

private:
    std::vector<double> totals_;
};

// Processor time of the assembly (one thread), each folder in turn.
void BM_Assembly(benchmark::State& state) {
    const auto media = mediaFolders();
    Alternating times(media.size());
    for (auto _ : state)
        for (std::size_t i = 0; i < media.size(); ++i) {
            const double start = threadSeconds();
            model::VirtualPc pc;
            engine3d::RecordingDevice device;
            pc.MediaFolder = media[i].folder;
            device.setTextureFolder(media[i].folder);
            model::load_start(pc, device);
            times.add(i, threadSeconds() - start);
            if (!pc.failedLoads.empty()) state.SkipWithError(("a mesh file did not load from " + media[i].folder).c_str());
        }
    times.report(state, media);
}
BENCHMARK(BM_Assembly)->Unit(benchmark::kMillisecond);

// One frame of the all-parts view to the end of the renderer's work, each
// folder's scene in turn on the same device; the triangles drawn as counters.
void BM_AllPartsFrame(benchmark::State& state) {
    const auto media = mediaFolders();
    std::vector<std::unique_ptr<ShownPc>> shown;
    for (const auto& m : media) {
        shown.push_back(std::make_unique<ShownPc>(m.folder));
        state.counters[m.label + "_triangles"] = static_cast<double>(trianglesShown(shown.back()->pc.SceneRoot));
    }
    view::OffscreenView v(1024, 768, 0x00303040);
    auto draw = [&](std::size_t i) {
        v.useScene(shown[i]->pc.SceneRoot, shown[i]->pc.ModelFrame, shown[i]->pc.PcRoot);
        const auto start = std::chrono::steady_clock::now();
        v.view().RenderScene();
        glFinish();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    for (std::size_t i = 0; i < media.size(); ++i) draw(i);  // uploads happen once, before timing
    Alternating times(media.size());
    for (auto _ : state)
        for (std::size_t i = 0; i < media.size(); ++i) times.add(i, draw(i));
    times.report(state, media);
}
BENCHMARK(BM_AllPartsFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A click in the middle of the all-parts view, as the view picks.
void BM_PickAtMiddle(benchmark::State& state) {
    const auto media = mediaFolders();
    std::vector<std::unique_ptr<ShownPc>> shown;
    for (const auto& m : media) shown.push_back(std::make_unique<ShownPc>(m.folder));
    view::OffscreenView v(1024, 768, 0x00303040);
    v.useScene(shown[0]->pc.SceneRoot, shown[0]->pc.ModelFrame, shown[0]->pc.PcRoot);
    v.view().RenderScene();  // sets the transforms the pick reads
    engine3d::CD3DPick picker(v.device());
    Alternating times(media.size());
    for (auto _ : state)
        for (std::size_t i = 0; i < media.size(); ++i) {
            const double start = threadSeconds();
            picker.ViewportPick(shown[i]->pc.PcRoot, 512, 384);
            benchmark::DoNotOptimize(picker.FindNearest());
            times.add(i, threadSeconds() - start);
            if (picker.GetCount() == 0) state.SkipWithError("the pick hit nothing");
        }
    times.report(state, media);
}
BENCHMARK(BM_PickAtMiddle)->Unit(benchmark::kMicrosecond);

}  // namespace
