#pragma once
// Template declarations of .x files: the standard set built in, and the ones a
// file declares. Member types are resolved when a template is declared, so a
// template can only contain templates that existed before it (no cycles).

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::engine3d {

enum class XPrimitive : std::uint8_t { Word, Dword, Float, Double, Char, Uchar, Sword, Sdword, String, Template };

struct XTemplate;

struct XArrayDim {
    std::uint32_t fixed = 0;
    int memberIndex = -1;  // >= 0: the size is the value of that earlier member
};

struct XMember {
    XPrimitive type = XPrimitive::Dword;
    const XTemplate* templ = nullptr;  // for XPrimitive::Template
    std::string name;
    bool isArray = false;
    std::vector<XArrayDim> dims;
};

struct XTemplate {
    std::string name;
    std::string guid;  // as written between the angle brackets, may be empty
    std::vector<XMember> members;
    bool standard = false;  // one of the published D3DRM templates
    // Number of FLOATs when the template is nothing but a fixed run of them
    // (Vector, Coords2d, Matrix4x4 ...), else -1: arrays of it read in one loop.
    int flatFloats = -1;
};

// Templates visible while reading one file: the file's own declarations first
// (a later one wins), then the built-in standard set.
class XTemplateRegistry {
public:
    XTemplateRegistry();
    const XTemplate* find(std::string_view name) const;
    // Adds a declaration; the returned pointer stays valid for the registry's life.
    const XTemplate* add(XTemplate t);
    static const XTemplateRegistry& standard();
    // "TID_D3DRMFrame" for standard templates, "TID_" + name for the others.
    static std::string identifierFor(const XTemplate& t);

private:
    explicit XTemplateRegistry(bool);
    std::deque<XTemplate> own_;
    const XTemplateRegistry* base_ = nullptr;
};

std::string_view primitiveName(XPrimitive p);
// Parses a primitive keyword; false when the word is not one.
bool primitiveFromName(std::string_view word, XPrimitive& out);

}  // namespace vantrel::engine3d
