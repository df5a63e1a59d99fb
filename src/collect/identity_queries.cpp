#include "collect/identity_queries.h"

#include "collect/connection.h"
#include "core/command.h"

namespace vantrel {

void collectIdentityAnswers(const ProgramState& state, HardwareSession& session) {
    if (!session.answers) return;
    for (const auto& identity : kIdentityQueries) {
        attempt([&] {
            WmiQuery query(state, session);
            query.exec(identity.query);
            query.forEachRow([](const wbem::Row&) { return true; });
        });
    }
}

}  // namespace vantrel
