#include "bench_files.h"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace vantrel::engine3d::bench {
namespace {

std::filesystem::path folder() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / "vantrel_engine3d_bench";
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

void appendf(std::string& out, const char* fmt, double a, double b, double c) {
    char buf[512];
    const int n = std::snprintf(buf, sizeof buf, fmt, a, b, c);
    out.append(buf, static_cast<std::size_t>(n));
}

const char* kMaterials =
    "  MeshMaterialList {\n    2;\n    %d;\n";

}  // namespace

const std::filesystem::path& largeTextFile() {
    static const std::filesystem::path path = [] {
        const auto p = folder() / "large.x";
        constexpr int kTriangles = 100000;
        std::string s;
        s.reserve(18u << 20);
        s += "xof 0303txt 0032\nFrame Large {\n FrameTransformMatrix {\n  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,"
             "0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n Mesh LargeMesh {\n  ";
        s += std::to_string(kTriangles * 3) + ";\n";
        // A wavy sheet cut into unshared triangles.
        for (int t = 0; t < kTriangles; ++t) {
            const double x = (t % 400) * 0.731, y = (t / 400) * 0.917;
            const double corners[3][2] = {{x, y}, {x, y + 0.9}, {x + 0.7, y}};
            for (int k = 0; k < 3; ++k) {
                const double cx = corners[k][0], cy = corners[k][1];
                appendf(s, "  %.6f;%.6f;%.6f;", cx - 146.2, cy - 114.6, std::sin(cx * 0.1) * std::cos(cy * 0.1) * 12.5);
                s += (t == kTriangles - 1 && k == 2) ? ";\n" : ",\n";
            }
        }
        s += "  " + std::to_string(kTriangles) + ";\n";
        for (int t = 0; t < kTriangles; ++t) {
            const int b = t * 3;
            s += "  3;" + std::to_string(b) + "," + std::to_string(b + 1) + "," + std::to_string(b + 2) +
                 (t == kTriangles - 1 ? ";;\n" : ";,\n");
        }
        s += "  MeshNormals {\n   " + std::to_string(kTriangles) + ";\n";
        for (int t = 0; t < kTriangles; ++t) {
            const double a = t * 0.001;
            appendf(s, "   %.6f;%.6f;%.6f;", std::sin(a) * 0.2, std::cos(a) * 0.2, -0.959166);
            s += t == kTriangles - 1 ? ";\n" : ",\n";
        }
        s += "   " + std::to_string(kTriangles) + ";\n";
        for (int t = 0; t < kTriangles; ++t) {
            const std::string n = std::to_string(t);
            s += "   3;" + n + "," + n + "," + n + (t == kTriangles - 1 ? ";;\n" : ";,\n");
        }
        s += "  }\n";
        char head[128];
        std::snprintf(head, sizeof head, kMaterials, kTriangles);
        s += head;
        for (int t = 0; t < kTriangles; ++t) {
            s += (t & 1) ? "1" : "0";
            s += t == kTriangles - 1 ? ";;\n" : ",\n";
        }
        s += "    Material Grey { 0.5;0.5;0.5;1.0;; 8.0; 0.2;0.2;0.2;; 0.0;0.0;0.0;; }\n";
        s += "    Material Blue { 0.1;0.2;0.9;1.0;; 8.0; 0.2;0.2;0.2;; 0.0;0.0;0.0;; }\n  }\n }\n}\n";
        std::ofstream(p, std::ios::binary) << s;
        return p;
    }();
    return path;
}

const std::vector<std::filesystem::path>& smallTextFiles() {
    static const std::vector<std::filesystem::path> files = [] {
        std::vector<std::filesystem::path> out;
        for (int i = 0; i < 250; ++i) {
            const auto p = folder() / ("part" + std::to_string(i) + ".x");
            std::string s = "xof 0303txt 0032\nFrame part" + std::to_string(i) + " {\n FrameTransformMatrix {\n";
            appendf(s, "  1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,"
                       "1.000000,0.000000,%.6f,%.6f,%.6f,1.000000;;\n }\n", i * 0.5, (i % 7) * 0.25, 0);
            s += " Mesh box {\n  8;\n";
            for (int v = 0; v < 8; ++v) {
                appendf(s, "  %.6f;%.6f;%.6f;", v & 1 ? 1.0 : -1.0, v & 2 ? 2.0 : -2.0, v & 4 ? 0.5 : -0.5);
                s += v == 7 ? ";\n" : ",\n";
            }
            s += "  6;\n  4;0,2,3,1;,\n  4;4,5,7,6;,\n  4;0,1,5,4;,\n  4;2,6,7,3;,\n  4;0,4,6,2;,\n  4;1,3,7,5;;\n";
            s += "  MeshNormals {\n   6;\n   0.000000;0.000000;-1.000000;,\n   0.000000;0.000000;1.000000;,\n"
                 "   0.000000;-1.000000;0.000000;,\n   0.000000;1.000000;0.000000;,\n"
                 "   -1.000000;0.000000;0.000000;,\n   1.000000;0.000000;0.000000;;\n   6;\n"
                 "   4;0,0,0,0;,\n   4;1,1,1,1;,\n   4;2,2,2,2;,\n   4;3,3,3,3;,\n   4;4,4,4,4;,\n   4;5,5,5,5;;\n  }\n";
            s += "  MeshMaterialList {\n   1;\n   1;\n   0;;\n   Material {\n    0.600000;0.600000;0.600000;1.000000;;\n"
                 "    10.000000;\n    0.100000;0.100000;0.100000;;\n    0.000000;0.000000;0.000000;;\n   }\n  }\n";
            s += " }\n}\n";
            std::ofstream(p, std::ios::binary) << s;
            out.push_back(p);
        }
        return out;
    }();
    return files;
}

}  // namespace vantrel::engine3d::bench
