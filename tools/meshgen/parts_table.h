#pragma once
// The virtual PC's mesh files as data: for every file the frames it holds and
// the boxes and cylinders of each frame, in the coordinates of the part frame
// the file is loaded into. Names that the part labels need are the names of the
// frames holding that part's geometry; the other names only describe.

#include <string>
#include <vector>

#include "mesh_shapes.h"

namespace meshgen {

struct PartFrame {
    std::string name;
    std::vector<Primitive> primitives;
};

struct MeshFileSpec {
    std::string file;
    std::vector<PartFrame> frames;
};

// Every file of the model, 248 of them, each name once.
std::vector<MeshFileSpec> partsTable();

}  // namespace meshgen
