// nimbrel demo [--data DIR] [--out DIR]
#pragma once

namespace CLI {
class App;
}

namespace nimbrel {

void RegisterDemoCommand(CLI::App& app);

}  // namespace nimbrel
