// Shell execution in the simulated desktop: every call is recorded and
// answered with the next scripted result (42, success, by default).
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/Shell.h"
#include "platform/sim/SimStrings.h"

namespace nimbrel {

struct SimShellCall {
    WindowHandle owner;
    String verb;
    String file;
    String parameters;
    String directory;
    int showCommand;
};

class SimShell : public Shell {
  public:
    void Answer(std::intptr_t result) { script.push_back(result); }
    const std::vector<SimShellCall>& Calls() const { return calls; }

    std::intptr_t ShellExecuteW(WindowHandle owner, const char16_t* verb, const char16_t* file,
                                const char16_t* parameters, const char16_t* directory,
                                int showCommand) override {
        calls.push_back({owner, String(sim::Terminated(verb)), String(sim::Terminated(file)),
                         String(sim::Terminated(parameters)), String(sim::Terminated(directory)),
                         showCommand});
        if (script.empty()) return 42;
        const std::intptr_t result = script.front();
        script.pop_front();
        return result;
    }

  private:
    std::deque<std::intptr_t> script;
    std::vector<SimShellCall> calls;
};

}  // namespace nimbrel
