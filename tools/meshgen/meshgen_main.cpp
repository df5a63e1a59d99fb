// vantrel-meshgen OUTDIR: writes every mesh file of the virtual PC into OUTDIR.
// Files whose frame names a text name token cannot hold are written binary.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "parts_table.h"
#include "xfile_writer.h"

int main(int argc, char** argv) {
    using namespace meshgen;
    if (argc != 2) {
        std::cerr << "usage: vantrel-meshgen OUTDIR\n";
        return 1;
    }
    const std::filesystem::path out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    std::set<std::string> seen;
    for (const auto& entry : partsTable()) {
        if (!seen.insert(entry.file).second) {
            std::cerr << "vantrel-meshgen: " << entry.file << " is described twice\n";
            return 1;
        }
        std::vector<XFrame> frames;
        bool binary = false;
        for (const auto& f : entry.frames) {
            frames.push_back({f.name, buildMesh(f.primitives)});
            binary = binary || !isTextName(f.name);
        }
        const std::string bytes = writeXFile(frames, binary ? XEncoding::Binary : XEncoding::Text);
        // Unchanged files keep their time stamps, so nothing downstream rebuilds.
        const auto path = out / entry.file;
        {
            std::ifstream old(path, std::ios::binary);
            std::string current((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
            if (old && current == bytes) continue;
        }
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << bytes;
        if (!file) {
            std::cerr << "vantrel-meshgen: cannot write " << path << "\n";
            return 1;
        }
    }
    std::cout << "vantrel-meshgen: " << seen.size() << " files in " << out.string() << "\n";
    return 0;
}
