// vantrel-meshgen OUTDIR: writes every mesh file of the virtual PC into OUTDIR,
// with the pictures on its surfaces. Files whose frame names a text name token
// cannot hold are written binary.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "model/nameplate_picture.h"
#include "parts_table.h"
#include "surface_pictures.h"
#include "picture.h"
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
    const std::vector<MeshFileSpec> table = partsTable();
    for (const auto& entry : table) {
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
    int pictures = 0;
    for (const auto& [name, picture] : pictures::surfacePictures(table)) {
        if (!picture.writePng((out / name).string())) {
            std::cerr << "vantrel-meshgen: cannot write " << (out / name) << "\n";
            return 1;
        }
        ++pictures;
    }
    // The stickers that carry the parts' names, blank until a report names them.
    for (const auto kind : vantrel::model::kNameplateKinds) {
        const auto blank = vantrel::model::drawNameplate(kind, "");
        const auto path = out / vantrel::model::nameplateFile(kind);
        if (!writeRgbaPng(path.string(), blank.width, blank.height, blank.rgba)) {
            std::cerr << "vantrel-meshgen: cannot write " << path << "\n";
            return 1;
        }
        ++pictures;
    }
    std::cout << "vantrel-meshgen: " << seen.size() << " files and " << pictures << " pictures in " << out.string() << "\n";
    return 0;
}
