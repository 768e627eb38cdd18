// Notes of every kind the client keeps, drawn at random with contents from adversarial pools:
// quotes, percent signs and escape look-alikes, the scripts of the ten languages and emoji,
// other notes' document URLs, empty items, items of the wrong type, bodies up to megabytes and
// date lists longer than the plug-in's buffers. Every note carries its marker (a word of its
// own for each version) in its subject or title and in its body, so that the document the
// engine holds can be matched to the version written.
#pragma once
#include "database.h"

#include <random>
#include <string>
#include <vector>

namespace chaos {

// The databases of the run: the listed ones by the slot they take, then the history database.
enum class Store { mail, roster, journal, discussion, history, count };
const char* FileOf(Store store);

// What a note was written as; the kind decides the items, not the judgement.
enum class Kind {
    mail,
    draft,
    transcript,
    meeting,
    longMeeting,
    unusableMeeting,
    task,
    undatedTask,
    contact,
    journal,
    topic,
    response,
    expense,
    unknownForm,
    count
};
const char* NameOf(Kind kind);
// The kinds a database holds.
std::vector<Kind> KindsOf(Store store);

struct NoteContent {
    std::vector<store::Item> items;
    std::string marker;
};

// The items of a new version of a note of this kind. `urls` are other notes' document URLs,
// which the contents may quote; `replica` is the database's, for sealed items.
NoteContent DrawNote(std::mt19937& random, Kind kind, const std::string& marker,
                     const std::vector<std::string>& urls, uint64_t replica);

// The forms a discussion database keeps, so that its documents are titled.
std::vector<std::vector<store::Item>> DiscussionForms();

} // namespace chaos
