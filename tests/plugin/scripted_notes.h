// Converters whose answers a test scripts note by note, in place of the real ones.
#pragma once
#include "indexing/note_callback.h"

#include <functional>
#include <map>
#include <vector>

struct ScriptedNotes {
    struct Answer {
        bool handled = true;
        HRESULT engineResult = S_OK;
        STORESTATUS noteStatus = 0;
        DWORD sendCookie = 0;
        bool once = false; // later calls for the note take the default answer
    };
    static inline std::map<NOTEID, Answer> answers;
    static inline std::vector<NOTEID> converted, deletions;
    static inline std::vector<tamsel::PassContext> contexts; // as each note arrived
    static inline std::function<void(NOTEID)> onNote;
    // Answer of SendDeletionNotice: true, or false with this engine result.
    static inline HRESULT deletionResult = S_OK;

    static void Install() {
        answers.clear();
        converted.clear();
        deletions.clear();
        contexts.clear();
        onNote = nullptr;
        deletionResult = S_OK;
        tamsel::noteHandlers = {Convert, SendDeletion};
    }

    static bool Convert(NOTEHANDLE, tamsel::PassContext* context) {
        const NOTEID id = context->noteId;
        converted.push_back(id);
        contexts.push_back(*context);
        if (onNote)
            onNote(id);
        Answer answer;
        if (auto found = answers.find(id); found != answers.end()) {
            answer = found->second;
            if (answer.once)
                answers.erase(found);
        }
        context->engineResult = answer.engineResult;
        context->noteStatus = answer.noteStatus;
        context->sendCookie = answer.sendCookie;
        return answer.handled;
    }

    static bool SendDeletion(DBHANDLE, NOTEID id, tamsel::PassContext* context) {
        deletions.push_back(id);
        context->engineResult = deletionResult;
        return deletionResult == S_OK;
    }

    // An engine failure at one note.
    static Answer Failure(HRESULT result, DWORD cookie = 0, bool once = false) {
        return {false, result, 0, cookie, once};
    }
};
