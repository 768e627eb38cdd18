#include "engine/result_names.h"

#include <gtest/gtest.h>

using tamsel::EngineResultName;

namespace {

TEST(EngineResultNames, NamesTheEnginesCodesAndNothingElse) {
    const struct {
        DWORD code;
        const char* name;
    } named[] = {
        {0x00040007, "S_INDEXING_PAUSED"},
        {0x0004000D, "S_PROPERTY_TRUNCATED"},
        {0x80005007, "Unknown name... end of file error"},
        {0x80040001, "E_EXTENSION_REGISTERED"},
        {0x80040006, "E_COMPONENT_ALREADY_REGISTERED"},
        {0x80040008, "E_EVENT_TOO_LARGE"},
        {0x8004000C, "E_SEND_DELAYED"},
        {0x80040012, "E_RETRY_SEND"},
    };
    for (const auto& entry : named)
        EXPECT_STREQ(EngineResultName(HRESULT(entry.code)), entry.name) << std::hex << entry.code;

    // Neighbours of the engine's range and ordinary COM results have no engine name.
    for (DWORD code : {0x00000000u, 0x00000001u, 0x00040000u, 0x00040006u, 0x80040000u, 0x80040007u,
                       0x8004000Du, 0x80040013u, 0x80004005u, 0x80070057u, 0x00005007u})
        EXPECT_STREQ(EngineResultName(HRESULT(code)), "Unknown HRESULT") << std::hex << code;
}

} // namespace
