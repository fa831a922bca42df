#include "sim/SimModules.h"

#include <algorithm>

#include "sim/SimStrings.h"

namespace nimbrel {

namespace {

constexpr std::uintptr_t kFirstModule = 0x70000000;
constexpr std::uintptr_t kModuleStride = 0x100000;

}  // namespace

SimModules::SimModules(SimFaults& faults_) : faults(faults_) {
    Install("OLEACC.DLL", {"ObjectFromLresult"});
}

void SimModules::Install(std::string_view name, std::vector<std::string> exports) {
    if (Module* existing = ByName(name)) {
        existing->exports = std::move(exports);
        existing->installed = true;
        return;
    }
    modules.push_back({std::string(name), std::move(exports)});
}

void SimModules::Remove(std::string_view name) {
    if (Module* module = ByName(name)) module->installed = false;
}

void SimModules::RemoveExport(std::string_view name, std::string_view exportName) {
    if (Module* module = ByName(name)) {
        std::erase_if(module->exports, [&](const std::string& e) { return e == exportName; });
    }
}

ProcAddress SimModules::AddressOf(std::string_view name, std::string_view exportName) const {
    const Module* module = ByName(name);
    if (module == nullptr) return kNoProc;
    const auto found = std::find(module->exports.begin(), module->exports.end(), exportName);
    if (found == module->exports.end()) return kNoProc;
    const auto index = static_cast<std::uintptr_t>(found - module->exports.begin());
    return ProcAddress{static_cast<std::uintptr_t>(HandleOf(*module)) + 0x1000 + index * 0x10};
}

int SimModules::LoadCount(std::string_view name) const {
    const Module* module = ByName(name);
    return module ? module->loads : 0;
}

SimModules::Module* SimModules::ByName(std::string_view name) {
    for (Module& module : modules) {
        if (sim::EqualsIgnoreCase(module.name, name)) return &module;
    }
    return nullptr;
}

const SimModules::Module* SimModules::ByName(std::string_view name) const {
    return const_cast<SimModules*>(this)->ByName(name);
}

SimModules::Module* SimModules::ByHandle(ModuleHandle handle) {
    for (Module& module : modules) {
        if (HandleOf(module) == handle) return &module;
    }
    return nullptr;
}

ModuleHandle SimModules::HandleOf(const Module& module) const {
    const auto index = static_cast<std::uintptr_t>(&module - modules.data());
    return ModuleHandle{kFirstModule + index * kModuleStride};
}

ModuleHandle SimModules::LoadLibraryA(const char* fileName) {
    Module* module = fileName ? ByName(fileName) : nullptr;
    if (module == nullptr || !module->installed) return kNoModule;
    ++module->loads;
    return HandleOf(*module);
}

ProcAddress SimModules::GetProcAddress(ModuleHandle handle, const char* procName) {
    Module* module = ByHandle(handle);
    if (module == nullptr || module->loads == 0 || procName == nullptr) return kNoProc;
    return AddressOf(module->name, procName);
}

bool SimModules::FreeLibrary(ModuleHandle handle) {
    Module* module = ByHandle(handle);
    if (module == nullptr || module->loads == 0) {
        faults.Report("FreeLibrary of a library that is not loaded");
        return false;
    }
    --module->loads;
    return true;
}

}  // namespace nimbrel
