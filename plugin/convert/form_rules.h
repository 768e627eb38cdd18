// What kind of document a note is, from its "Form" item (and for mail, its mail items).
// Each test answers false for a null handle.
#pragma once
#include "ntamsel.h"

namespace tamsel {

bool IsCalendarEntry(NOTEHANDLE note);
bool IsTask(NOTEHANDLE note);
// A known mail form, or enough of the mail items (sender, recipients, subject, posted date).
bool IsMailDocument(NOTEHANDLE note);
bool IsContact(NOTEHANDLE note);
bool IsJournalEntry(NOTEHANDLE note);
bool IsDiscussionDocument(NOTEHANDLE note);

// What a mail is by its items: posted, a chat transcript, or a draft (neither).
enum class MailSort { posted, transcript, draft };
MailSort SortOfMail(NOTEHANDLE note);

} // namespace tamsel
