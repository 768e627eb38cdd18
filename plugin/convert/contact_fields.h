// Texts of a contact that are assembled from several items, in the client's character set.
#pragma once
#include "ntamsel.h"

namespace tamsel {

// "street\r\ncity, state zip country", a separator only after a part that has text. Stops
// early, with what it has, when the buffer is nearly full. Returns the length.
WORD AssembleAddress(NOTEHANDLE note, char* buffer, WORD capacity, const char* street,
                     const char* city, const char* state, const char* zip, const char* country);

// The items of the three misc slots: the user's label and the value.
inline constexpr const char* miscLabelItems[] = {"MiscLabel1", "MiscLabel2", "MiscLabel3"};
inline constexpr const char* miscValueItems[] = {"MiscPhone1", "MiscPhone2", "MiscPhone3"};

// What the user's label of a misc slot (1 to 3) says its value is.
enum class MiscKind : WORD {
    none = 0,
    onlineName = 1,
    email = 2,
    nickname = 3,
    homePage = 4,
    url = 5
};
MiscKind ClassifyMiscLabel(NOTEHANDLE note, int slot);

// The values of the chosen misc slots joined with ", ". Returns the length.
WORD CollectMiscValues(NOTEHANDLE note, char* buffer, WORD capacity, bool take1, bool take2,
                       bool take3);

} // namespace tamsel
