#include "result_names.h"

#include "idl/engine_results.h"

#include <algorithm>
#include <iterator>

namespace tamsel {
namespace {

using namespace engine_results;

struct ResultName {
    HRESULT code;
    const char* name;
};

constexpr ResultName resultNames[] = {
    {S_INDEXING_PAUSED, "S_INDEXING_PAUSED"},
    {S_PROPERTY_TRUNCATED, "S_PROPERTY_TRUNCATED"},
    {E_END_OF_FILE, "Unknown name... end of file error"},
    {E_EXTENSION_REGISTERED, "E_EXTENSION_REGISTERED"},
    {E_COMPONENT_NOT_REGISTERED, "E_COMPONENT_NOT_REGISTERED"},
    {E_NO_SUCH_SCHEMA, "E_NO_SUCH_SCHEMA"},
    {E_NO_SUCH_PROPERTY, "E_NO_SUCH_PROPERTY"},
    {E_COMPONENT_DISABLED, "E_COMPONENT_DISABLED"},
    {E_COMPONENT_ALREADY_REGISTERED, "E_COMPONENT_ALREADY_REGISTERED"},
    {E_EVENT_TOO_LARGE, "E_EVENT_TOO_LARGE"},
    {E_SERVICE_NOT_RUNNING, "E_SERVICE_NOT_RUNNING"},
    {E_INVALID_EVENT_FLAGS, "E_INVALID_EVENT_FLAGS"},
    {E_COMPONENT_PROHIBITED, "E_COMPONENT_PROHIBITED"},
    {E_SEND_DELAYED, "E_SEND_DELAYED"},
    {E_PROPERTY_TOO_LARGE, "E_PROPERTY_TOO_LARGE"},
    {E_PROPERTY_NOT_SET, "E_PROPERTY_NOT_SET"},
    {E_SERVICE_IS_EXITING, "E_SERVICE_IS_EXITING"},
    {E_APPLICATION_IS_EXITING, "E_APPLICATION_IS_EXITING"},
    {E_RETRY_SEND, "E_RETRY_SEND"},
};

} // namespace

const char* EngineResultName(HRESULT result) {
    const auto found =
        std::find_if(std::begin(resultNames), std::end(resultNames),
                     [result](const ResultName& entry) { return entry.code == result; });
    return found == std::end(resultNames) ? "Unknown HRESULT" : found->name;
}

} // namespace tamsel
