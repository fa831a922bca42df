// The main dialog as the end of the program sees it: its controls hold the
// current values of the options shown there.
#pragma once

namespace nimbrel {

class SettingsControls {
  public:
    virtual ~SettingsControls() = default;

    // ReadControls: reads every bound control into the settings record and
    // clamps the wrap column.
    virtual void ReadControls() = 0;
};

}  // namespace nimbrel
