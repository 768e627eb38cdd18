#include "action_answer.h"

#include "catalogue/catalogue.h"
#include "engine/com_owners.h"
#include "engine/component_id.h"
#include "idl/desktop_search.h"
#include "mail_command.h"
#include "url_handler.h"

#include <optional>

namespace tamsel {
namespace {

enum class ActionKind { none, open, reply, replyToAll };

// Offered to nobody, though the engine may ask.
constexpr wchar_t ignoredActionId[] = L"{443EA114-7429-489B-A53C-52ECD0B3B8C8}";
// The engine's older id of the open action.
constexpr wchar_t otherOpenActionId[] = L"{38F6D626-3945-453C-99B5-63DC42C84C01}";

ActionKind KindOf(const GUID& actionId) {
    // In the order the engine's own handlers compare them.
    const struct {
        const wchar_t* id;
        ActionKind kind;
    } table[] = {{ignoredActionId, ActionKind::none},
                 {replyActionId, ActionKind::reply},
                 {replyToAllActionId, ActionKind::replyToAll},
                 {openActionId, ActionKind::open},
                 {otherOpenActionId, ActionKind::open}};
    for (const auto& entry : table) {
        GUID id;
        if (SUCCEEDED(CLSIDFromString(entry.id, &id)) && IsEqualGUID(id, actionId))
            return entry.kind;
    }
    return ActionKind::none;
}

// A text property; nothing when it cannot be read or is not a text.
std::optional<std::wstring> ReadText(IOrvennaResultItem& item, const wchar_t* name) {
    const ThrowingBstr property(name);
    UniqueVariant value;
    if (FAILED(item.GetProperty(property.get(), value.put())) || (*value).vt != VT_BSTR)
        return std::nullopt;
    return std::wstring(automation::BstrView((*value).bstrVal));
}

// The first of the properties that can be read and holds something.
std::optional<std::wstring> FirstText(IOrvennaResultItem& item,
                                      std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names)
        if (auto text = ReadText(item, name); text && !text->empty())
            return text;
    return std::nullopt;
}

// The sender, and for reply to all everyone else the result names; nothing when there is
// nobody to write to.
std::optional<std::wstring> Recipients(IOrvennaResultItem& item, ActionKind kind) {
    std::optional<std::wstring> recipients = FirstText(item, {L"from", L"owner", L"organizer"});
    if (!recipients || kind != ActionKind::replyToAll)
        return recipients;
    bool added = false;
    // The engine spells the participants of its calendar results "paticipants".
    for (const auto& others :
         {FirstText(item, {L"to"}), FirstText(item, {L"cc", L"attendees", L"paticipants"})}) {
        if (!others)
            continue;
        *recipients += L"," + *others;
        added = true;
    }
    if (!added)
        return std::nullopt;
    return recipients;
}

// The caption in the language of the calling thread, which may differ from the one chosen
// when the library was loaded.
std::wstring Caption(MessageId id) {
    return WideMessageText(id, CatalogueLanguageFor(GetThreadLocale()));
}

ActionAnswer AnswerReply(IOrvennaResultItem& item, ActionKind kind) {
    const std::optional<std::wstring> recipients = Recipients(item, kind);
    if (!recipients)
        return {actionWithoutCommand, {}, {}};
    std::optional<std::wstring> subject = ReadText(item, L"subject");
    if (!subject)
        subject = ReadText(item, L"title");
    std::optional<std::wstring> command = BuildMailCommand(*recipients, subject);
    // Offered only when it would be carried out.
    if (!command || !IsActionCommand(*command))
        return {actionWithoutCommand, {}, {}};
    const MessageId caption = kind == ActionKind::replyToAll ? msgActionReplyToAll : msgActionReply;
    return {actionReady, Caption(caption), std::move(*command)};
}

} // namespace

ActionAnswer AnswerAction(const GUID& actionId, IDispatch* item) {
    ComPtr<IOrvennaResultItem> result;
    if (!item || FAILED(item->QueryInterface(IID_PPV_ARGS(&result))) || !result)
        return {};
    const std::optional<std::wstring> cookie = ReadText(*result.Get(), L"cookie");
    constexpr std::wstring_view scheme = L"Tamsel";
    if (!cookie || cookie->size() < scheme.size() ||
        CompareStringOrdinal(cookie->data(), int(scheme.size()), scheme.data(), int(scheme.size()),
                             TRUE) != CSTR_EQUAL)
        return {};
    const ActionKind kind = KindOf(actionId);
    switch (kind) {
    case ActionKind::none:
        return {};
    case ActionKind::open:
        // Only a document URL: the cookie is whatever the engine stored.
        if (!IsActionCommand(*cookie))
            return {actionWithoutCommand, {}, {}};
        return {actionReady, Caption(msgActionOpen), *cookie};
    case ActionKind::reply:
    case ActionKind::replyToAll:
        return AnswerReply(*result.Get(), kind);
    }
    return {};
}

} // namespace tamsel
