// Processes of the simulated desktop. The program under test makes every call
// of the platform seam as kProgramProcess; Outlook Express and other programs
// act through the simulation's scenario operations under their own numbers.
// Each process has one thread, whose input state its windows share.
#pragma once

#include <cstdint>

namespace nimbrel {

using SimProcess = int;
constexpr SimProcess kProgramProcess = 0;
constexpr SimProcess kOeProcess = 1;
constexpr SimProcess kOtherProcess = 2;

// The ids a process and its thread have for GetWindowThreadProcessId and
// GetCurrentThreadId.
constexpr std::uint32_t SimProcessId(SimProcess process) {
    return 0x100 + static_cast<std::uint32_t>(process);
}
constexpr std::uint32_t SimThreadId(SimProcess process) {
    return 0x1000 + static_cast<std::uint32_t>(process);
}

}  // namespace nimbrel
