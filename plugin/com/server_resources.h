// Resource ids of the COM server's registry scripts (resource type "REGISTRY"), shared by
// server.rc and the code.
#pragma once

#define MODULE_SCRIPT 101
#define PLUGIN_CLASS_SCRIPT 102
#define ACTIONS_CLASS_SCRIPT 178
