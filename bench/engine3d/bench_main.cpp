// Runs the benchmarks and states each comparison as a ratio measured in this
// same run, so the figures hold on any machine.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;  // per iteration
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& r : runs)
            if (!r.error_occurred && r.iterations > 0)
                seconds[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
};

void ratio(const RatioReporter& rep, const char* ours, const char* theirs, const char* what) {
    auto a = rep.seconds.find(ours), b = rep.seconds.find(theirs);
    if (a == rep.seconds.end() || b == rep.seconds.end()) return;
    std::printf("%-58s %6.2fx faster than Assimp's raw import\n", what, b->second / a->second);
}

// Time per item of the largest input against the smallest: 1.0 is linear.
void growth(const RatioReporter& rep, const char* smallest, double smallItems, const char* largest,
            double largeItems, const char* what) {
    auto a = rep.seconds.find(smallest), b = rep.seconds.find(largest);
    if (a == rep.seconds.end() || b == rep.seconds.end()) return;
    const double perSmall = a->second / smallItems, perLarge = b->second / largeItems;
    std::printf("%-58s %8.3f us -> %8.3f us per item, %5.2fx (limit 1.5x)\n", what, perSmall * 1e6, perLarge * 1e6,
                perLarge / perSmall);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    ratio(reporter, "BM_LargeText_OurReader/min_time:2.000", "BM_LargeText_AssimpRawImport/min_time:2.000",
          "Large text file, reader alone:");
    ratio(reporter, "BM_LargeText_OurFrames/min_time:2.000", "BM_LargeText_AssimpRawImport/min_time:2.000",
          "Large text file, reader + frames and meshes:");
    ratio(reporter, "BM_SmallFiles250_OurFrames/min_time:1.000", "BM_SmallFiles250_AssimpRawImport/min_time:1.000",
          "250 small files into frames:");
    const std::pair<const char*, const char*> picks[] = {
        {"BM_Pick100kTriangles_100Parts", "Pick over 100,000 triangles in 100 parts:"},
        {"BM_Pick100kTriangles_OneMesh", "Pick over 100,000 triangles in one mesh:"}};
    for (const auto& [name, what] : picks) {
        auto pick = reporter.seconds.find(name);
        if (pick != reporter.seconds.end()) std::printf("%-58s %8.3f ms (limit 2 ms)\n", what, pick->second * 1e3);
    }
    growth(reporter, "BM_ManyNormalsMesh/20000/min_time:1.000", 20000, "BM_ManyNormalsMesh/80000/min_time:1.000",
           80000, "Mesh of 16 positions, 20,000 to 80,000 faces:");
    growth(reporter, "BM_ManyTemplates/10000/min_time:1.000", 10000, "BM_ManyTemplates/40000/min_time:1.000", 40000,
           "File of 10,000 to 40,000 templates:");
    benchmark::Shutdown();
    return 0;
}
