// The main dialog as the watcher sees it: its controls, read into the
// settings at every tick, and its status list, which gets a row for every
// window the watcher handled.
#pragma once

#include "shell/SettingsControls.h"
#include "shell/Text.h"

namespace nimbrel {

class WatchHost : public SettingsControls {
  public:
    // AddStatusLine: a new first row of the status list (window title,
    // status text).
    virtual void AddStatusLine(StringView windowTitle, StringView status) = 0;
};

}  // namespace nimbrel
