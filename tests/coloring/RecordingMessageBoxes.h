// A MessageBoxes that records every box and answers OK.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/MessageBoxes.h"
#include "shell/Utf.h"

namespace nimbrel {

class RecordingMessageBoxes : public MessageBoxes {
  public:
    struct Box {
        String text;
        String caption;
        std::uint32_t flags;
    };

    int MessageBoxW(StringView text, StringView caption, std::uint32_t flags) override {
        boxes.push_back({String(text), String(caption), flags});
        return mb::kIdOk;
    }
    int MessageBoxA(std::string_view text, std::string_view caption, std::uint32_t flags) override {
        boxes.push_back({AnsiToUtf16(text), AnsiToUtf16(caption), flags});
        return mb::kIdOk;
    }

    std::vector<Box> boxes;
};

}  // namespace nimbrel
