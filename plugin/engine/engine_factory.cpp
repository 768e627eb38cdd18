#include "engine_factory.h"

#include <objbase.h>

namespace tamsel {
namespace {

HRESULT CreateWithCom(REFCLSID classId, DWORD context, REFIID interfaceId, void** out) {
    return CoCreateInstance(classId, nullptr, context, interfaceId, out);
}

} // namespace

EngineFactory engineFactory = {CreateWithCom};

} // namespace tamsel
