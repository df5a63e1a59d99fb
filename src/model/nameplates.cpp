#include "model/nameplates.h"

#include <functional>

#include "engine3d/device/picture_texture.h"

namespace vantrel::model {
namespace {

using engine3d::FramePtr;

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void eachMesh(const FramePtr& frame, const std::function<void(const engine3d::MeshPtr&)>& f) {
    if (!frame) return;
    for (engine3d::DWORD i = 0; i < frame->GetChildMeshCount(); ++i) f(frame->GetChildMesh(i));
    for (engine3d::DWORD i = 0; i < frame->GetChildFrameCount(); ++i) eachMesh(frame->GetChildFrame(i), f);
}

}  // namespace

void Nameplates::print(const FramePtr& part, NameplateKind kind, const std::string& text) {
    if (text.empty()) return;
    const std::string file = nameplateFile(kind);
    // A long report line is cut well before it could cost time; the sticker
    // shows a few words at most.
    const std::string key = text.substr(0, 400);
    if (drawn_.size() >= 64) drawn_.clear();  // many nodes shown in turn: meshes keep what they show
    engine3d::TexturePtr& picture = drawn_[{kind, key}];
    if (!picture) {
        NameplatePicture drawn = drawNameplate(kind, key);
        picture = std::make_shared<engine3d::PictureTexture>(file + ": " + key, drawn.width, drawn.height, std::move(drawn.rgba));
    }
    eachMesh(part, [&](const engine3d::MeshPtr& mesh) {
        for (engine3d::DWORD m = 0; m < mesh->GetMaterialCount(); ++m) {
            const std::string& name = mesh->GetTextureName(m);
            if (name != file && !endsWith(name, "/" + file) && !endsWith(name, "\\" + file)) continue;
            bool known = false;
            for (const auto& p : printed_) known = known || (p.mesh.lock() == mesh && p.material == m);
            if (!known) printed_.push_back({mesh, m, mesh->GetMaterialTexture(m)});
            mesh->SetMaterialTexture(m, picture);
        }
    });
}

void Nameplates::clear() {
    for (const auto& p : printed_)
        if (auto mesh = p.mesh.lock()) mesh->SetMaterialTexture(p.material, p.blank);
    printed_.clear();
}

}  // namespace vantrel::model
