#include "catalogue/catalogue.h"
#include "catalogue/failure_log.h"
#include "com_result.h"
#include "plugin_fixture.h"
#include "string_table.h"
#include "unique_resource.h"

#include <algorithm>
#include <stdexcept>

using namespace tamsel;

namespace {

const LANGID catalogueLanguages[] = {1031, 1033, 1034, 1035, 1036, 1040, 1043, 1044, 1046, 1053};

// The catalogue walked by number, also where it has no text.
MessageId Numbered(WORD number) {
    return MessageId(number);
}

TEST(CatalogueLanguage, MapsEveryRegionalVariantToItsTable) {
    const struct {
        LANGID locale;
        LANGID expected;
    } cases[] = {
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS), 1031},
        {MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE), 1046},
        {MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), 1033},
        {MAKELANGID(LANG_NORWEGIAN, SUBLANG_NORWEGIAN_NYNORSK), 1044},
        {MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MEXICAN), 1034},
        {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN), 1036},
        {MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH_FINLAND), 1053},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), 1033},
        {MAKELANGID(LANG_DANISH, SUBLANG_DEFAULT), 1033},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CatalogueLanguageFor(MAKELCID(c.locale, SORT_DEFAULT)), c.expected) << c.locale;
}

TEST(CatalogueLanguage, IsChosenFromTheThreadLocaleAtAttach) {
    const LCID before = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN), SORT_DEFAULT));
    InitCatalogue(GetModuleHandleW(nullptr));
    EXPECT_EQ(SelectedLanguage(), 1031);
    SetThreadLocale(before);
    InitCatalogue(GetModuleHandleW(nullptr));
    EXPECT_EQ(SelectedLanguage(), 1033);
}

// The catalogue's ids run without a gap from the first to the last.
constexpr WORD kFirstId = msgProductName, kLastId = msgLogUnexpectedFailure;

class Catalogue : public PluginTest {};

TEST_F(Catalogue, EveryIdResolvesInEveryLanguage) {
    for (LANGID language : catalogueLanguages)
        for (WORD id = kFirstId; id <= kLastId; ++id) {
            std::string text;
            EXPECT_TRUE(LoadMessage(Numbered(id), language, text)) << id << " in " << language;
            EXPECT_FALSE(text.empty()) << id << " in " << language;
        }
}

TEST_F(Catalogue, IdsOutsideTheCatalogueFailAndLeaveTheTargetUnchanged) {
    for (WORD id : {WORD(0), WORD(kFirstId - 1), WORD(kLastId + 1), WORD(239), WORD(240)}) {
        std::string text = "untouched";
        EXPECT_FALSE(LoadMessage(Numbered(id), 1033, text)) << id;
        EXPECT_EQ(text, "untouched") << id;
    }
    std::string text;
    EXPECT_FALSE(LoadMessage(msgMenuItem, 1049, text)) << "no fall-back to another language";
    EXPECT_TRUE(LoadMessage(msgDialogCaption, 1033, text));
    EXPECT_EQ(text, "Zendri Desktop Search for Quarrix Velmora Tamsel");
}

TEST_F(Catalogue, AFailureNoCodePathExpectedIsLoggedWithWhatItSaid) {
    com_server::UnexpectedFailureReport() = LogUnexpectedFailure;
    EXPECT_EQ(com_server::Guarded([]() -> HRESULT { throw std::runtime_error("disk on fire"); }),
              E_UNEXPECTED);
    com_server::UnexpectedFailureReport() = nullptr;
    ASSERT_FALSE(LogLines().empty()) << "logged without debug logging";
    EXPECT_EQ(LogLines().back().rfind("TamselODSPlugin: Unexpected failure: disk on fire", 0), 0u)
        << LogLines().back();
}

TEST_F(Catalogue, KeepsEmbeddedZerosOfTheFileFilter) {
    std::string filter;
    ASSERT_TRUE(LoadMessage(msgOpenFileFilter, 1033, filter));
    EXPECT_EQ(filter, std::string("ZRB Databases (*.zrb)\0*.zrb\0All Files (*.*)\0*.*", 47));
}

TEST_F(Catalogue, ConvertsToTheNarrowCodePage) {
    std::string text;
    ASSERT_TRUE(LoadMessage(msgMenuItem, 1031, text));
    EXPECT_EQ(text, "Zendri Desktop Search f\xFCr Tamsel");
    ASSERT_TRUE(LoadMessage(msgLogStartingIndexing, 1036, text));
    EXPECT_EQ(text, "TamselODSPlugin: Starting indexing\n")
        << "log formats are the same everywhere";
}

TEST_F(Catalogue, FixedBufferCutsAt255Characters) {
    char buffer[fixedMessageSize];
    std::fill(std::begin(buffer), std::end(buffer), 'Z');
    EXPECT_EQ(LoadMessageFixed(msgConsentQuestion, buffer), 255u);
    EXPECT_EQ(buffer[255], '\0');
    EXPECT_EQ(std::string(buffer, 14), "By activating ");
    EXPECT_EQ(LoadMessageFixed(msgWaitingToIndex, buffer), 16u);
    EXPECT_STREQ(buffer, "Waiting to index");
    EXPECT_EQ(LoadMessageFixed(Numbered(300), buffer), 0u);
    EXPECT_STREQ(buffer, "");
}

TEST(BuiltPlugin, EveryIdResolvesInEveryLanguage) {
    const win32::UniqueLibrary plugin(
        LoadLibraryExW(L"TamselDesktop.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(plugin) << GetLastError();
    size_t resolved = 0;
    for (LANGID language : catalogueLanguages)
        for (unsigned id = kFirstId; id <= kLastId; ++id)
            resolved += !FindStringTableEntry(plugin.get(), id, language).empty();
    EXPECT_EQ(resolved, 10u * (kLastId - kFirstId + 1u));
    EXPECT_EQ(FindStringTableEntry(plugin.get(), 119, 1033).size(), 47u);
}

} // namespace
