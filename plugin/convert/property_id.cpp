#include "property_id.h"

namespace tamsel {
namespace {

constexpr const wchar_t* names[lastPropertyId + 1] = {
    L"subject",
    L"categories",
    L"owner",
    L"from",
    L"to",
    L"cc",
    L"subject",
    L"bcc",
    L"replyto",
    L"folder_name",
    L"buddy_name",
    L"business_address",
    L"home_address",
    L"business_phone",
    L"company_phone",
    L"mobile_phone",
    L"pager",
    L"home_phone",
    L"business_fax",
    L"home_fax",
    L"display_name",
    L"assistant",
    L"business_home_page",
    L"children_names",
    L"company_name",
    L"country",
    L"department",
    L"email1",
    L"spouse",
    L"job_title",
    L"manager_name",
    L"office_location",
    L"primary_phone",
    L"primary_fax",
    L"im_address",
    L"nickname",
    L"personal_home_page",
    L"web_page",
    L"email2",
    L"email3",
    L"organizer",
    L"attendees",
    L"location",
    L"time",
    L"status",
    L"date_completed",
    L"importance",
    L"url",
    L"time",
    L"content",
    L"content_format",
    L"mail_flags",
    L"url",
    L"time",
    L"start_time",
    L"url",
    L"other_data",
    L"mail_header",
    L"time",
    L"conversation_id",
    L"birthday",
    L"wedding_anniversary",
    L"start_date",
    L"due_date",
    L"end_date",
    L"duration",
    L"recurrence_pattern",
};

} // namespace

const wchar_t* PropertyName(PropertyId id) {
    return id <= lastPropertyId ? names[id] : nullptr;
}

std::string PropertyLogName(PropertyId id) {
    const std::wstring_view name = id <= lastPropertyId ? names[id] : L"unknown type";
    return std::string(name.begin(), name.end()); // the names are ASCII
}

} // namespace tamsel
