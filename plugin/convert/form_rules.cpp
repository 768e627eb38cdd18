#include "form_rules.h"

#include "bounded_text.h"
#include "item_text.h"

#include <initializer_list>
#include <string_view>

namespace tamsel {
namespace {

// Form names ignore the case of ASCII letters; a missing or empty "Form" matches none.
bool HasForm(NOTEHANDLE note, std::initializer_list<std::string_view> forms) {
    if (!note)
        return false;
    char form[256];
    const WORD length = StoreReadItemText(note, "Form", form, sizeof form);
    if (length == 0)
        return false;
    for (const std::string_view name : forms)
        if (EqualsIgnoringAsciiCase(std::string_view(form, length), name))
            return true;
    return false;
}

int MailItemScore(NOTEHANDLE note) {
    int score = 0;
    if (HasItem(note, "SendTo") || HasItem(note, "EnterSendTo"))
        ++score;
    if (HasItem(note, "CopyTo") || HasItem(note, "EnterCopyTo") || HasItem(note, "ReplyTo"))
        ++score;
    if (HasItem(note, "Subject"))
        ++score;
    if (HasItem(note, "From"))
        ++score;
    if (HasItem(note, "PostedDate"))
        score += 2;
    return score;
}

} // namespace

bool IsCalendarEntry(NOTEHANDLE note) {
    return HasForm(note, {"Appointment"});
}
bool IsTask(NOTEHANDLE note) {
    return HasForm(note, {"Task"});
}
bool IsContact(NOTEHANDLE note) {
    return HasForm(note, {"Person"});
}
bool IsJournalEntry(NOTEHANDLE note) {
    return HasForm(note, {"JournalEntry", "CleanSheet"});
}

bool IsDiscussionDocument(NOTEHANDLE note) {
    return HasForm(note, {"MainTopic", "Response", "ResponseToResponse", "Announcement"});
}

bool IsMailDocument(NOTEHANDLE note) {
    if (!note)
        return false;
    return HasForm(note, {"Memo", "Reply", "Reply With History", "Notice", "TaskNotice"}) ||
           MailItemScore(note) >= 4;
}

MailSort SortOfMail(NOTEHANDLE note) {
    if (HasItem(note, "PostedDate"))
        return MailSort::posted;
    return HasItem(note, "$IMTranscript") ? MailSort::transcript : MailSort::draft;
}

} // namespace tamsel
