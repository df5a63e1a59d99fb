#pragma once
// A texture of the GL device. Like Direct3D's managed textures it keeps its
// picture in memory, so it survives a lost context: it uploads again the first
// time it is bound in a new one.

#include <memory>
#include <string>

#include "engine3d/device/render_device.h"
#include "render_gl/image_file.h"

namespace vantrel::render_gl {

class GlTexture : public engine3d::D3DTexture {
public:
    // None when the file is missing or not a picture we read.
    static std::shared_ptr<GlTexture> fromFile(const std::string& path);
    GlTexture(std::string sourceName, RgbaImage image);

    // The GL name for the context of that generation, uploaded when needed.
    unsigned bind(int generation);
    // Deletes the GL name if it belongs to that generation's context.
    void release(int generation);
    const RgbaImage& image() const { return image_; }

private:
    RgbaImage image_;
    unsigned id_ = 0;
    int generation_ = -1;
};

}  // namespace vantrel::render_gl
