#include "export/export_target.h"

#include "export/export_error.h"

namespace vantrel {
namespace {

// The path made absolute with its existing part's links resolved.
std::filesystem::path resolved(const std::filesystem::path& path) {
    std::error_code error;
    const auto out = std::filesystem::weakly_canonical(std::filesystem::absolute(path), error);
    return error ? std::filesystem::absolute(path).lexically_normal() : out;
}

bool inside(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const auto relative = resolved(path).lexically_relative(resolved(folder));
    return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

void refuseInsideProgramFolder(const std::filesystem::path& target, const std::filesystem::path& programFolder) {
    if (inside(target, programFolder) || resolved(target) == resolved(programFolder))
        throw ExportError(target.string() + " is inside the program folder " + programFolder.string() +
                          ": an export is written elsewhere");
}

}  // namespace vantrel
