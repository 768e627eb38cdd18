#include "zendri_event.h"

namespace zendri {
namespace {

using namespace engine_core;

constexpr unsigned kTextOrNumber = kText | kNumber;

// What the mail schema carries: the standing properties, the addresses and the folder,
// and the extended ones a component may send when the engine takes them.
constexpr PropertyRule kMailProperties[] = {
    {"content", kText},
    {"url", kText},
    {"content_format", kText},
    {"time", kNumber | kDate},
    {"subject", kTextOrNumber},
    {"from", kTextOrNumber},
    {"to", kTextOrNumber},
    {"cc", kTextOrNumber},
    {"bcc", kTextOrNumber},
    {"replyto", kTextOrNumber},
    {"folder_name", kTextOrNumber},
    {"mail_flags", kNumber},
    {"other_data", kText},
};

} // namespace

const EventKind kMailEvent{"zendri", "ZendriDS.Mail", kMailProperties, "url"};

HRESULT ZendriEvent::Send() {
    return com_server::Guarded([&] { return builder_.Send(); });
}

} // namespace zendri
