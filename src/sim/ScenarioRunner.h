// Plays a ScenarioScript on a ScenarioWorld, one step after the other, on
// the driver's clock (virtual in the simulation, real under Wine). The
// driver calls Advance at the times it returns; waits poll every 50 ms up to
// their deadline. Failed expectations are collected, not fatal: the
// scenario goes on, so that one run shows every difference.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/ScenarioScript.h"
#include "sim/ScenarioWorld.h"

namespace nimbrel {

class ScenarioRunner {
  public:
    static constexpr std::uint64_t kPollInterval = 50;

    ScenarioRunner(const ScenarioScript& script, ScenarioWorld& world);

    // Runs the steps due at `now` (milliseconds on the driver's clock);
    // returns when to call again, or nullopt once every step has run.
    std::optional<std::uint64_t> Advance(std::uint64_t now);

    bool Done() const { return next >= script.Steps().size(); }
    // Whether a step expected the program to end by itself.
    bool ExpectsEnd() const { return expectsEnd; }
    const std::vector<std::string>& Failures() const { return failures; }
    // One line per step run, for the report.
    const std::vector<std::string>& Log() const { return log; }

  private:
    // Runs one step; false when it must be tried again later.
    bool Run(const ScenarioStep& step, std::uint64_t now);
    void Check(const ScenarioStep& step, bool ok, const std::string& what);
    // An expectation's end: true once it holds or its `within` has passed
    // (then checked), false to try again.
    bool Finish(const ScenarioStep& step, std::uint64_t elapsed, bool ok, const std::string& what);
    bool ExpectText(const ScenarioStep& step, std::uint64_t elapsed);

    const ScenarioScript& script;
    ScenarioWorld& world;
    std::size_t next = 0;
    std::optional<std::uint64_t> stepStart;  // of a step that waits
    bool expectsEnd = false;
    std::vector<std::string> failures;
    std::vector<std::string> log;
};

// Text for messages: UTF-8 with CR and LF written as \r and \n.
std::string Visible(StringView text);

}  // namespace nimbrel
