// The client installed for the given data directory and the plug-in registered as a COM
// server with regsvr32, as their installations do, for the life of the object. The
// registration's settings (the second engine's query cookie) go to that data directory.
#pragma once
#include "temp_dir.h"

class RegisteredPlugin {
  public:
    explicit RegisteredPlugin(const testing_support::TempDir& data); // throws when it fails
    ~RegisteredPlugin();
    RegisteredPlugin(const RegisteredPlugin&) = delete;
    RegisteredPlugin& operator=(const RegisteredPlugin&) = delete;
};
