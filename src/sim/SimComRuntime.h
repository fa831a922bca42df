// COM initialisation of the program's thread in the simulated desktop.
#pragma once

#include "platform/ComRuntime.h"
#include "sim/SimFaults.h"

namespace nimbrel {

class SimComRuntime : public ComRuntime {
  public:
    explicit SimComRuntime(SimFaults& faults_) : faults(faults_) {}

    // CoInitialize calls not yet balanced by CoUninitialize.
    int InitCount() const { return initCount; }

    HResult CoInitialize() override { return ++initCount == 1 ? hr::kOk : hr::kFalse; }
    void CoUninitialize() override {
        if (initCount == 0) {
            faults.Report("CoUninitialize without CoInitialize");
            return;
        }
        --initCount;
    }

  private:
    SimFaults& faults;
    int initCount = 0;
};

}  // namespace nimbrel
