// nimbrel reformat [--config FILE] [--set NAME=VALUE]... [--data DIR] [--seed N]
//                  [--report] [--in-place] [FILE|-]
#pragma once

namespace CLI {
class App;
}

namespace nimbrel {

void RegisterReformatCommand(CLI::App& app);

}  // namespace nimbrel
