// Fixtures of the converter tests: a database of notes, and either the real engines (what
// reaches the index is read back with zsearch) or fake ones (every engine call is recorded).
#pragma once
#include "fake_engines.h"
#include "note_database.h"
#include "real_engines.h"
#include "settings/index_type_mask.h"

#include <nlohmann/json.hpp>

#include <memory>

class RealEngineConversion : public RealEngines {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string Url(NOTEHANDLE note);
    // The properties the index holds for the note's url; null when it holds none.
    nlohmann::json Stored(NOTEHANDLE note);
    nlohmann::json StoredAt(const std::string& url);

    std::unique_ptr<NoteDatabase> db;
};

class FakeEngineConversion : public PluginTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The text of "AddProperty name=..." calls, without the prefix; empty when none.
    std::vector<std::string> Added(const std::string& name) const;

    FakeEngines fakes;
    std::unique_ptr<NoteDatabase> db;
};
