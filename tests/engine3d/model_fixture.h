#pragma once
// data/model.x written in the binary encoding, token by token.

#include "test_support.h"

namespace vantrel::engine3d::test {

inline std::vector<std::uint8_t> binaryModel(bool doubles) {
    BinaryXWriter w(doubles);
    w.name("Frame").name("Box").open();
    w.name("FrameTransformMatrix").open().floats({2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 5, 6, 7, 1}).close();
    w.name("Mesh").name("BoxMesh").open();
    w.ints({4}).floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}).ints({1, 4, 0, 1, 2, 3});
    w.name("MeshMaterialList").open().ints({1, 1, 0});
    w.name("Material").name("Paint").open().floats({0.2, 0.4, 0.6, 1.0, 12.5, 1, 1, 1, 0, 0, 0});
    w.name("TextureFilename").open().str("paint.png").close();
    w.close().close().close().close();
    return w.file();
}

}  // namespace vantrel::engine3d::test
