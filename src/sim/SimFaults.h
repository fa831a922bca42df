// Misuse of the platform that real Windows would punish with a crash, a leak
// or silent corruption (releasing a COM pointer twice, freeing a block the
// clipboard owns, closing a clipboard that is not open ...). The simulation
// refuses the call, as far as it can, and notes it here; tests assert that
// the list stays empty.
#pragma once

#include <string>
#include <vector>

namespace nimbrel {

class SimFaults {
  public:
    void Report(std::string what) { faults.push_back(std::move(what)); }
    const std::vector<std::string>& List() const { return faults; }
    bool Empty() const { return faults.empty(); }
    void Clear() { faults.clear(); }

  private:
    std::vector<std::string> faults;
};

}  // namespace nimbrel
