#include "model/change_marks.h"

#include "collect/text_case.h"
#include "engine3d/scene/frame_path.h"
#include "model/builder_support.h"

namespace vantrel::model {
namespace {

// The places of one kind of part, in the order the builders fill them.
std::vector<FramePtr> placesOf(VirtualPc& pc, const PlacedChange& change) {
    auto all = [](auto& array) {
        std::vector<FramePtr> frames;
        for (int k = 1; k <= array.kSize; ++k) frames.push_back(array[k]);
        return frames;
    };
    const std::string& c = change.category;
    if (c == "Memory") return all(pc.MemoryModuleFrame);
    if (c == "Disk Drive") return all(pc.HardDiskFrame);
    if (c == "CD") return all(pc.OpticalDriveFrame);
    if (c == "Ethernet") return all(pc.EthernetPortFrame);
    if (c == "Fan") return {pc.CpuFanFrame, pc.RearFanFrame, pc.FrontFanFrame};
    if (c == "CPU") return {containsAt(lowerCase(change.name), "amd") ? pc.AmdCpuFrame : pc.IntelCpuFrame};
    if (c == "Video") {
        // As the video builder tells a chip from a card.
        const std::string lowered = lowerCase(change.name);
        if (containsAt(lowered, "chip")) return {pc.VideoChipFrame};
        if (containsAt(lowered, "card")) return {pc.VideoCardFrame};
        if (containsAt(lowered, "case")) return {};
        return {isIntegratedGraphics(lowered) ? pc.VideoChipFrame : pc.VideoCardFrame};
    }
    return {};
}

// The place of an entry (from 1); kinds with one place show every entry there.
FramePtr entryPlace(const std::vector<FramePtr>& places, int entry) {
    if (places.size() == 1) return places.front();
    if (entry < 1 || entry > static_cast<int>(places.size())) return nullptr;
    return places[static_cast<std::size_t>(entry - 1)];
}

const ChangeMark* markOn(const VirtualPc& pc, const FramePtr& frame) {
    for (const auto& mark : pc.changeMarks)
        if (mark.frame && mark.frame == frame) return &mark;
    return nullptr;
}

// An added or changed part is the place of its entry, when the report lit it.
FramePtr presentPlace(VirtualPc& pc, const PlacedChange& change) {
    const FramePtr frame = entryPlace(placesOf(pc, change), change.entry);
    return frame && frame->Enabled && !markOn(pc, frame) ? frame : nullptr;
}

// A removed part stays where it was when that place is empty now. Where a
// new part took its place it is shown by that part; where the others moved
// up it takes the first place that is still empty.
FramePtr ghostPlace(VirtualPc& pc, const PlacedChange& change) {
    const std::vector<FramePtr> places = placesOf(pc, change);
    if (const FramePtr own = entryPlace(places, change.entry)) {
        if (!own->Enabled) return own;
        if (const ChangeMark* taken = markOn(pc, own); taken && taken->change.kind == ChangeKind::Added) return nullptr;
    }
    for (const auto& frame : places)
        if (!frame->Enabled) return frame;
    return nullptr;
}

}  // namespace

void markChanges(VirtualPc& pc, const std::vector<PlacedChange>& changes, const std::string& lastSeen) {
    clearChangeMarks(pc);
    // Present parts first, so that ghosts only take what stays empty.
    for (const auto& change : changes) {
        if (change.kind == ChangeKind::Removed) continue;
        const FramePtr frame = presentPlace(pc, change);
        if (frame) frame->Tint = change.kind == ChangeKind::Added ? kAddedTint : kChangedTint;
        pc.changeMarks.push_back({change, frame, {}});
    }
    for (const auto& change : changes) {
        if (change.kind != ChangeKind::Removed) continue;
        const FramePtr frame = ghostPlace(pc, change);
        if (frame) {
            frame->Enabled = true;
            frame->Tint = kRemovedGhost;
        }
        pc.changeMarks.push_back({change, frame, lastSeen});
    }
}

void clearChangeMarks(VirtualPc& pc) {
    for (const auto& mark : pc.changeMarks) {
        if (!mark.frame) continue;
        mark.frame->Tint.reset();
        if (mark.change.kind == ChangeKind::Removed) mark.frame->Enabled = false;
    }
    pc.changeMarks.clear();
}

const ChangeMark* changeMarkAt(const VirtualPc& pc, const FramePtr& hit) {
    if (!hit || pc.changeMarks.empty()) return nullptr;
    const std::vector<FramePtr> path = engine3d::framePath(pc.PcRoot, hit);
    // The nearest marked frame above the hit.
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        if (const ChangeMark* mark = markOn(pc, *it)) return mark;
    return nullptr;
}

std::string ghostLabel(const ChangeMark& mark) {
    std::string label = "Removed: " + mark.change.name;
    if (!mark.lastSeen.empty()) label += " (last seen " + mark.lastSeen + ")";
    return label;
}

}  // namespace vantrel::model
