// The numbers by which converters name event properties; the writers decide per number
// whether a value becomes an engine property, the kept url or a line of the content text.
#pragma once
#include <windows.h>

#include <string>

namespace tamsel {

using PropertyId = DWORD;

constexpr PropertyId propSubject = 0;
constexpr PropertyId propCategories = 1;
constexpr PropertyId propOwner = 2;
constexpr PropertyId propFrom = 3;
constexpr PropertyId propTo = 4;
constexpr PropertyId propCc = 5;
constexpr PropertyId propMailSubject = 6;
constexpr PropertyId propBcc = 7;
constexpr PropertyId propReplyTo = 8;
constexpr PropertyId propFolderName = 9;
constexpr PropertyId propBusinessAddress = 11;
constexpr PropertyId propHomeAddress = 12;
constexpr PropertyId propBusinessPhone = 13;
constexpr PropertyId propCompanyPhone = 14;
constexpr PropertyId propMobilePhone = 15;
constexpr PropertyId propPager = 16;
constexpr PropertyId propHomePhone = 17;
constexpr PropertyId propBusinessFax = 18;
constexpr PropertyId propHomeFax = 19;
constexpr PropertyId propDisplayName = 20;
constexpr PropertyId propAssistant = 21;
constexpr PropertyId propBusinessHomePage = 22;
constexpr PropertyId propChildrenNames = 23;
constexpr PropertyId propCompanyName = 24;
constexpr PropertyId propCountry = 25;
constexpr PropertyId propDepartment = 26;
constexpr PropertyId propEmail1 = 27;
constexpr PropertyId propSpouse = 28;
constexpr PropertyId propJobTitle = 29;
constexpr PropertyId propManagerName = 30;
constexpr PropertyId propOfficeLocation = 31;
constexpr PropertyId propPrimaryPhone = 32;
constexpr PropertyId propPrimaryFax = 33;
constexpr PropertyId propImAddress = 34;
constexpr PropertyId propNickname = 35;
constexpr PropertyId propPersonalHomePage = 36;
constexpr PropertyId propWebPage = 37;
constexpr PropertyId propEmail2 = 38;
constexpr PropertyId propEmail3 = 39;
constexpr PropertyId propOrganizer = 40;
constexpr PropertyId propAttendees = 41;
constexpr PropertyId propLocation = 42;
constexpr PropertyId propModifiedTime = 43;
constexpr PropertyId propStatus = 44;
constexpr PropertyId propDateCompleted = 45;
constexpr PropertyId propImportance = 46;
constexpr PropertyId propOtherUrl = 47;
constexpr PropertyId propReceivedTime = 48;
constexpr PropertyId propContent = 49;
constexpr PropertyId propContentFormat = 50;
constexpr PropertyId propMailFlags = 51;
constexpr PropertyId propMailUrl = 52;
constexpr PropertyId propStartTime = 54;
constexpr PropertyId propExtendedUrl = 55;
constexpr PropertyId propOtherData = 56;
constexpr PropertyId propMailHeader = 57;
constexpr PropertyId propBirthday = 60;
constexpr PropertyId propWeddingAnniversary = 61;
constexpr PropertyId propStartDate = 62;
constexpr PropertyId propDueDate = 63;
constexpr PropertyId propEndDate = 64;
constexpr PropertyId propDuration = 65;
constexpr PropertyId propRecurrencePattern = 66;
constexpr PropertyId lastPropertyId = 66;
// Beyond the vocabulary: its value becomes an "unknown type" content line.
constexpr PropertyId propUnnamedMisc = 67;

// The name of an id in the vocabulary, or null beyond it.
const wchar_t* PropertyName(PropertyId id);
// The name for log lines: the vocabulary's, else "unknown type".
std::string PropertyLogName(PropertyId id);

} // namespace tamsel
