#include "parts_table.h"

#include <algorithm>
#include <string>

#include "materials.h"
#include "model/nameplate_picture.h"
#include "surface_pictures.h"
#include "tube_path.h"

namespace meshgen {
namespace {

using namespace paint;
using vantrel::model::NameplateKind;

// Model units are about 5 cm. The case stands on the desk with its front at
// z = -1.7 facing the default camera, the motherboard flat on standoffs, the
// drives at the front and the sockets along the back panel at z = 6.25.
constexpr float kDeskTop = -3.3f;
constexpr float kFloorTop = -3.2f;
constexpr float kBoardTop = -2.99f;
constexpr float kSlotTop = -2.79f;
constexpr float kCardBottom = -2.75f;
constexpr float kPortFront = 5.6f;
constexpr float kPortBack = 6.25f;

Primitive box(float x0, float y0, float z0, float x1, float y1, float z1, Colour c) {
    return {Shape::Box, Axis::Y, {x0, y0, z0}, {x1, y1, z1}, c};
}
Primitive cylinder(Axis axis, float x0, float y0, float z0, float x1, float y1, float z1, Colour c) {
    return {Shape::Cylinder, axis, {x0, y0, z0}, {x1, y1, z1}, c};
}

Primitive plate(float x0, float y0, float z0, float x1, float y1, float z1, Colour c) {
    return {Shape::Plate, Axis::Y, {x0, y0, z0}, {x1, y1, z1}, c};
}

// A pipe of `radius` through `corners`, each corner bent round `bend` in six
// segments; the box is the pipe's bounds.
Primitive pipe(const std::vector<Vec3>& corners, float radius, float bend, Colour c) {
    Primitive p{Shape::Tube, Axis::Y, corners.front(), corners.front(), c};
    p.path = roundedPath(corners, bend, 6);
    p.radius = radius;
    for (const Vec3& q : p.path) {
        p.lo = {std::min(p.lo.x, q.x - radius), std::min(p.lo.y, q.y - radius), std::min(p.lo.z, q.z - radius)};
        p.hi = {std::max(p.hi.x, q.x + radius), std::max(p.hi.y, q.y + radius), std::max(p.hi.z, q.z + radius)};
    }
    return p;
}

// The same primitive showing a picture: stretched over each face, or repeated
// every `tile` units.
Primitive showing(Primitive p, const std::string& file, float tile = 0) {
    p.texture.file = file;
    p.texture.tile = tile;
    return p;
}
Primitive shaped(Primitive p, Shape shape, Axis axis, Colour accent) {
    p.shape = shape;
    p.axis = axis;
    p.accent = accent;
    return p;
}
std::string sticker(vantrel::model::NameplateKind kind) { return vantrel::model::nameplateFile(kind); }

// An expansion or memory slot lying along `along` (X or Z): two walls with the
// contact groove between them and a latch closing the groove at the near end.
std::vector<Primitive> slot(float x0, float y0, float z0, float x1, float y1, float z1, Colour c, Axis along) {
    const bool alongZ = along == Axis::Z;
    const float width = alongZ ? x1 - x0 : z1 - z0, wall = 0.3f * width, latch = 0.08f;
    std::vector<Primitive> parts;
    if (alongZ) {
        parts.push_back(box(x0, y0, z0 + latch, x0 + wall, y1, z1, c));
        parts.push_back(box(x1 - wall, y0, z0 + latch, x1, y1, z1, c));
        parts.push_back(plate(x0 + wall, y0, z0 + latch, x1 - wall, y1 - 0.7f * (y1 - y0), z1, paint::kBlack));
        parts.push_back(box(x0, y0, z0, x1, y1, z0 + latch, paint::kLatch));
    } else {
        parts.push_back(box(x0 + latch, y0, z0, x1 - latch, y1, z0 + wall, c));
        parts.push_back(box(x0 + latch, y0, z1 - wall, x1 - latch, y1, z1, c));
        parts.push_back(plate(x0 + latch, y0, z0 + wall, x1 - latch, y1 - 0.7f * (y1 - y0), z1 - wall, paint::kBlack));
        parts.push_back(box(x0, y0, z0, x0 + latch, y1, z1, paint::kLatch));
        parts.push_back(box(x1 - latch, y0, z0, x1, y1, z1, paint::kLatch));
    }
    return parts;
}

PartFrame frame(std::string name, std::vector<Primitive> primitives) { return {std::move(name), std::move(primitives)}; }

// Geometry given in PC coordinates, written relative to the offset of the
// frame the file is loaded into.
MeshFileSpec placed(std::string file, std::vector<PartFrame> frames, Vec3 frameOffset = {}) {
    auto move = [&](Vec3 v) { return Vec3{v.x - frameOffset.x, v.y - frameOffset.y, v.z - frameOffset.z}; };
    for (auto& f : frames)
        for (auto& p : f.primitives) {
            p.lo = move(p.lo);
            p.hi = move(p.hi);
            for (auto& q : p.path) q = move(q);
        }
    return {std::move(file), std::move(frames)};
}

// A socket on the back panel, its mouth facing out of the case.
PartFrame backPort(std::string name, float x0, float y0, float x1, float y1, Colour c, const std::string& face = "") {
    Primitive p = plate(x0, y0, kPortFront, x1, y1, kPortBack, c);
    if (!face.empty()) p = showing(p, face);
    return frame(std::move(name), {p});
}

std::string numbered(const char* prefix, int n, const char* suffix = ".x") {
    return prefix + std::to_string(n) + suffix;
}

void body(std::vector<MeshFileSpec>& t) {
    t.push_back(placed("vm1.x", {frame("CaseFloor", {showing(box(-4.4f, -3.3f, -1.7f, 4.4f, kFloorTop, 6.25f, kPrintedSteel), pictures::kCaseFloor)})}));
    std::vector<Primitive> standoffs;
    for (float x : {-1.7f, 0.5f, 3.9f})
        for (float z : {1.9f, 4.0f, 6.0f})
            standoffs.push_back(cylinder(Axis::Y, x - 0.06f, kFloorTop, z - 0.06f, x + 0.06f, -3.05f, z + 0.06f, kBrass));
    t.push_back(placed("vm2.x", {frame("Frame0Cube", {showing(box(-1.85f, -3.05f, 1.7f, 4.35f, kBoardTop, 6.2f, kPrintedBoard), pictures::kMotherboard)}),
                                 frame("BoardStandoffs", standoffs)}));
    // The back panel is cut open where the power supply and the sockets and
    // card brackets are, so that they show from behind.
    t.push_back(placed("vm3.x", {frame("BackPanel", {showing(box(-4.4f, kFloorTop, 6.25f, -4.25f, 0.85f, 6.35f, kSteel), pictures::kPainted, 0.8f),
                                                     showing(box(-4.25f, kFloorTop, 6.25f, -1.9f, -1.1f, 6.35f, kSteel), pictures::kPainted, 0.8f),
                                                     showing(box(-4.25f, 0.5f, 6.25f, -1.9f, 0.85f, 6.35f, kSteel), pictures::kPainted, 0.8f),
                                                     showing(box(-1.9f, kFloorTop, 6.25f, 4.25f, -2.7f, 6.35f, kSteel), pictures::kPainted, 0.8f),
                                                     showing(box(-1.9f, 0.45f, 6.25f, 4.25f, 0.85f, 6.35f, kSteel), pictures::kPainted, 0.8f),
                                                     showing(box(4.25f, kFloorTop, 6.25f, 4.4f, 0.85f, 6.35f, kSteel), pictures::kPainted, 0.8f)})}));
    t.push_back(placed("vm4.x", {frame("LeftPillar", {showing(box(-4.4f, kFloorTop, -1.7f, -4.3f, 0.85f, -1.6f, kSteel), pictures::kPainted, 0.8f)}),
                                 frame("LeftTopRail", {showing(box(-4.4f, 0.75f, -1.6f, -4.3f, 0.85f, 6.25f, kSteel), pictures::kPainted, 0.8f)})}));
    t.push_back(placed("vm5.x", {frame("RightPillar", {showing(box(4.3f, kFloorTop, -1.7f, 4.4f, 0.85f, -1.6f, kSteel), pictures::kPainted, 0.8f)}),
                                 frame("RightTopRail", {showing(box(4.3f, 0.75f, -1.6f, 4.4f, 0.85f, 6.25f, kSteel), pictures::kPainted, 0.8f)}),
                                 frame("FrontTopRail", {showing(box(-4.3f, 0.75f, -1.7f, 4.3f, 0.85f, -1.6f, kSteel), pictures::kPainted, 0.8f)})}));
    // The power supply sits high at the back left, its fan blowing out the back.
    t.push_back(placed("vm7.x", {frame("PowerSupply", {showing(box(-4.25f, -1.1f, 3.6f, -1.45f, 0.49f, 6.19f, kDarkSteel), pictures::kPainted, 0.8f),
                                                       showing(plate(-4.1f, 0.49f, 3.75f, -1.6f, 0.5f, 6.05f, kSteel), pictures::kGrille, 0.3f),
                                                       showing(plate(-4.1f, -0.95f, 6.19f, -1.6f, 0.35f, 6.2f, kSteel), pictures::kGrille, 0.3f)})}));
    t.push_back(placed("vm8.x", {frame("AtxPowerConnector", {showing(box(-1.85f, kBoardTop, 1.72f, -1.55f, -2.8f, 1.92f, kWhite), pictures::kPinHeader),
                                                              cylinder(Axis::Y, -1.78f, -2.8f, 1.74f, -1.62f, -2.3f, 1.9f, kBlack)})}));
    // The Intel socket's steel load plate holds the processor's edges: four
    // bars, each its own frame so that no box of the socket takes in the
    // processor's. Its lever lies in the gap to the other socket, the handle
    // raised at the front; the AMD socket has only its lever.
    const float plateTop = -2.895f;
    auto lever = [](float x) {
        return pipe({{x, -2.915f, 3.38f}, {x, -2.915f, 2.64f}, {x, -2.87f, 2.53f}}, 0.014f, 0.04f, kSteel);
    };
    t.push_back(placed("vm9.x", {frame("IntelCpuSocket", {box(-0.95f, kBoardTop, 2.55f, -0.1f, -2.93f, 3.4f, kBeige)}),
                                 frame("AmdCpuSocket", {box(-1.84f, kBoardTop, 2.55f, -1.0f, -2.93f, 3.4f, kWhite)}),
                                 frame("IntelCpuSocket", {plate(-0.95f, -2.93f, 2.55f, -0.1f, plateTop, 2.6f, kSteel)}),
                                 frame("IntelCpuSocket", {plate(-0.95f, -2.93f, 3.35f, -0.1f, plateTop, 3.4f, kSteel)}),
                                 frame("IntelCpuSocket", {plate(-0.95f, -2.93f, 2.6f, -0.9f, plateTop, 3.35f, kSteel), lever(-0.975f)}),
                                 frame("IntelCpuSocket", {plate(-0.15f, -2.93f, 2.6f, -0.1f, plateTop, 3.35f, kSteel)}),
                                 frame("AmdCpuSocket", {lever(-1.82f)})}));
    std::vector<Primitive> dimmSockets;
    for (float z : {2.3f, 2.5f, 2.7f, 2.8f})
        for (const auto& p : slot(2.75f, kBoardTop, z - 0.04f, 4.2f, kSlotTop, z + 0.04f, kBlack, Axis::X)) dimmSockets.push_back(p);
    t.push_back(placed("vm10.x", {frame("MemorySockets", dimmSockets)}));
    t.push_back(placed("vm11.x", {frame("FrontPanelPlate", {showing(box(-4.25f, 0.24f, -1.6f, -1.35f, 0.72f, -1.5f, kPrinted), pictures::kFrontPanel)})}));
    t.push_back(placed("vm12.x", {frame("FrontFanBracket", {box(3.1f, -0.6f, -1.4f, 4.3f, 0.4f, -1.35f, kDarkSteel)}),
                                  frame("CardReaderShelf", {box(2.35f, -1.34f, -1.6f, 4.3f, -1.3f, -1.0f, kDarkSteel)})}));
    t.push_back(placed("vm13.x", {frame("Frame15Cube_1", {showing(box(-1.0f, kBoardTop, 2.3f, -0.75f, -2.92f, 2.55f, kPrinted), pictures::kChip)}),
                                  frame("Frame158Cube_1", {showing(box(-0.05f, kBoardTop, 3.15f, 0.17f, -2.93f, 3.5f, kPrinted), pictures::kChip)}),
                                  frame("Frame11Cube_16", {showing(box(0.1f, kBoardTop, 2.55f, 0.42f, -2.92f, 2.85f, kPrinted), pictures::kChip)})}));
    t.push_back(placed("vm14.x", {frame("Frame9Cylinder_2", {cylinder(Axis::Y, -1.45f, kBoardTop, 1.95f, -1.05f, -2.93f, 2.35f, kSilver)}),
                                  frame("Frame152Cylinder_2", {cylinder(Axis::X, -1.0f, kBoardTop, 2.05f, -0.8f, -2.91f, 2.15f, kSilver)}),
                                  frame("Frame73Cylinder_4", {cylinder(Axis::Y, 3.8f, kBoardTop, 1.75f, 4.1f, -2.7f, 2.05f, kBlack)})}));
    t.push_back(placed("vm15.x", {frame("Frame95Cube_3", slot(0.19f, kBoardTop, 3.0f, 0.31f, kSlotTop, 5.0f, kSlotBrown, Axis::Z)),
                                  frame("Cube_60-4", {box(-2.7f, 0.28f, -1.7f, -1.6f, 0.44f, -1.6f, kBlack)})}));
    t.push_back(placed("vm_sb.x", {frame("Frame2Cube_22", {showing(box(0.0f, kBoardTop, 2.05f, 0.45f, -2.9f, 2.45f, kPrinted), pictures::kChip)})}));
    t.push_back(placed("vm22.x", {backPort("Cube_11-8", -1.38f, -0.5f, -0.73f, -0.24f, kVgaBlue, pictures::kDsubFace),
                                  backPort("Frame1Cube", -0.6f, -0.2f, -0.24f, 0.1f, kSilver, pictures::kNetworkFace),
                                  backPort("Frame91Cube_32", 3.95f, -1.9f, 4.2f, -1.2f, kLineOutLime),
                                  backPort("Frame5Cube_8", 2.75f, -1.25f, 3.85f, -1.0f, kParallelBurgundy, pictures::kDsubFace)}));
    // Voltage regulators and capacitors beside the processor.
    std::vector<Primitive> caps;
    for (int i = 0; i < 6; ++i) {
        const float z = 3.5f + 0.25f * static_cast<float>(i);
        caps.push_back(showing(cylinder(Axis::Y, -1.84f, kBoardTop, z, -1.76f, -2.7f, z + 0.08f, kCapacitor), pictures::kCapacitorSleeve));
    }
    // The processor's power stage in the free corner left of its sockets:
    // ferrite chokes with printed tops and a solid capacitor beside each. A
    // frame of its own, so that its box keeps clear of the processors'.
    std::vector<Primitive> powerStage;
    for (int i = 0; i < 3; ++i) {
        const float z = 1.95f + 0.195f * static_cast<float>(i);
        powerStage.push_back(showing({Shape::Chamfered, Axis::Y, {-1.82f, kBoardTop, z}, {-1.65f, -2.86f, z + 0.17f}, kPrinted}, pictures::kChoke));
        powerStage.push_back(cylinder(Axis::Y, -1.6f, kBoardTop, z + 0.045f, -1.52f, -2.84f, z + 0.125f, kAluminium));
    }
    t.push_back(placed("vm25.x", {frame("CpuCapacitors", caps), frame("CpuCapacitors", powerStage)}));
}

void portsAndSockets(std::vector<MeshFileSpec>& t) {
    // PS/2 block: the two round sockets stand proud of the housing.
    t.push_back(placed("vm_ps2.x", {frame("Frame1Cube_2209", {box(-1.88f, -1.95f, kPortFront, -1.48f, -1.15f, kPortBack, kBlack)}),
                                    frame("Frame16Cylinder", {cylinder(Axis::Z, -1.81f, -1.88f, 5.5f, -1.55f, -1.62f, kPortFront, kKeyboardPurple)}),
                                    frame("Frame31Cylinder", {cylinder(Axis::Z, -1.81f, -1.48f, 5.5f, -1.55f, -1.22f, kPortFront, kMouseGreen)})}));
    t.push_back(placed("vm_nbc1.x", {frame("NorthBridgeClips", {cylinder(Axis::Y, -0.2f, kBoardTop, 2.1f, -0.15f, -2.85f, 2.15f, kSteel),
                                                                  cylinder(Axis::Y, -0.2f, kBoardTop, 2.45f, -0.15f, -2.85f, 2.5f, kSteel)})}));
    t.push_back(placed("vm_nbc2.x", {frame("ClockChip", {box(-1.45f, kBoardTop, 2.45f, -1.15f, -2.94f, 2.55f, kChip)})}));
    t.push_back(placed("vm_nb.x", {frame("Frame2Cube_22", {showing(box(-0.7f, kBoardTop, 2.05f, -0.25f, -2.88f, 2.5f, kPrinted), pictures::kChip)})}));
    // Back USB sockets 1 to 8 in one column.
    const char* backUsbNames[] = {"Frame5Cube_12", "Frame5Cube_13", "Frame5Cube_14", "Frame5Cube_15",
                                  "Frame5Cube_16", "Frame5Cube_17", "Frame5Cube_18", "Frame5Cube_19"};
    for (int i = 1; i <= 8; ++i) {
        const float y = -1.9f + 0.15f * static_cast<float>(i - 1);
        t.push_back(placed(numbered("vm_usb", i), {backPort(backUsbNames[i - 1], -0.15f, y, 0.09f, y + 0.1f, kSilver, pictures::kUsbFace)}));
    }
    // Front USB sockets 9 to 16 in a row on the front panel; 9 has its header board.
    const char* frontUsbNames[] = {"Frame5Cube_1211", "Frame5Cube_1212", "Frame5Cube_1214", "Frame5Cube_1215",
                                   "Frame5Cube_1216", "Frame5Cube_1218", "Frame5Cube_1219", "Frame5Cube_1221"};
    t.push_back(placed("vm630.x", {frame("FrontUsbBoard", {box(-4.2f, 0.3f, -1.5f, -3.6f, 0.7f, -1.44f, kBoard)})}));
    for (int i = 9; i <= 16; ++i) {
        const float x = -4.2f + 0.33f * static_cast<float>(i - 9);
        const std::string file = i == 9 ? "vm800.x" : numbered("vm", 801 + (i - 10));
        t.push_back(placed(file, {frame(frontUsbNames[i - 9], {showing(plate(x, 0.5f, -1.7f, x + 0.24f, 0.7f, -1.6f, kSilver), pictures::kUsbFace)})}));
    }
    const char* ethernetNames[] = {"Frame5Cube_1", "Frame1Cube45", "Frame1Cube46", "Frame1Cube49"};
    const char* serialNames[] = {"Frame1Cube_11", "Frame1Cube_191", "Frame1Cube_311", "Frame1Cube_161"};
    const char* parallelNames[] = {"Frame5Cube_83", "Frame5Cube_89", "Frame5Cube_82", "Frame5Cube_81"};
    for (int i = 1; i <= 4; ++i) {
        const float k = static_cast<float>(i - 1);
        t.push_back(placed(numbered("vm_eth", i), {backPort(ethernetNames[i - 1], -0.6f, -1.9f + 0.35f * k, -0.24f, -1.6f + 0.35f * k, kSilver, pictures::kNetworkFace)}));
        t.push_back(placed(numbered("vm_ser", i), {backPort(serialNames[i - 1], -1.38f, -1.9f + 0.35f * k, -0.73f, -1.64f + 0.35f * k, kSerialTeal, pictures::kDsubFace)}));
        t.push_back(placed(numbered("vm_par", i), {backPort(parallelNames[i - 1], 2.75f, -2.65f + 0.35f * k, 3.85f, -2.39f + 0.35f * k, kParallelBurgundy, pictures::kDsubFace)}));
    }
    t.push_back(placed("vm310.x", {frame("Cylinder_3-1", {cylinder(Axis::Z, 3.95f, -2.3f, kPortFront, 4.15f, -2.1f, kPortBack, kLineInBlue)})}));
    t.push_back(placed("vm311.x", {frame("Cylinder_3-1", {cylinder(Axis::Z, 3.95f, -2.6f, kPortFront, 4.15f, -2.4f, kPortBack, kLineOutLime)})}));
    t.push_back(placed("vm312.x", {frame("Cylinder_3-1", {cylinder(Axis::Z, -2.98f, 0.29f, -1.7f, -2.84f, 0.43f, -1.6f, kMicPink)})}));
    t.push_back(placed("vm314.x", {frame("Cylinder_3-1", {cylinder(Axis::Z, -3.22f, 0.29f, -1.7f, -3.08f, 0.43f, -1.6f, kLineOutLime)})}));
    t.push_back(placed("hdmi.x", {backPort("Cube_10-18", -0.55f, -0.45f, -0.25f, -0.33f, kSilver, pictures::kHdmiFace)}));
    for (int i = 1; i <= 4; ++i) {
        const float y = -0.45f + 0.15f * static_cast<float>(i - 1);
        t.push_back(placed(numbered("fw", i), {backPort("FireWirePort", -0.15f, y, 0.07f, y + 0.1f, kFirewireGrey)}));
    }
    // Connectors on the board's front edge, clear of the disks in front.
    for (int i = 1; i <= 6; ++i) {
        const float x = 2.45f + 0.2f * static_cast<float>(i - 1);
        t.push_back(placed(numbered("sata", i), {frame(i <= 3 ? "Cube_8-13" : "Cube_1-17 ",
                                                        {showing(box(x, kBoardTop, 1.8f, x + 0.14f, -2.8f, 2.1f, kSataRed), pictures::kSataMouth)})}));
    }
    const char* ideNames[] = {"Cube_2-1", "Cube_16-5", "Cube_2-1"};
    for (int i = 1; i <= 3; ++i) {
        const float x = 0.55f + 0.6f * static_cast<float>(i - 1);
        t.push_back(placed(numbered("ide", i), {frame(ideNames[i - 1], {showing(box(x, kBoardTop, 1.95f, x + 0.5f, -2.8f, 2.1f, kDarkSteel), pictures::kPinHeader)})}));
    }
}

void processorAndCooling(std::vector<MeshFileSpec>& t) {
    t.push_back(placed("vm23.x", {frame("Frame11Cube_20", {showing(box(-0.9f, -2.93f, 2.6f, -0.15f, -2.86f, 3.35f, kSilver), pictures::kBrushed, 0.5f),
                                                     showing(plate(-0.88f, -2.86f, 2.62f, -0.17f, -2.85f, 3.08f, kPrinted), sticker(NameplateKind::Processor))})}));
    t.push_back(placed("vm24.x", {frame("AmdProcessor", {showing(box(-1.8f, -2.93f, 2.6f, -1.05f, -2.86f, 3.35f, kAluminium), pictures::kBrushed, 0.5f),
                                                 showing(plate(-1.78f, -2.86f, 2.62f, -1.07f, -2.85f, 3.08f, kPrinted), sticker(NameplateKind::Processor))})}));
    // The cooler sits behind the processors' front edge; its fan faces the front.
    t.push_back(placed("vm905.x", {frame("CpuHeatsink", {shaped(showing(box(-1.75f, -2.8f, 3.1f, -0.1f, -2.0f, 4.0f, kAluminium), pictures::kBrushed, 0.5f), Shape::Fins, Axis::Y, kCopper)}),
                                   frame("Cylinder-1", {shaped(cylinder(Axis::Z, -0.95f, -2.78f, 2.95f, -0.2f, -2.03f, 3.1f, kFan), Shape::Fan, Axis::Z, kBlade),
                                                       showing(cylinder(Axis::Z, -0.7f, -2.53f, 2.93f, -0.45f, -2.28f, 2.95f, kPrinted), pictures::kFanSticker)})}));
    t.push_back(placed("vm906.x", {frame("Cylinder-1", {shaped(cylinder(Axis::Z, 2.8f, -0.7f, 6.1f, 3.9f, 0.4f, 6.25f, kFan), Shape::Fan, Axis::Z, kBlade),
                                                       showing(cylinder(Axis::Z, 3.15f, -0.35f, 6.08f, 3.55f, 0.05f, 6.1f, kPrinted), pictures::kFanSticker)})}));
    t.push_back(placed("vm907.x", {frame("Cylinder-1", {shaped(cylinder(Axis::Z, 3.2f, -0.55f, -1.6f, 4.1f, 0.35f, -1.45f, kFan), Shape::Fan, Axis::Z, kBlade),
                                                       showing(cylinder(Axis::Z, 3.5f, -0.25f, -1.62f, 3.8f, 0.05f, -1.6f, kPrinted), pictures::kFanSticker)})}));
    t.push_back(placed("vm206.x", {frame("HeatPipeFins", {shaped(box(-1.75f, kBoardTop, 4.3f, -0.1f, -2.0f, 5.3f, kCopper), Shape::Fins, Axis::Y, kCopper)})}));
    const char* pipeNames[] = {"Frame1Cylinder_18", "Frame3Cylinder_19", "Frame6Cylinder_20"};
    const char* pipeFiles[] = {"vm206a.x", "vm206b.x", "vm206c.x"};
    // Each pipe leaves the cooler's stack where the stack's own pipe stub ends
    // (0.3 of its width either side of the middle), bends over, runs back and
    // bends down into the fin stack behind onto the matching stub. It only
    // touches the cooler's top, so the cooler's box stays clear of it, and it
    // stays as low as the straight pipes were: seen from the front, a taller
    // arch hides the back panel's sockets.
    for (int i = 0; i < 3; ++i) {
        const float x = -0.925f + 0.495f * static_cast<float>(i - 1);
        t.push_back(placed(pipeFiles[i], {frame(pipeNames[i], {pipe({{x, -2.0f, 3.55f}, {x, -1.93f, 3.55f}, {x, -1.93f, 4.8f}, {x, -2.0f, 4.8f}},
                                                                   0.05f, 0.06f, kCopper)})}));
    }
    t.push_back(placed("vm960.x", {frame("Frame25Cube_11", {box(4.15f, -0.9f, -1.6f, 4.3f, -0.75f, -1.5f, kWhite)})}));
    t.push_back(placed("vm961.x", {frame("Frame25Cube_11", {box(2.58f, kBoardTop, 3.1f, 2.7f, -2.9f, 3.22f, kWhite)})}));
    t.push_back(placed("vm962.x", {frame("Frame25Cube_11", {box(-0.08f, kBoardTop, 2.62f, 0.02f, -2.9f, 2.72f, kWhite)})}));
    t.push_back(placed("vm19a.x", {frame("VideoChip", {showing(box(0.0f, kBoardTop, 3.6f, 0.16f, -2.93f, 3.8f, kPrinted), pictures::kChip)})}));
}

void drives(std::vector<MeshFileSpec>& t) {
    // First hard disk under the optical drives; the chain repeats it 2.9 and 5.8 to the right.
    const float x0 = -3.92f, x1 = -1.88f, top = -2.8f;
    t.push_back(placed("vm30.x", {frame("Frame29Cylinder_3", {showing(box(x0, -3.18f, -1.5f, x1, top - 0.02f, 1.44f, kAluminium), pictures::kBrushed, 0.6f)})}));
    t.push_back(placed("vm31.x", {frame("DiskLabel", {showing(plate(x0 + 0.15f, top - 0.02f, 0.0f, x0 + 0.95f, top, 1.2f, kPrinted), sticker(NameplateKind::Disk))})}));
    t.push_back(placed("vm32.x", {frame("DiskDataConnector", {showing(box(-3.3f, -3.15f, 1.44f, -3.0f, -2.95f, 1.52f, kDarkSteel), pictures::kPinHeader)})}));
    t.push_back(placed("vm33.x", {frame("DiskPowerConnector", {showing(box(-2.8f, -3.15f, 1.44f, -2.3f, -2.95f, 1.52f, kWhite), pictures::kPinHeader)})}));
    t.push_back(placed("vm34.x", {frame("DiskCircuitBoard", {showing(box(x0 + 0.1f, kFloorTop, 0.2f, x1 - 0.1f, -3.18f, 1.4f, kPrintedBoard), pictures::kCardBoard)})}));
    t.push_back(placed("vm35.x", {frame("DiskSpindleCover", {cylinder(Axis::Y, x1 - 0.95f, top - 0.02f, 0.2f, x1 - 0.15f, top, 1.0f, kSteel)})}));
    const float screwX[] = {x0 + 0.1f, x1 - 0.2f, x0 + 0.1f, x1 - 0.2f};
    const float screwZ[] = {-1.4f, -1.4f, 1.25f, 1.25f};
    for (int i = 0; i < 4; ++i)
        t.push_back(placed(numbered("vm", 36 + i), {frame("DiskScrew", {cylinder(Axis::Y, screwX[i], top - 0.02f, screwZ[i], screwX[i] + 0.1f, top, screwZ[i] + 0.1f, kSteel)})}));
    t.push_back(placed("vm40.x", {frame("DiskJumper", {box(-2.2f, -3.1f, 1.44f, -2.05f, -3.0f, 1.5f, kBlack)})}));

    // First optical drive, in the frame placed at (-3.2, 0, -3.2).
    const Vec3 bay{-3.2f, 0.0f, -3.2f};
    const float ox0 = -4.25f, ox1 = -1.35f, oy0 = -2.44f, oy1 = -1.6f, oz0 = -1.6f, oz1 = 1.0f;
    t.push_back(placed("vid1.x", {frame("Frame9Cube_4", {showing(box(ox0, oy0, oz0 + 0.05f, ox1, oy1, oz1, kSteel), pictures::kPainted, 0.8f),
                                                         showing(box(ox0, oy0, oz0, ox1, oy1, oz0 + 0.05f, kPrinted), pictures::kDriveBezel)})}, bay));
    std::vector<std::pair<std::string, std::vector<Primitive>>> details = {
        {"TrayLine", {box(ox0 + 0.2f, oy1 - 0.1f, oz0 - 0.01f, ox1 - 0.6f, oy1 - 0.08f, oz0, kDarkSteel)}},
        {"EjectButton", {box(ox1 - 0.45f, oy0 + 0.12f, oz0 - 0.03f, ox1 - 0.15f, oy0 + 0.22f, oz0, kDarkSteel)}},
        {"ActivityLed", {box(ox1 - 0.6f, oy0 + 0.15f, oz0 - 0.01f, ox1 - 0.55f, oy0 + 0.19f, oz0, kLedAmber)}},
        {"HeadphoneJack", {cylinder(Axis::Z, ox0 + 0.15f, oy0 + 0.12f, oz0 - 0.01f, ox0 + 0.25f, oy0 + 0.22f, oz0, kDarkSteel)}},
        {"VolumeWheel", {cylinder(Axis::Z, ox0 + 0.35f, oy0 + 0.12f, oz0 - 0.02f, ox0 + 0.45f, oy0 + 0.22f, oz0, kDarkSteel)}},
        {"EmergencyEject", {cylinder(Axis::Z, ox1 - 0.75f, oy0 + 0.16f, oz0 - 0.01f, ox1 - 0.72f, oy0 + 0.19f, oz0, kBlack)}},
        {"DriveLogo", {box(ox0 + 1.2f, oy0 + 0.12f, oz0 - 0.005f, ox0 + 1.7f, oy0 + 0.2f, oz0, kSilver)}},
        {"TopScrewLeft", {cylinder(Axis::Y, ox0 + 0.1f, oy1, 0.7f, ox0 + 0.2f, oy1 + 0.01f, 0.8f, kSteel)}},
        {"TopScrewRight", {cylinder(Axis::Y, ox1 - 0.2f, oy1, 0.7f, ox1 - 0.1f, oy1 + 0.01f, 0.8f, kSteel)}},
        {"SideScrewFront", {cylinder(Axis::X, ox1, oy0 + 0.3f, -1.2f, ox1 + 0.01f, oy0 + 0.4f, -1.1f, kSteel)}},
        {"SideScrewBack", {cylinder(Axis::X, ox1, oy0 + 0.3f, 0.5f, ox1 + 0.01f, oy0 + 0.4f, 0.6f, kSteel)}},
        {"DriveAudioOut", {box(ox0 + 0.3f, oy0 + 0.3f, oz1, ox0 + 0.5f, oy0 + 0.45f, oz1 + 0.06f, kWhite)}},
        {"DriveDataConnector", {box(ox0 + 0.7f, oy0 + 0.25f, oz1, ox0 + 1.7f, oy0 + 0.45f, oz1 + 0.06f, kBlack)}},
        {"DriveJumpers", {box(ox0 + 1.8f, oy0 + 0.3f, oz1, ox0 + 2.0f, oy0 + 0.42f, oz1 + 0.05f, kBlack)}},
        {"DrivePowerConnector", {box(ox0 + 2.1f, oy0 + 0.25f, oz1, ox0 + 2.6f, oy0 + 0.45f, oz1 + 0.06f, kWhite)}},
        {"DriveVents", {showing(plate(ox0 + 0.6f, oy1, -0.4f, ox0 + 1.6f, oy1 + 0.005f, 0.3f, kSteel), pictures::kGrille, 0.12f)}},
        {"DriveSerialLabel", {showing(plate(ox0 + 1.8f, oy1, -0.6f, ox0 + 2.6f, oy1 + 0.005f, 0.2f, kPrinted), pictures::kSerialLabel)}},
        {"BottomPlate", {box(ox0 + 0.1f, oy0 - 0.005f, -1.3f, ox1 - 0.1f, oy0, 0.8f, kDarkSteel)}},
        {"SideRailLeft", {box(ox0 - 0.005f, oy0 + 0.2f, -1.4f, ox0, oy0 + 0.5f, 0.8f, kDarkSteel)}},
        {"SideRailRight", {box(ox1, oy0 + 0.5f, -1.4f, ox1 + 0.005f, oy0 + 0.6f, 0.8f, kDarkSteel)}},
        {"BezelTrim", {box(ox0, oy1 - 0.04f, oz0 - 0.005f, ox1, oy1 - 0.02f, oz0, kDarkSteel)}},
    };
    for (std::size_t i = 0; i < details.size(); ++i)
        t.push_back(placed(numbered("vid", static_cast<int>(i) + 2), {frame(details[i].first, details[i].second)}, bay));
}

void cardsAndSlots(std::vector<MeshFileSpec>& t) {
    // Slot row k stands under card k at x = 2.3 - 0.3 (k - 1), the seventh 0.2
    // closer; each kind of slot has its own stretch of the row.
    const float slotX[] = {2.3f, 2.0f, 1.7f, 1.4f, 1.1f, 0.8f, 0.6f};
    struct SlotKind {
        const char* files[7];
        float z0, z1;
        Colour colour;
    };
    const SlotKind kinds[] = {
        {{"vm200.x", "vm201.x", "vm202.x", "vm203.x", "vm204.x", "vm205.x", "vm207.x"}, 3.9f, 4.9f, kSlotWhite},
        {{"vm300.x", "vm301.x", "vm302.x", "vm303.x", "vm304.x", "vm305.x", "vm306.x"}, 5.0f, 6.0f, kBlack},
        {{"vm500.x", "vm501.x", "vm502.x", "vm503.x", "vm504.x", "vm505.x", "vm506.x"}, 3.3f, 3.8f, kSocketBlue},
        {{"vm600.x", "vm601.x", "vm602.x", "vm603.x", "vm604.x", "vm605.x", "vm606.x"}, 2.8f, 3.2f, kBlack},
        {{"vm700.x", "vm701.x", "vm702.x", "vm703.x", "vm704.x", "vm705.x", "vm706.x"}, 2.4f, 2.7f, kSlotWhite},
    };
    for (const auto& kind : kinds)
        for (int k = 0; k < 7; ++k)
            t.push_back(placed(kind.files[k], {frame("Frame7Cube_3", slot(slotX[k] - 0.05f, kBoardTop, kind.z0, slotX[k] + 0.05f, kSlotTop, kind.z1, kind.colour, Axis::Z))}));
    // Riser for a second video chip's card: shown only in the all-parts view.
    t.push_back(placed("vm208.x", {frame("SpareSlotRiser", {box(3.0f, kBoardTop, 3.3f, 3.9f, -2.9f, 3.5f, kBlack)})}));

    // The card of slot 1; the chain repeats it leftwards.
    const float x = slotX[0];
    t.push_back(placed("vm280.x", {frame("Frame44Cube_20", {showing(box(x - 0.015f, kCardBottom, 3.9f, x + 0.015f, -1.2f, 6.1f, kPrintedBoard), pictures::kCardBoard)}),
                                   frame("CardBracket", {box(x - 0.01f, -2.9f, 6.1f, x + 0.03f, -0.9f, 6.2f, kSteel)}),
                                   frame("CardChip", {showing(box(x + 0.015f, -1.9f, 4.6f, x + 0.05f, -1.5f, 5.0f, kPrinted), pictures::kChip)})}));

    // Video card in the AGP socket, its cooler on the side away from the camera.
    const float v = 0.25f;
    // The backplate on the side facing the front carries the card's name.
    t.push_back(placed("vm80.x", {frame("Frame1Cube_21", {showing(box(v - 0.015f, kCardBottom, 3.9f, v + 0.015f, -1.3f, 6.1f, kPrintedBoard), pictures::kVideoBoard),
                                                          showing(plate(v - 0.025f, -2.6f, 4.25f, v - 0.015f, -1.45f, 5.85f, kPrinted),
                                                                  sticker(NameplateKind::Graphics))})}));
    std::vector<std::pair<std::string, Primitive>> video = {
        {"GpuHeatsink", showing(box(v + 0.015f, -2.55f, 4.3f, v + 0.15f, -1.65f, 5.6f, kShroud), pictures::kPainted, 0.5f)},
        {"GpuFan", shaped(cylinder(Axis::X, v + 0.15f, -2.5f, 4.4f, v + 0.23f, -1.7f, 5.2f, kFan), Shape::Fan, Axis::X, kBlade)},
        {"VideoBracket", box(v - 0.01f, -2.9f, 6.1f, v + 0.03f, -0.9f, 6.2f, kSteel)},
        {"VideoVgaOut", box(v + 0.03f, -1.6f, 6.15f, v + 0.2f, -1.1f, 6.2f, kVgaBlue)},
        {"VideoDviOut", box(v + 0.03f, -2.5f, 6.15f, v + 0.2f, -1.8f, 6.2f, kWhite)},
        {"VideoMemoryFront", showing(box(v + 0.015f, -2.7f, 3.95f, v + 0.04f, -2.6f, 4.25f, kPrinted), pictures::kChip)},
        {"VideoPowerPins", box(v + 0.015f, -1.45f, 4.0f, v + 0.1f, -1.32f, 4.2f, kBlack)},
        {"VideoCapacitors", cylinder(Axis::X, v + 0.015f, -1.6f, 5.7f, v + 0.12f, -1.48f, 5.82f, kCapacitor)},
        {"VideoMemoryBack", showing(box(v + 0.015f, -2.7f, 5.7f, v + 0.04f, -2.6f, 6.0f, kPrinted), pictures::kChip)},
        {"VideoLabel", box(v + 0.015f, -1.6f, 4.3f, v + 0.02f, -1.5f, 4.8f, kWhite)},
    };
    for (std::size_t i = 0; i < video.size(); ++i)
        t.push_back(placed(numbered("vm", 81 + static_cast<int>(i)), {frame(video[i].first, {video[i].second})}));
}

void memory(std::vector<MeshFileSpec>& t) {
    // Module 1 stands in the first socket at z = 2.3; the frames move the
    // others back. Every module loads its own board file.
    const float z = 2.3f, x0 = 2.8f, x1 = 4.15f, y0 = kSlotTop, y1 = -2.19f;
    const char* boards[] = {"vm140a.x", "vm140b.x", "vm140c.x", "vm140d.x"};
    const char* names[] = {"Frame0Cube_1291", "Frame0Cube_1292", "Frame0Cube_1293", "Frame0Cube_1294"};
    // The board is cut at the key notch; one picture spans its pieces. The
    // sticker in the middle of the front carries the module's name.
    const float notch = 3.37f;
    auto piece = [&](float a, float b, float bottom) {
        Primitive p = showing(plate(a, bottom, z - 0.015f, b, y1, z + 0.015f, kPrintedBoard), pictures::kMemoryBoard);
        p.texture.spansArea = true;
        p.texture.areaLo = {x0, y0, z - 0.015f};
        p.texture.areaHi = {x1, y1, z + 0.015f};
        return p;
    };
    for (int i = 0; i < 4; ++i)
        t.push_back(placed(boards[i], {frame(names[i], {piece(x0, notch, y0), piece(notch + 0.03f, x1, y0), piece(notch, notch + 0.03f, y0 + 0.05f),
                                                        showing(plate(3.40f, -2.66f, z - 0.02f, 3.63f, -2.36f, z - 0.015f, kPrinted),
                                                                sticker(NameplateKind::Memory))})}));
    t.push_back(placed("vm901.x", {frame("Frame0Cube_1291", {box(3.9f, -2.7f, z + 0.015f, 4.05f, -2.6f, z + 0.03f, kChip)})}));
    // Four memory chips on the front face, leaving the middle free; a click on
    // a chip names the module too.
    const float chipX[] = {2.86f, 3.14f, 3.66f, 3.94f};
    for (int i = 0; i < 4; ++i)
        t.push_back(placed(numbered("vm", 117 + i), {frame("Frame0Cube_1291", {showing(box(chipX[i], -2.65f, z - 0.035f, chipX[i] + 0.22f, -2.35f, z - 0.015f, kPrinted), pictures::kChip)})}));
}

void memoryCards(std::vector<MeshFileSpec>& t) {
    // A card reader in an upper bay at the right: one slot row per kind, with up to eight
    // cards of that kind standing out of it side by side.
    struct Kind {
        const char* readerFile;
        const char* firstCardFile;
        int restFrom;  // file number of cards 2 to 8
        const char* name;
        Colour colour;
    };
    const Kind kinds[] = {
        {"vm818.x", "vm810.x", 811, "Cube_5-18", kCompactFlash},
        {"vm828.x", "vm820.x", 821, "Cube-56", kMmcCard},
        {"vm838.x", "vm830.x", 831, "Cube_1-18", kSmartMedia},
        {"vm848.x", "vm840.x", 841, "Cube_2-83", kMemoryStick},
    };
    for (int row = 0; row < 4; ++row) {
        const Kind& k = kinds[row];
        const float y = -1.3f + 0.08f * static_cast<float>(row);
        t.push_back(placed(k.readerFile, {frame("CardReaderSlot", {box(2.35f, y, -1.6f, 4.0f, y + 0.08f, -1.0f, kBlack)})}));
        for (int m = 1; m <= 8; ++m) {
            const float x = 2.4f + 0.2f * static_cast<float>(m - 1);
            const std::string file = m == 1 ? k.firstCardFile : numbered("vm", k.restFrom + m - 2);
            t.push_back(placed(file, {frame(k.name, {box(x, y + 0.025f, -1.85f, x + 0.16f, y + 0.055f, -1.6f, k.colour)})}));
        }
    }
}

// A keyboard lying with its long side along z, its rows of keys facing the
// case: a body 1.3 deep and 6 long with five rows of keys on it.
std::vector<Primitive> keyboard(float x0, float z0, float bottom, Colour body) {
    const float top = bottom + 0.1f;
    std::vector<Primitive> parts{box(x0, bottom, z0, x0 + 1.3f, top, z0 + 6.0f, body)};
    for (int row = 0; row < 5; ++row) {
        const float x = x0 + 0.1f + 0.225f * static_cast<float>(row);
        parts.push_back(showing(box(x, top, z0 + 0.15f, x + 0.18f, top + 0.07f, z0 + 5.85f, paint::kKeyCap), pictures::kKeys));
    }
    return parts;
}

// Outside the case, to the right on the desk: a USB hub, the mice, the
// keyboards, the batteries. Devices at later USB positions stack on the first.
void peripherals(std::vector<MeshFileSpec>& t) {
    for (int c = 1; c <= 8; ++c) {
        const float z = 0.2f + 0.38f * static_cast<float>(c - 1);
        t.push_back(placed(numbered("vm", 749 + c), {frame("Cube_1-5", {box(5.0f, kDeskTop, z, 5.25f, -3.16f, z + 0.28f, kUsbBlack)})}));
        const float lift = 0.3f * static_cast<float>(c - 1);
        t.push_back(placed(numbered("vm", 779 + c), {frame("Cube_17-8", {box(5.5f, kDeskTop + lift, 1.3f, 6.05f, -3.08f + lift, 2.2f, kMouseBody)})}));
        t.push_back(placed(numbered("vm", 789 + c), {frame("UsbKeyboard", keyboard(5.5f, 5.3f, kDeskTop + lift, kKeyboardBody))}));
        // Memory sticks in the front USB sockets 9 to 16.
        const float x = -4.18f + 0.33f * static_cast<float>(c - 1);
        t.push_back(placed(numbered("vm", 759 + c), {frame("Frame2Cube_3", {box(x, 0.51f, -2.3f, x + 0.2f, 0.57f, -1.7f, kStickBlue)})}));
    }
    t.push_back(placed("vmpsmouse.x", {frame("Cube_17-18", {box(5.5f, kDeskTop, 2.5f, 6.05f, -3.08f, 3.4f, kBlack)})}));
    t.push_back(placed("vmpskey.x", {frame("Cube-12", keyboard(7.1f, 6.0f, kDeskTop, kBeige))}));
    t.push_back(placed("vm963.x", {frame("Cube-7", {box(6.35f, kDeskTop, 4.3f, 7.2f, -2.5f, 5.2f, kBlack)})}));
    t.push_back(placed("vm964.x", {frame("Frame35Cube_1", {box(-3.7f, 0.29f, -1.7f, -3.4f, 0.43f, -1.6f, kInfraredRed)})}));
    t.push_back(placed("vm969.x", {frame("Cube_57-3 ", {box(6.25f, kDeskTop, 3.1f, 7.05f, -3.05f, 3.8f, kDarkSteel)}),
                                   frame("Cube-5", {box(6.5f, -3.28f, 3.0f, 6.8f, -3.12f, 3.1f, kBatteryYellow)})}));
    t.push_back(placed("vm970.x", {frame("Cut_cone_1-1", {cylinder(Axis::Z, -4.15f, 0.28f, -1.7f, -3.99f, 0.44f, -1.6f, kBrass)})}));
    t.push_back(placed("vm971.x", {frame("SpareCaseFoot", {cylinder(Axis::Y, 4.0f, kFloorTop, 5.6f, 4.28f, -3.1f, 5.88f, kBlack)})}));
}

void markers(std::vector<MeshFileSpec>& t) {
    const Vec3 axes{7.0f, 0.0f, 6.0f};
    // Long enough to show above the front fan from the default camera.
    t.push_back(placed("cad_xyz.x", {frame("AxisOrigin", {box(6.92f, -0.08f, 5.92f, 7.08f, 0.08f, 6.08f, kWhite)}),
                                     frame("AxisX", {cylinder(Axis::X, 7.08f, -0.05f, 5.95f, 8.6f, 0.05f, 6.05f, kAxisRed)}),
                                     frame("AxisY", {cylinder(Axis::Y, 6.95f, 0.08f, 5.95f, 7.05f, 1.6f, 6.05f, kAxisGreen)}),
                                     frame("AxisZ", {cylinder(Axis::Z, 6.95f, -0.05f, 6.08f, 7.05f, 0.05f, 7.6f, kAxisBlue)})},
                     axes));
    t.push_back(placed("base1.x", {frame("BasePlate", {showing(box(-8.0f, -3.45f, -2.0f, 9.5f, kDeskTop, 13.0f, kPrinted), pictures::kDesk)})}));
}

}  // namespace

std::vector<MeshFileSpec> partsTable() {
    std::vector<MeshFileSpec> t;
    body(t);
    portsAndSockets(t);
    processorAndCooling(t);
    drives(t);
    cardsAndSlots(t);
    memory(t);
    memoryCards(t);
    peripherals(t);
    markers(t);
    return t;
}

}  // namespace meshgen
