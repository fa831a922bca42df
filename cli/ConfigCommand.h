// nimbrel config [--config FILE] show | set NAME=VALUE...
#pragma once

namespace CLI {
class App;
}

namespace nimbrel {

void RegisterConfigCommand(CLI::App& app);

}  // namespace nimbrel
