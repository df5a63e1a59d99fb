#include "model/model_session.h"

#include "model/display_modes.h"

namespace vantrel::model {

void attachModel(HardwareSession& session, BuildTarget& target) {
    installBuilders(session.builders, target);
    session.resetModel = [&target] { resetModel(target.pc); };
    session.renderView = [&target] {
        if (target.pc.hooks.renderScene) target.pc.hooks.renderScene();
    };
}

}  // namespace vantrel::model
