// nimbrel view [--config FILE] [--set NAME=VALUE]... [--data DIR] [--html]
//              [--fragment] [-o FILE] [FILE|-]
#pragma once

namespace CLI {
class App;
}

namespace nimbrel {

void RegisterViewCommand(CLI::App& app);

}  // namespace nimbrel
