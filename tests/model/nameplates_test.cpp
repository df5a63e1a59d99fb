// The parts' own names: stickers drawn with the text of a report line, whatever
// its bytes, and printed on the processor, disk, graphics card and memory
// modules when a node is shown; the reset puts the blank stickers back.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "collect/collection_run.h"
#include "collect/show_node.h"
#include "engine3d/device/picture_texture.h"
#include "model/builders.h"
#include "model/display_modes.h"
#include "model/model_fixture.h"
#include "model/model_session.h"
#include "model/nameplate_picture.h"
#include "support/collect_fixture.h"

namespace vantrel::model {
namespace {

using engine3d::FramePtr;
using engine3d::TexturePtr;

// Pixels that differ from the blank sticker of that kind.
int inked(NameplateKind kind, const NameplatePicture& p) {
    const NameplatePicture blank = drawNameplate(kind, "");
    int n = 0;
    for (std::size_t i = 0; i + 3 < p.rgba.size() && i + 3 < blank.rgba.size(); i += 4)
        if (p.rgba[i] != blank.rgba[i] || p.rgba[i + 1] != blank.rgba[i + 1] || p.rgba[i + 2] != blank.rgba[i + 2]) ++n;
    return n;
}

// Bands of picture rows holding ink: one per line of text.
int textLines(NameplateKind kind, const NameplatePicture& p) {
    const NameplatePicture blank = drawNameplate(kind, "");
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < p.height; ++y) {
        bool ink = false;
        for (int x = 0; x < p.width && !ink; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * p.width + x) * 4;
            ink = p.rgba[i] != blank.rgba[i];
        }
        if (ink && !inBand) ++bands;
        inBand = ink;
    }
    return bands;
}

TEST(NameplatePicture, NamesOfAnyLengthAndAnyBytesFitTheirSticker) {
    ASSERT_TRUE(nameplateFontAvailable()) << "the DejaVu font of fonts-dejavu-core is missing";
    struct Case {
        NameplateKind kind;
        std::string text;
        int lines;  // 0: nothing printed
    };
    const Case cases[] = {
        {NameplateKind::Disk, "Example HD 500", 2},
        {NameplateKind::Processor, "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz", 2},
        {NameplateKind::Processor, std::string(300, 'W'), 1},  // no blank to break at: cut
        {NameplateKind::Graphics, "Example Graphics", 2},
        {NameplateKind::Memory, "DIMM Bank 2", 2},
        {NameplateKind::Disk, "   ", 0},
        {NameplateKind::Disk, "", 0},
        {NameplateKind::Graphics, std::string("\xff\xfe\x80 GPU \xe2\x82", 8) + std::string(10000, 'x'), 1},
        {NameplateKind::Processor, "Caf\xc3\xa9\t\r\nCPU\x01", 1},
    };
    for (const auto& c : cases) {
        const NameplatePicture p = drawNameplate(c.kind, c.text);
        const NameplatePicture blank = drawNameplate(c.kind, "");
        ASSERT_EQ(p.rgba.size(), static_cast<std::size_t>(p.width) * p.height * 4) << c.text.substr(0, 40);
        EXPECT_EQ(p.width, blank.width);
        EXPECT_EQ(p.height, blank.height);
        EXPECT_EQ(textLines(c.kind, p), c.lines) << c.text.substr(0, 40);
        if (c.lines > 0) {
            EXPECT_GT(inked(c.kind, p), 100) << c.text.substr(0, 40);
        }
    }
}

// The texture of the first material under part whose blank sticker is file.
TexturePtr stickerOf(const FramePtr& part, const std::string& file) {
    TexturePtr found;
    bool seen = false;
    std::function<void(const FramePtr&)> walk = [&](const FramePtr& f) {
        for (engine3d::DWORD i = 0; i < f->GetChildMeshCount() && !seen; ++i) {
            const auto mesh = f->GetChildMesh(i);
            for (engine3d::DWORD m = 0; m < mesh->GetMaterialCount() && !seen; ++m)
                if (mesh->GetTextureName(m) == file) {
                    found = mesh->GetMaterialTexture(m);
                    seen = true;
                }
        }
        for (engine3d::DWORD i = 0; i < f->GetChildFrameCount() && !seen; ++i) walk(f->GetChildFrame(i));
    };
    walk(part);
    EXPECT_TRUE(seen) << "no sticker " << file;
    return found;
}

std::string printedText(const TexturePtr& t) {
    const auto* picture = dynamic_cast<const engine3d::PictureTexture*>(t.get());
    return picture ? picture->sourceName() : std::string("(not printed)");
}

struct ShownNode {
    vantrel::test::TempFolder home;
    vantrel::test::NodeFixture f{home.path()};
    VirtualPc pc;
    engine3d::RecordingDevice device;
    BuildTarget target{pc, f.state.windows.main.hardwareTree};  // the model's builders keep it

    explicit ShownNode(const std::string& profile) {
        f.session.provider = vantrel::test::profileProviderFromFile(std::string(VANTREL_COLLECT_TEST_DATA "/") + profile);
        f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
        EXPECT_TRUE(CollectHardware(f.state, f.session));
        device.setTextureFolder(test::mediaFolder());
        test::assemble(pc, device);
        attachModel(f.session, target);
    }
};

TEST(Nameplates, AShownNodeHasItsNamesOnItsPartsUntilTheReset) {
    ShownNode node("office_pc.json");
    VirtualPc& pc = node.pc;
    // Its three disks have three names: the one label the bays share names none.
    const struct {
        FramePtr part;
        NameplateKind kind;
        std::string text;  // empty: left blank
    } plates[] = {
        {pc.IntelCpuFrame, NameplateKind::Processor, "Example CPU 3000 MHz"},
        {pc.HardDiskFrame[1], NameplateKind::Disk, ""},
        {pc.VideoCardFrame, NameplateKind::Graphics, "Example Graphics"},
        {pc.MemoryModuleFrame[1], NameplateKind::Memory, "DIMM Bank 1"},
        {pc.MemoryModuleFrame[2], NameplateKind::Memory, "DIMM Bank 2"},
    };
    std::vector<TexturePtr> blanks;
    for (const auto& p : plates) {
        blanks.push_back(stickerOf(p.part, nameplateFile(p.kind)));
        ASSERT_NE(blanks.back(), nullptr) << "the blank " << nameplateFile(p.kind) << " is not in the media";
    }
    for (int round = 0; round < 2; ++round) {
        showStoredNode(node.f.state, node.f.session);
        for (std::size_t i = 0; i < std::size(plates); ++i) {
            const auto sticker = stickerOf(plates[i].part, nameplateFile(plates[i].kind));
            if (plates[i].text.empty()) EXPECT_EQ(sticker, blanks[i]) << printedText(sticker);
            else EXPECT_EQ(printedText(sticker), std::string(nameplateFile(plates[i].kind)) + ": " + plates[i].text);
        }
    }
    resetModel(pc);
    for (std::size_t i = 0; i < std::size(plates); ++i)
        EXPECT_EQ(stickerOf(plates[i].part, nameplateFile(plates[i].kind)), blanks[i]) << plates[i].text;
}

TEST(Nameplates, ASingleDiskIsNamedOnItsLabel) {
    ShownNode node("laptop_2025.json");
    showStoredNode(node.f.state, node.f.session);
    EXPECT_EQ(printedText(stickerOf(node.pc.HardDiskFrame[1], nameplateFile(NameplateKind::Disk))),
              std::string(nameplateFile(NameplateKind::Disk)) + ": KBG50ZNV512G KIOXIA");
}

}  // namespace
}  // namespace vantrel::model
