#pragma once
// Generated inputs of the benchmarks, written once per run to a temporary folder.

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::engine3d::bench {

// A text .x file of about 100,000 triangles (17 MB): a frame holding a mesh
// of unshared triangles with per-face normals and two materials.
const std::filesystem::path& largeTextFile();

// 250 small text .x files, each a frame with a transform and a box mesh.
const std::vector<std::filesystem::path>& smallTextFiles();

}  // namespace vantrel::engine3d::bench
