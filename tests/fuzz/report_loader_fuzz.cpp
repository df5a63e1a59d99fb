// libFuzzer target: the loader on arbitrary bytes.

#include <cstdint>
#include <string>

#include "collect/report_loader.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    static test::TempFolder dir;
    static NodeReport report;
    static BuilderTable builders = [] {
        BuilderTable t;
        for (std::size_t i = 0; i < kBuilderCount; ++i)
            t.set(static_cast<BuilderId>(i), [](NodeReport& r) {
                if (r.LastEntry < -1 || r.RowCursor < -1 || r.RowCursor > 254) __builtin_trap();
            });
        return t;
    }();
    test::writeBytes(dir.path() / "report", std::string(reinterpret_cast<const char*>(data), size));
    loadReportFile(dir.path() / "report", report, builders);
    return 0;
}
