// Any text as a time: parsing must not crash, and whatever parses must render to a text that
// parses back to the same value.
#include "store_time.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = store::TextToTime(text);
    if (!value)
        return 0;
    if (store::TextToTime(store::TimeToText(*value)) != value)
        std::abort();
    return 0;
}
