// Processes of the simulated desktop. The program under test makes every call
// of the platform seam as kProgramProcess; Outlook Express and other programs
// act through the simulation's scenario operations under their own numbers.
#pragma once

namespace nimbrel {

using SimProcess = int;
constexpr SimProcess kProgramProcess = 0;
constexpr SimProcess kOeProcess = 1;
constexpr SimProcess kOtherProcess = 2;

}  // namespace nimbrel
