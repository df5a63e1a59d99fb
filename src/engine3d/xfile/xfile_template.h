#pragma once
// Template declarations of .x files: the standard set built in, and the ones a
// file declares. Member types are resolved when a template is declared, so a
// template can only contain templates that existed before it (no cycles).
// Names match regardless of letter case: exporters write "TextureFileName" for
// the standard "TextureFilename".

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
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
    static constexpr std::size_t kMaxMembers = 64;
    std::string name;
    std::string guid;  // as written between the angle brackets, may be empty
    std::vector<XMember> members;
    bool standard = false;  // one of the published D3DRM templates
    // Number of FLOATs when the template is nothing but a fixed run of them
    // (Vector, Coords2d, Matrix4x4 ...), else -1: arrays of it read in one loop.
    int flatFloats = -1;
};

// Whether two template names are the same regardless of ASCII letter case.
bool sameTemplateName(std::string_view a, std::string_view b);

// Templates visible while reading one file: the file's own declarations first
// (a later one wins), then the built-in standard set. Lookups are hashed, so a
// file of many templates reads in linear time.
class XTemplateRegistry {
public:
    XTemplateRegistry();
    XTemplateRegistry(const XTemplateRegistry&) = delete;
    XTemplateRegistry& operator=(const XTemplateRegistry&) = delete;
    const XTemplate* find(std::string_view name) const;
    // Adds a declaration; the returned pointer stays valid for the registry's life.
    const XTemplate* add(XTemplate t);
    static const XTemplateRegistry& standard();
    // "TID_D3DRMFrame" for standard templates (named as the standard names
    // them), "TID_" + name for the others.
    static std::string identifierFor(const XTemplate& t);

private:
    struct BuiltIn {};
    explicit XTemplateRegistry(BuiltIn);
    struct CaselessHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const;
    };
    struct CaselessEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const { return sameTemplateName(a, b); }
    };
    std::deque<XTemplate> own_;  // a deque: pointers to its elements stay valid as it grows
    std::unordered_map<std::string_view, const XTemplate*, CaselessHash, CaselessEqual> byName_;
    const XTemplateRegistry* base_ = nullptr;
};

std::string_view primitiveName(XPrimitive p);
// Parses a primitive keyword; false when the word is not one.
bool primitiveFromName(std::string_view word, XPrimitive& out);

}  // namespace vantrel::engine3d
