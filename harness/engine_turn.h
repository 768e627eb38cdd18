// The engines' registry keys and COM classes are shared by every process of the Wine
// prefix: tests that change them, or run the plug-in against installed engines, take turns
// through a named mutex held for the object's life. Throws when the turn does not come within
// two minutes.
#pragma once
#include "unique_resource.h"

#include <windows.h>

namespace testing_support {

class EngineTurn {
  public:
    EngineTurn();
    ~EngineTurn();
    EngineTurn(const EngineTurn&) = delete;
    EngineTurn& operator=(const EngineTurn&) = delete;

  private:
    win32::UniqueHandle mutex_;
};

} // namespace testing_support
