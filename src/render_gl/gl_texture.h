#pragma once
// A texture of the GL device. Like Direct3D's managed textures it keeps its
// picture in memory, so it survives a lost context: it uploads again the first
// time it is bound in a new one.

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/device/render_device.h"
#include "render_gl/image_file.h"

namespace vantrel::render_gl {

class GlTexture : public engine3d::D3DTexture {
public:
    // None when the file is missing or does not start like a picture we read.
    // The pixels are decoded on a worker thread while the caller goes on
    // loading the model; the first bind waits for them.
    static std::shared_ptr<GlTexture> fromFile(const std::string& path);
    GlTexture(std::string sourceName, RgbaImage image);
    ~GlTexture() override;

    // The GL name for the context of that generation, uploaded when needed;
    // 0 when the picture turned out to be damaged, which draws untextured.
    // With storage (OpenGL 4.2), all levels are allocated at once.
    unsigned bind(int generation, bool storage = false);
    // Deletes the GL name if it belongs to that generation's context.
    void release(int generation);

private:
    explicit GlTexture(std::string sourceName);
    // The picture and its mipmap levels, largest first; empty when damaged.
    const std::vector<RgbaImage>& levels();

    std::future<std::vector<RgbaImage>> decoding_;
    std::vector<RgbaImage> levels_;
    unsigned id_ = 0;
    int generation_ = -1;
};

}  // namespace vantrel::render_gl
