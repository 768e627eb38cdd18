#include "converters.h"

#include "body_content.h"
#include "contact_fields.h"
#include "conversion_buffers.h"
#include "document_steps.h"
#include "document_url.h"
#include "engine_date.h"
#include "item_property.h"
#include "send_event.h"
#include "settings/index_type_mask.h"
#include "text_list.h"
#include "text_property.h"

namespace tamsel {
namespace {

// How a row of the contact's table finds its value.
enum class Source {
    item,       // the item, read by `reading`
    firstOfTwo, // the item if it has text, else `fallback`
    date,       // a time item as a date line
    primaryPhone,
    primaryFax,
};

// Which primary number a row may choose.
enum class Primary { none, phone, fax };

struct Row {
    Source source;
    const char* item;
    PropertyId id;
    ItemReading reading = ItemReading::commas;
    const char* fallback = nullptr;
    Primary primary = Primary::none;
    bool writeEmpty = false;
    const char* logName = nullptr;
};

// The items after the two addresses, in the order they are written.
const Row rows[] = {
    {Source::item, "OfficePhoneNumber", propBusinessPhone, ItemReading::commas, nullptr,
     Primary::phone},
    {Source::item, "OfficePhoneNumber", propCompanyPhone},
    {Source::firstOfTwo, "CellPhoneNumber", propMobilePhone, ItemReading::commas, "PersPager",
     Primary::phone},
    {Source::firstOfTwo, "PhoneNumber_6", propPager, ItemReading::commas, "PersPager",
     Primary::phone},
    {Source::item, "PhoneNumber", propHomePhone, ItemReading::commas, nullptr, Primary::phone},
    {Source::item, "OfficeFAXPhoneNumber", propBusinessFax, ItemReading::commas, nullptr,
     Primary::fax},
    {Source::item, "HomeFAXPhoneNumber", propHomeFax, ItemReading::commas, nullptr, Primary::fax},
    {Source::item, "FullName", propDisplayName, ItemReading::joinedList, nullptr, Primary::none,
     true},
    {Source::item, "FullName", propSubject, ItemReading::joinedList, nullptr, Primary::none, true},
    {Source::item, "Assistant", propAssistant},
    {Source::date, "Birthday", propBirthday, ItemReading::commas, nullptr, Primary::none, false,
     "birthday"},
    {Source::item, "WebSite", propBusinessHomePage},
    {Source::item, "Categories", propCategories, ItemReading::categories},
    {Source::item, "Children", propChildrenNames},
    {Source::item, "CompanyName", propCompanyName},
    {Source::firstOfTwo, "OfficeCountry", propCountry, ItemReading::commas, "Country"},
    {Source::item, "Department", propDepartment},
    {Source::item, "MailAddress", propEmail1},
    {Source::item, "Spouse", propSpouse},
    {Source::item, "JobTitle", propJobTitle},
    {Source::item, "Manager", propManagerName},
    {Source::item, "Location", propOfficeLocation},
    {Source::date, "Anniversary", propWeddingAnniversary, ItemReading::commas, nullptr,
     Primary::none, false, "wedding_anniversary"},
    {Source::primaryPhone, nullptr, propPrimaryPhone},
    {Source::primaryFax, nullptr, propPrimaryFax},
};

// The misc slots: the kinds gathered under one property each, then the e-mail slots.
constexpr struct {
    MiscKind kind;
    PropertyId id;
} miscProperties[] = {{MiscKind::onlineName, propImAddress},
                      {MiscKind::nickname, propNickname},
                      {MiscKind::homePage, propPersonalHomePage},
                      {MiscKind::url, propWebPage}};
constexpr PropertyId miscEmailIds[] = {propUnnamedMisc, propEmail2, propEmail3};

class ContactWriter {
  public:
    ContactWriter(NOTEHANDLE note, EngineEvent& event) : note_(note), event_(event) {}

    HRESULT WriteAddresses() {
        HRESULT hr = WriteAddress(propBusinessAddress, "OfficeStreetAddress", "OfficeCity",
                                  "OfficeState", "OfficeZip", "OfficeCountry");
        if (FAILED(hr))
            return hr;
        return WriteAddress(propHomeAddress, "StreetAddress", "City", "State", "Zip", "Country");
    }

    HRESULT WriteRows() {
        for (const Row& row : rows) {
            const HRESULT hr = WriteRow(row);
            if (FAILED(hr))
                return hr;
        }
        return S_OK;
    }

    HRESULT WriteMiscSlots() {
        const MiscKind kinds[] = {ClassifyMiscLabel(note_, 1), ClassifyMiscLabel(note_, 2),
                                  ClassifyMiscLabel(note_, 3)};
        for (const auto& misc : miscProperties) {
            const WORD length =
                CollectMiscValues(note_, itemText, textBufferSize, kinds[0] == misc.kind,
                                  kinds[1] == misc.kind, kinds[2] == misc.kind);
            const HRESULT hr = WriteTextProperty(itemText, length, misc.id, event_, false);
            if (FAILED(hr))
                return hr;
        }
        for (int slot = 0; slot < 3; ++slot) {
            const char* item = miscValueItems[slot];
            if (kinds[slot] != MiscKind::email || !ItemHasText(note_, item))
                continue;
            const HRESULT hr = WriteItemProperty(note_, ItemReading::commas, item,
                                                 miscEmailIds[slot], event_, false);
            if (FAILED(hr))
                return hr;
        }
        return S_OK;
    }

  private:
    HRESULT WriteAddress(PropertyId id, const char* street, const char* city, const char* state,
                         const char* zip, const char* country) {
        const WORD length =
            AssembleAddress(note_, itemText, textBufferSize, street, city, state, zip, country);
        return WriteTextProperty(itemText, length, id, event_, false);
    }

    HRESULT WriteRow(const Row& row) {
        const char* item = row.item;
        switch (row.source) {
        case Source::date:
            return WriteTimeItem(note_, item, row.id, event_, row.logName);
        case Source::primaryPhone:
            item = primaryPhone_;
            break;
        case Source::primaryFax:
            item = primaryFax_;
            break;
        case Source::firstOfTwo:
            if (!ItemHasText(note_, item))
                item = row.fallback;
            break;
        case Source::item:
            break;
        }
        if (!item)
            return S_OK;
        const HRESULT hr =
            WriteItemProperty(note_, row.reading, item, row.id, event_, row.writeEmpty);
        if (FAILED(hr))
            return hr;
        const char*& primary = row.primary == Primary::phone ? primaryPhone_ : primaryFax_;
        if (row.primary != Primary::none && !primary && ItemHasText(note_, item))
            primary = item;
        return hr;
    }

    NOTEHANDLE note_;
    EngineEvent& event_;
    const char* primaryPhone_ = nullptr; // the first phone item with text, in the rows' order
    const char* primaryFax_ = nullptr;
};

HRESULT WriteAndSend(NOTEHANDLE note, PassContext& context, DATE modified) {
    EngineEvent event(indexTypeContacts);
    ContactWriter writer(note, event);
    HRESULT hr;
    if (FAILED(hr = WriteModifiedTime(event, modified)) ||
        FAILED(hr = WriteBodyContent(note, nullptr, true, event)) ||
        FAILED(hr = WriteDocumentUrl(note, event, propOtherUrl)) ||
        FAILED(hr = writer.WriteAddresses()) || FAILED(hr = writer.WriteRows()) ||
        FAILED(hr = writer.WriteMiscSlots()) || FAILED(hr = WriteFolder(context.database, event)))
        return hr;
    return SendDocumentEvent(event, context);
}

} // namespace

bool ConvertContact(NOTEHANDLE note, PassContext* context) {
    if (!note)
        return RefuseMissingNote(context);
    const auto modified = NoteModifiedDate(note);
    if (!modified)
        return HandOverAsDeleted(note, context);
    return Finish(context, WriteAndSend(note, *context, *modified));
}

} // namespace tamsel
