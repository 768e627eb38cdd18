// The second engine's index creation time, which changes when that engine rebuilds its index:
// everything must then be sent again.
#pragma once
#include <string>

namespace tamsel {

// The engine's key under the current user; tests point it at a key of their own.
extern const char* engineIndexKey;

// "index_creation_time" as upper-case hexadecimal, two digits a byte; empty when absent.
std::string EngineIndexCreationText();

} // namespace tamsel
