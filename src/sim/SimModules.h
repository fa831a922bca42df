// Libraries of the simulated desktop that the program loads at run time. By
// default OLEACC.DLL is there and exports ObjectFromLresult; a test can take
// either away. Names compare without regard to letter case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Modules.h"
#include "sim/SimFaults.h"

namespace nimbrel {

class SimModules : public Modules {
  public:
    explicit SimModules(SimFaults& faults);

    // Scenario operations.
    void Install(std::string_view name, std::vector<std::string> exports);
    void Remove(std::string_view name);
    void RemoveExport(std::string_view name, std::string_view exportName);
    // The address GetProcAddress gives for the export (kNoProc when absent).
    ProcAddress AddressOf(std::string_view name, std::string_view exportName) const;
    // Loads not yet balanced by FreeLibrary.
    int LoadCount(std::string_view name) const;

    // The seam.
    ModuleHandle LoadLibraryA(const char* fileName) override;
    ProcAddress GetProcAddress(ModuleHandle module, const char* procName) override;
    bool FreeLibrary(ModuleHandle module) override;

  private:
    struct Module {
        std::string name;
        std::vector<std::string> exports;
        bool installed = true;
        int loads = 0;
    };
    Module* ByName(std::string_view name);
    const Module* ByName(std::string_view name) const;
    Module* ByHandle(ModuleHandle module);
    ModuleHandle HandleOf(const Module& module) const;

    SimFaults& faults;
    std::vector<Module> modules;  // never shrinks, so handles stay unique
};

}  // namespace nimbrel
