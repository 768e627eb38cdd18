// What an engine DLL serves. Each DLL's module file defines kServer; dll_exports.cpp,
// built into every engine DLL, answers DllMain and the COM exports from it.
#pragma once
#include "class_table.h"

namespace engine_com {

struct ServerDefinition {
    std::span<const ClassEntry> classes;
    HRESULT (*afterRegister)(); // more to set up once the classes are registered, or null
};

extern const ServerDefinition kServer;

} // namespace engine_com
