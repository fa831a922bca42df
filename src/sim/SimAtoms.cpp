#include "sim/SimAtoms.h"

#include "sim/SimStrings.h"

namespace nimbrel {

namespace {

constexpr std::uint32_t kFirstAtom = 0xC000;
constexpr std::size_t kMaxAtoms = 0x4000;

}  // namespace

std::uint32_t SimAtoms::Register(StringView name) {
    if (name.empty()) return 0;
    if (const std::uint32_t atom = Find(name)) return atom;
    if (names.size() >= kMaxAtoms) return 0;
    names.emplace_back(name);
    return kFirstAtom + static_cast<std::uint32_t>(names.size() - 1);
}

std::uint32_t SimAtoms::Find(StringView name) const {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sim::EqualsIgnoreCase(names[i], name))
            return kFirstAtom + static_cast<std::uint32_t>(i);
    }
    return 0;
}

const String* SimAtoms::Name(std::uint32_t atom) const {
    if (atom < kFirstAtom || atom - kFirstAtom >= names.size()) return nullptr;
    return &names[atom - kFirstAtom];
}

}  // namespace nimbrel
