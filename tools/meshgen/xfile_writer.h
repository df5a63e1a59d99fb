#pragma once
// Writes frames holding one mesh each as a DirectX .x file, in the text or the
// binary encoding. Binary keeps any name byte for byte, which a text name token
// cannot (a trailing blank, for instance).

#include <string>
#include <vector>

#include "mesh_shapes.h"

namespace meshgen {

struct XFrame {
    std::string name;
    Mesh mesh;
};

enum class XEncoding { Text, Binary };

// The whole file as bytes.
std::string writeXFile(const std::vector<XFrame>& frames, XEncoding encoding);

// True when a name can stand as a text name token.
bool isTextName(const std::string& name);

}  // namespace meshgen
