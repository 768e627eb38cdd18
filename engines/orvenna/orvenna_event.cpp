#include "orvenna_event.h"

#include "core/orvenna_index.h"
#include "idl/engine_results.h"

namespace orvenna {
namespace {

using namespace engine_core;

constexpr PropertyRule kEmailProperties[] = {
    {"content", kText}, {"format", kText},  {"received", kDate | kNumber},
    {"uri", kText},     {"subject", kText}, {"from", kText},
    {"to", kText},      {"cc", kText},      {"bcc", kText},
    {"title", kText},
};

// Bit 0 asks for indexing now, bit 1 for a historical (crawled) document.
constexpr long kKnownSendFlags = 0x3;

} // namespace

const EventKind kEmailEvent{"orvenna", "Orvenna.Desktop.Email", kEmailProperties, "uri"};

HRESULT OrvennaEvent::Send(long flags) {
    if (flags & ~kKnownSendFlags)
        return engine_results::E_INVALID_EVENT_FLAGS;
    return com_server::Guarded([&] {
        if (const HRESULT hr = EnsureOrvennaIndex(); FAILED(hr))
            return hr;
        return builder_.Send();
    });
}

} // namespace orvenna
