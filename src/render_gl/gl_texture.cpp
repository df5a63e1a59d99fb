#include "render_gl/gl_texture.h"

#include <algorithm>
#include <exception>
#include <semaphore>
#include <thread>
#include <utility>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "render_gl/mip_chain.h"

namespace vantrel::render_gl {
namespace {

std::vector<RgbaImage> withMipmaps(RgbaImage picture) {
    const bool whole = picture.width > 0 && picture.height > 0 &&
                       picture.pixels.size() == static_cast<std::size_t>(picture.width) * picture.height * 4;
    if (!whole) return {};
    std::vector<RgbaImage> levels = mipChain(picture);
    levels.insert(levels.begin(), std::move(picture));
    return levels;
}

// A model names a few dozen pictures at once: as many decode at a time as
// there are cores, the rest wait their turn instead of crowding them.
std::counting_semaphore<>& decodeSlots() {
    static std::counting_semaphore<> slots(std::clamp<std::ptrdiff_t>(std::thread::hardware_concurrency(), 1, 16));
    return slots;
}

std::vector<RgbaImage> decodeWithMipmaps(const std::vector<std::uint8_t>& bytes) {
    decodeSlots().acquire();
    std::vector<RgbaImage> levels;
    try {
        if (auto picture = decodePicture(bytes)) levels = withMipmaps(std::move(*picture));
    } catch (const std::exception&) {
        levels.clear();  // out of memory for a huge picture: it draws untextured
    }
    decodeSlots().release();
    return levels;
}

}  // namespace

std::shared_ptr<GlTexture> GlTexture::fromFile(const std::string& path) {
    auto bytes = readPictureFile(path);
    if (!bytes) return nullptr;
    std::shared_ptr<GlTexture> texture(new GlTexture(path));
    texture->decoding_ = std::async(std::launch::async, [bytes = std::move(*bytes)] { return decodeWithMipmaps(bytes); });
    return texture;
}

GlTexture::GlTexture(std::string sourceName) : D3DTexture(std::move(sourceName)) {}

GlTexture::GlTexture(std::string sourceName, RgbaImage image)
    : D3DTexture(std::move(sourceName)), levels_(withMipmaps(std::move(image))) {}

// The future of std::async waits for its decoding when it goes.
GlTexture::~GlTexture() = default;

const std::vector<RgbaImage>& GlTexture::levels() {
    if (decoding_.valid()) levels_ = decoding_.get();
    return levels_;
}

unsigned GlTexture::bind(int generation, bool storage) {
    if (generation_ == generation && id_ != 0) return id_;
    const std::vector<RgbaImage>& pictures = levels();
    if (pictures.empty()) return 0;
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Rows go up top row first, so texture coordinate v = 0 is the picture's
    // top edge, as in Direct3D.
    // Level by level, a software GL allocates (and clears) storage for each
    // and then again for the whole chain: one allocation is half the work.
    if (storage)
        glTexStorage2D(GL_TEXTURE_2D, static_cast<GLsizei>(pictures.size()), GL_RGBA8, pictures[0].width,
                       pictures[0].height);
    for (std::size_t level = 0; level < pictures.size(); ++level) {
        const RgbaImage& picture = pictures[level];
        if (storage)
            glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, picture.width, picture.height, GL_RGBA,
                            GL_UNSIGNED_BYTE, picture.pixels.data());
        else
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGBA8, picture.width, picture.height, 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, picture.pixels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(pictures.size() - 1));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    id_ = id;
    generation_ = generation;
    return id_;
}

void GlTexture::release(int generation) {
    if (generation_ == generation && id_ != 0) {
        GLuint id = id_;
        glDeleteTextures(1, &id);
    }
    id_ = 0;
    generation_ = -1;
}

}  // namespace vantrel::render_gl
