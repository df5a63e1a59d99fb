#pragma once
// The stickers and prints that carry a part's own name (the disk's label, the
// processor's lid, the graphics card's shroud, the memory module's sticker),
// drawn as pictures: blank when the media are generated, with the name from a
// node's report when it is shown. Text is set with FreeType in a DejaVu font.

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::model {

enum class NameplateKind { Disk, Processor, Graphics, Memory };
inline constexpr NameplateKind kNameplateKinds[] = {NameplateKind::Disk, NameplateKind::Processor,
                                                    NameplateKind::Graphics, NameplateKind::Memory};

// The picture file the mesh files name for the blank sticker of that kind.
const char* nameplateFile(NameplateKind kind);

struct NameplatePicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // top row first
};

// The sticker with the text set in its name area (UTF-8, any bytes; too long
// a text is made smaller, then wrapped, then cut with an ellipsis). An empty
// text gives the blank sticker.
NameplatePicture drawNameplate(NameplateKind kind, const std::string& text);

// True when the font was found, so that names can be printed at all.
bool nameplateFontAvailable();

}  // namespace vantrel::model
