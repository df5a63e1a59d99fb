// libFuzzer target: any profile either fails with a
// clear error or gives a report that the loader reads back whole.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "collect/collection_run.h"
#include "collect/report_loader.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "providers/profile/profile_provider.h"
#include "wbem/wbem_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    static test::TempFolder home;
    std::shared_ptr<wbem::Profile> profile;
    try {
        profile = std::make_shared<wbem::Profile>(
            wbem::parseProfile(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json"));
    } catch (const wbem::WbemError&) {
        return 0;
    }
    test::FakeUi ui;
    ProgramState state(ProgramFolder(home.path()), ui);
    state.domain.nodes.currentNode = state.domain.nodes.append(
        NodeRecord{"FUZZ", "10.0.0.7", "", NodeEnabled::Shown, "", "", ScanStatus::NotScanned});
    state.domain.currentLogin = CurrentLogin{"", "", ""};
    HardwareSession session;
    session.provider = std::make_shared<wbem::ProfileProvider>(profile);
    try {
        if (!CollectHardware(state, session)) std::abort();
    } catch (const WmiError&) {
        return 0;
    }
    if (LoadReport(state, session) != LoadEnd::Complete) std::abort();
    return 0;
}
