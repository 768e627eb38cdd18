// The numbers by which converters name event properties; the writers decide per number
// whether a value becomes an engine property, the kept url or a line of the content text.
#pragma once
#include <windows.h>

#include <string>

namespace tamsel {

using PropertyId = DWORD;

constexpr PropertyId propSubject = 0;
constexpr PropertyId propCategories = 1;
constexpr PropertyId propFrom = 3;
constexpr PropertyId propTo = 4;
constexpr PropertyId propCc = 5;
constexpr PropertyId propMailSubject = 6;
constexpr PropertyId propBcc = 7;
constexpr PropertyId propReplyTo = 8;
constexpr PropertyId propFolderName = 9;
constexpr PropertyId propModifiedTime = 43;
constexpr PropertyId propOtherUrl = 47;
constexpr PropertyId propReceivedTime = 48;
constexpr PropertyId propContent = 49;
constexpr PropertyId propContentFormat = 50;
constexpr PropertyId propMailFlags = 51;
constexpr PropertyId propMailUrl = 52;
constexpr PropertyId propExtendedUrl = 55;
constexpr PropertyId propOtherData = 56;
constexpr PropertyId propMailHeader = 57;
constexpr PropertyId lastPropertyId = 66;

// The name of an id in the vocabulary, or null beyond it.
const wchar_t* PropertyName(PropertyId id);
// The name for log lines: the vocabulary's, else "unknown type".
std::string PropertyLogName(PropertyId id);

} // namespace tamsel
