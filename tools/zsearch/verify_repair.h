// Puts right what a survey found, without indexing everything again.
#pragma once
#include "verify_survey.h"

namespace zsearch {

struct RepairOutcome {
    size_t removed = 0;     // ghosts and duplicates the query object took out
    size_t emptied = 0;     // ... overwritten with the empty event instead
    size_t notRemoved = 0;  // ... neither road took
    long lastFailure = 0;   // the emptied event's answer when neither took
    size_t stampsMoved = 0; // databases whose next pass sends their missing and stale notes
    size_t stampsFailed = 0;
};

RepairOutcome Repair(const Survey& survey);

} // namespace zsearch
