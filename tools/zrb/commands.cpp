#include "commands.h"
#include "arguments.h"
#include "database.h"
#include "item_values.h"
#include "note_json.h"
#include "sample_data.h"

#include <cctype>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

namespace zrb {
namespace {

using nlohmann::json;

std::string StatusText(store::Status status) {
    switch (status) {
    case store::kNotDatabase:
        return "not a database (259)";
    case store::kNotDatabaseFile:
        return "not a database file (513)";
    case store::kStubOrMissing:
        return "deleted (549)";
    case store::kDamaged:
        return "damaged (550)";
    case store::kNoNote:
        return "no such note (551)";
    case store::kBadArgument:
        return "a value does not fit its item's type (262)";
    case store::kWriteFailed:
        return "cannot write (265)";
    default:
        return "status " + std::to_string(status);
    }
}

void Check(store::Status status, const std::string& file) {
    if (status != store::kOk)
        throw std::runtime_error(file + ": " + StatusText(status));
}

std::unique_ptr<store::Database> OpenFile(const std::string& file) {
    auto journal = store::OpenJournalFile(file, store::OpenMode::ReadWrite);
    if (!journal)
        throw std::runtime_error(file + ": cannot open (no such file, a folder, or not writable)");
    std::unique_ptr<store::Database> database;
    Check(store::Database::Open(std::move(journal), database), file);
    return database;
}

// A whole number of 32 bits as written, decimal or 0x...: a sign, a space or a larger number
// is refused, not wrapped into another value.
std::optional<uint32_t> Number32(const std::string& text) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    size_t used = 0;
    unsigned long long value = 0;
    try {
        value = std::stoull(text, &used, 0);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != text.size() || value > 0xFFFFFFFF)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

uint32_t NoteId(const std::string& text, const std::string& file) {
    const auto id = Number32(text);
    if (!id || *id == 0)
        throw std::runtime_error(file + ": \"" + text + "\" is not a note ID");
    return *id;
}

const std::string& Positional(const Arguments& arguments, size_t index, const char* what) {
    if (arguments.positional.size() <= index)
        throw std::runtime_error(std::string("missing ") + what);
    return arguments.positional[index];
}

int Create(const std::vector<std::string>& words) {
    const Arguments arguments = ParseArguments(words, 1, {"--title"}, {});
    const std::string& file = Positional(arguments, 0, "FILE");
    std::unique_ptr<store::Database> database;
    auto journal = store::OpenJournalFile(file, store::OpenMode::CreateNew);
    if (!journal)
        throw std::runtime_error(file + ": exists already or cannot be created");
    Check(store::Database::Create(std::move(journal), arguments.text("--title").value_or(""),
                                  database),
          file);
    std::cout << store::HexId(database->info().replicaId) << "\n";
    return 0;
}

// The texts of `item` in the database's notes, to tell which notes of a batch are there already.
std::set<std::string> ItemValues(const store::Database& database, const std::string& item) {
    std::set<std::string> values;
    for (const auto& entry : database.entries()) {
        store::Note note;
        if (database.readNote(entry.id, note) != store::kOk)
            continue;
        if (const store::Item* found = note.find(item))
            values.insert(store::ItemToText(*found, "\n"));
    }
    return values;
}

// One note a line. A line that cannot be read or stored is named on standard error and the
// others still go in; a failure to write ends the run.
int PutBatch(const std::string& file, const std::optional<std::string>& unique) {
    auto database = OpenFile(file);
    std::set<std::string> seen = unique ? ItemValues(*database, *unique) : std::set<std::string>{};
    std::map<std::string, std::vector<uint32_t>> unread;
    int added = 0, present = 0, refused = 0;
    std::string line;
    for (size_t number = 1; std::getline(std::cin, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        json input;
        store::Note note;
        std::string refusal;
        try {
            input = json::parse(line);
            note = NoteFromInput(input, database->info().replicaId);
        } catch (const std::exception& error) {
            refusal = error.what();
        }
        if (refusal.empty()) {
            const store::Item* key = unique ? note.find(*unique) : nullptr;
            if (key && !seen.insert(store::ItemToText(*key, "\n")).second) {
                ++present;
                continue;
            }
            const store::Status status = database->putNote(note);
            if (status == store::kBadArgument)
                refusal = StatusText(status);
            else
                Check(status, file + ": line " + std::to_string(number));
        }
        if (!refusal.empty()) {
            std::cerr << file << ": line " << number << ": " << refusal << "\n";
            ++refused;
            continue;
        }
        if (const auto user = store::FieldOr<std::string>(input, "unread", ""); !user.empty())
            unread[user].push_back(note.id);
        ++added;
    }
    for (const auto& [user, ids] : unread)
        Check(database->markUnread(user, ids, true), file);
    std::cout << json{{"added", added}, {"present", present}, {"refused", refused}}.dump() << "\n";
    return refused ? 1 : 0;
}

int Put(const std::vector<std::string>& words) {
    const Arguments arguments = ParseArguments(words, 1, {"--id", "--unique"}, {"--batch"});
    const std::string& file = Positional(arguments, 0, "FILE");
    if (arguments.has("--batch") && arguments.has("--id"))
        throw std::runtime_error("--id names one note: it cannot go with --batch");
    if (arguments.has("--unique") && !arguments.has("--batch"))
        throw std::runtime_error("--unique goes with --batch");
    if (arguments.has("--batch"))
        return PutBatch(file, arguments.text("--unique"));
    auto database = OpenFile(file);
    const json input = json::parse(std::istreambuf_iterator<char>(std::cin),
                                   std::istreambuf_iterator<char>(), nullptr, false);
    if (input.is_discarded())
        throw std::runtime_error(file + ": the note on standard input is not JSON");
    store::Note note;
    try {
        note = NoteFromInput(input, database->info().replicaId);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(file + ": " + error.what());
    }
    if (auto id = arguments.text("--id")) {
        note.id = NoteId(*id, file);
        // A new version of a note: a note the database never had is not made up.
        if (!database->entry(note.id))
            throw std::runtime_error(file + ": no note " + std::to_string(note.id));
    }
    Check(database->putNote(note), file + ": note " + std::to_string(note.id));
    std::cout << note.id << "\n";
    return 0;
}

int Delete(const std::vector<std::string>& words) {
    const Arguments arguments = ParseArguments(words, 2, {}, {});
    const std::string& file = Positional(arguments, 0, "FILE");
    const uint32_t id = NoteId(Positional(arguments, 1, "ID"), file);
    Check(OpenFile(file)->deleteNote(id), file + ": note " + std::to_string(id));
    return 0;
}

int Unread(const std::vector<std::string>& words) {
    const Arguments arguments = ParseArguments(words, 1, {"--user", "--add", "--remove"}, {});
    const std::string& file = Positional(arguments, 0, "FILE");
    const auto user = arguments.text("--user");
    if (!user || arguments.has("--add") == arguments.has("--remove"))
        throw std::runtime_error("unread needs --user and one of --add or --remove");
    const std::string list = *arguments.text(arguments.has("--add") ? "--add" : "--remove");
    std::vector<uint32_t> ids;
    for (size_t start = 0; start <= list.size();) {
        const size_t comma = std::min(list.find(',', start), list.size());
        ids.push_back(NoteId(list.substr(start, comma - start), file));
        start = comma + 1;
    }
    Check(OpenFile(file)->markUnread(*user, ids, arguments.has("--add")), file);
    return 0;
}

int Form(const std::vector<std::string>& words) {
    const Arguments arguments = ParseArguments(words, 2, {"--window-title"}, {});
    const std::string& file = Positional(arguments, 0, "FILE");
    store::Note form;
    form.noteClass = store::NoteClass::Form;
    form.items.push_back(
        {"$TITLE", store::ItemType::Text, false, Positional(arguments, 1, "NAME")});
    if (auto formula = arguments.text("--window-title"))
        form.items.push_back({"$WindowTitle", store::ItemType::Formula, false, *formula});
    Check(OpenFile(file)->putNote(form), file);
    std::cout << form.id << "\n";
    return 0;
}

int Dump(const std::vector<std::string>& words) {
    const Arguments arguments = ParseArguments(words, 1, {"--id"}, {});
    const std::string& file = Positional(arguments, 0, "FILE");
    auto database = OpenFile(file);
    std::vector<uint32_t> ids;
    if (auto id = arguments.text("--id"))
        ids.push_back(NoteId(*id, file));
    else
        for (const auto& entry : database->entries())
            ids.push_back(entry.id);
    json notes = json::array();
    bool damaged = false;
    for (uint32_t id : ids) {
        store::Note note;
        std::string error;
        const store::Status status = database->readNote(id, note, &error);
        if (status == store::kNoNote)
            throw std::runtime_error(file + ": no note " + std::to_string(id));
        if (status == store::kDamaged) {
            std::cerr << file << ": " << error << " (damaged)\n";
            damaged = true;
        }
        notes.push_back(status == store::kOk || note.deleted
                            ? NoteToOutput(note)
                            : json{{"note", id}, {"error", error}});
    }
    json unread = json::object();
    for (const auto& user : database->unreadUsers())
        unread[user] = database->unreadNotes(user);
    json out = {{"file", file},
                {"replica", store::HexId(database->info().replicaId)},
                {"title", database->info().title},
                {"flags", database->info().flags},
                {"problems", database->problems()},
                {"unread", unread},
                {"notes", notes}};
    for (const auto& problem : database->problems())
        std::cerr << file << ": " << problem << "\n";
    std::cout << out.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
    return damaged || !database->problems().empty() ? 1 : 0;
}

int Flags(const std::vector<std::string>& words) {
    const Arguments arguments = ParseArguments(words, 2, {}, {});
    const std::string& file = Positional(arguments, 0, "FILE");
    const std::string& value = Positional(arguments, 1, "N");
    const auto flags = Number32(value);
    if (!flags)
        throw std::runtime_error(file + ": \"" + value + "\" is not a flag word");
    Check(OpenFile(file)->setHeader(std::nullopt, *flags), file);
    return 0;
}

int Sample(const std::vector<std::string>& words) {
    const Arguments arguments = ParseArguments(
        words, 1,
        {"--mails", "--appointments", "--contacts", "--tasks", "--journal", "--other", "--seed"},
        {});
    SampleCounts counts;
    auto take = [&](const char* name, int& target) {
        if (auto value = arguments.number(name)) {
            if (*value < 0 || *value > 10'000'000)
                throw std::runtime_error(std::string(name) + " is out of range");
            target = static_cast<int>(*value);
        }
    };
    take("--mails", counts.mails);
    take("--appointments", counts.appointments);
    take("--contacts", counts.contacts);
    take("--tasks", counts.tasks);
    take("--journal", counts.journal);
    take("--other", counts.other);
    take("--seed", counts.seed);
    WriteSampleDirectory(Positional(arguments, 0, "DIR"), counts);
    return 0;
}

} // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"create", "create FILE [--title T]\n  Creates a database; prints its replica id.", Create},
        {"put",
         "put FILE [--id N] < note.json\n  Adds a note (or a new version of note N) from "
         "JSON on standard input;\n  prints the note ID. See the note format in the "
         "tool's documentation:\n  {\"class\":1,\"items\":{\"Subject\":\"Hi\",\"Body\":"
         "{\"richtext\":\"text\"}}}\n"
         "put FILE --batch [--unique ITEM] < notes.jsonl\n  Adds one note a line; \"unread\":"
         "USER on a note marks it unread for USER.\n  With --unique, a note whose ITEM equals "
         "that of a stored note is left out.\n  Prints {\"added\":N,\"present\":N,"
         "\"refused\":N}; each refused line is named\n  on standard error.",
         Put},
        {"delete", "delete FILE ID\n  Replaces note ID by a deletion stub.", Delete},
        {"unread",
         "unread FILE --user NAME --add|--remove ID[,ID...]\n  Marks notes unread or "
         "read for the user.",
         Unread},
        {"form",
         "form FILE NAME [--window-title FORMULA]\n  Adds a form design note; prints its "
         "note ID.",
         Form},
        {"dump",
         "dump FILE [--id N]\n  Prints the database (or note N) and each user's unread "
         "notes as JSON;\n  damaged records are named on standard error, and the exit code is "
         "then 1.",
         Dump},
        {"flags", "flags FILE N\n  Sets the database's flag word (bit 0 = usable).", Flags},
        {"sample",
         "sample DIR [--mails N --appointments N --contacts N --tasks N --journal N\n"
         "            --other N --seed S]\n  Writes mail.zrb, roster.zrb, journal.zrb, "
         "discussion.zrb and shelf.zrb into DIR.",
         Sample},
    };
    return commands;
}

} // namespace zrb
