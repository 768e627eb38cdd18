#include "user_interface.h"

namespace tamsel {

UserInterface userInterface = {MessageBoxA, GetOpenFileNameA, DialogBoxParamA};

} // namespace tamsel
