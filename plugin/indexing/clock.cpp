#include "clock.h"

namespace tamsel {

Clock indexingClock = {GetTickCount, Sleep};

} // namespace tamsel
