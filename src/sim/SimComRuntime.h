// COM on the program's thread in the simulated desktop: initialisation and
// the registered message filter, which the simulated documents consult as
// COM's modal loop does (SimHtmlDocuments).
#pragma once

#include "platform/ComRuntime.h"
#include "sim/SimFaults.h"

namespace nimbrel {

class SimComRuntime : public ComRuntime {
  public:
    explicit SimComRuntime(SimFaults& faults_) : faults(faults_) {}

    // CoInitialize calls not yet balanced by CoUninitialize.
    int InitCount() const { return initCount; }
    // The registered message filter, or null.
    MessageFilter* Filter() const { return filter; }

    HResult CoInitialize() override { return ++initCount == 1 ? hr::kOk : hr::kFalse; }
    void CoUninitialize() override {
        if (initCount == 0) {
            faults.Report("CoUninitialize without CoInitialize");
            return;
        }
        // The last one ends the apartment, and the filter with it.
        if (--initCount == 0) filter = nullptr;
    }
    HResult CoRegisterMessageFilter(MessageFilter* newFilter) override {
        if (initCount == 0) {
            faults.Report("CoRegisterMessageFilter before CoInitialize");
            return hr::kNotInitialized;
        }
        filter = newFilter;
        return hr::kOk;
    }

  private:
    SimFaults& faults;
    int initCount = 0;
    MessageFilter* filter = nullptr;
};

}  // namespace nimbrel
