#include "conversion_fixtures.h"

#include "convert/document_url.h"
#include "engine/component_registration.h"

void RealEngineConversion::SetUp() {
    RealEngines::SetUp();
    db = std::make_unique<NoteDatabase>(dir.path());
    ASSERT_EQ(tamsel::RegisterWithPrimaryEngine(), 0u);
}

void RealEngineConversion::TearDown() {
    db.reset();
    RealEngines::TearDown();
}

std::string RealEngineConversion::Url(NOTEHANDLE note) {
    char url[tamsel::documentUrlSize];
    return std::string(url, tamsel::BuildNoteUrl(note, url));
}

nlohmann::json RealEngineConversion::StoredAt(const std::string& url) {
    const auto shown = Zsearch(L"--json show " + std::wstring(url.begin(), url.end()));
    if (shown.exitCode != 0)
        return nullptr;
    return nlohmann::json::parse(shown.output)["properties"];
}

nlohmann::json RealEngineConversion::Stored(NOTEHANDLE note) {
    return StoredAt(Url(note));
}

void FakeEngineConversion::SetUp() {
    PluginTest::SetUp();
    fakes.Install();
    db = std::make_unique<NoteDatabase>(dir.path());
}

void FakeEngineConversion::TearDown() {
    db.reset();
    EXPECT_EQ(FakeEngines::LiveObjects(), 0) << "every engine object released";
    PluginTest::TearDown();
}

std::vector<std::string> FakeEngineConversion::Added(const std::string& name) const {
    std::vector<std::string> values;
    const std::string prefix = "AddProperty " + name + "=";
    for (const std::string& call : fakes.CallsStartingWith(prefix))
        values.push_back(call.substr(prefix.size()));
    return values;
}
