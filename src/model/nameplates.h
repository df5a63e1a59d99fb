#pragma once
// The names a report gives the processor, disks, graphics and memory, printed
// on those parts: the blank sticker a mesh file names is swapped for a
// picture with the name, and the model reset puts the blank one back.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine3d/scene/cd3d_frame.h"
#include "model/nameplate_picture.h"

namespace vantrel::model {

class Nameplates {
public:
    // Prints text on every sticker of that kind under part (its own meshes
    // and the frames below). An empty text leaves the blank sticker.
    void print(const engine3d::FramePtr& part, NameplateKind kind, const std::string& text);
    // Every printed sticker shows blank again.
    void clear();

private:
    struct Printed {
        std::weak_ptr<engine3d::CD3DMesh> mesh;
        engine3d::DWORD material;
        engine3d::TexturePtr blank;
    };
    std::vector<Printed> printed_;
    // Pictures already drawn, by kind and text: a report shown again draws nothing.
    std::map<std::pair<NameplateKind, std::string>, engine3d::TexturePtr> drawn_;
};

}  // namespace vantrel::model
