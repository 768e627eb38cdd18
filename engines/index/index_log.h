// The index file: an append-only log of whole lines (JSON records), shared by processes.
// Writers of all processes take turns and write each line at once at the file's end; readers
// see only lines that end in a newline, so a record that is being written, or was torn by a
// crash, is never read.
//
// The turn is a word in a small named section of the folder (TurnSectionName): 0 when free,
// else the token of the writer holding it. Taking and giving it back are interlocked
// operations on shared memory, with no call into the system unless another writer has it.
// Each writer (IndexLog object) has a token of its own and a named event "life sign" that
// exists as long as its process holds it open; a writer that finds the turn held by a token
// without a life sign (its process died while writing) takes the turn over.
#pragma once
#include "unique_resource.h"

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace engine_index {

// The whole lines of the log, mapped into memory for as long as the view lives: a large
// index is read without copying it.
class LogView {
  public:
    LogView() = default;
    LogView(LogView&& other) noexcept;
    LogView& operator=(LogView&& other) noexcept;

    std::string_view text() const { return text_; }
    operator std::string_view() const { return text_; }

  private:
    friend class IndexLog;
    win32::UniqueHandle mapping_;
    win32::UniqueView view_;
    std::string_view text_;
};

class IndexLog {
  public:
    explicit IndexLog(std::wstring folder);
    IndexLog(const IndexLog&) = delete;
    IndexLog& operator=(const IndexLog&) = delete;

    const std::wstring& folder() const { return folder_; }
    std::wstring path() const;
    bool Exists() const;
    // Makes the folder and an empty log if missing; tells whether the log was created.
    HRESULT Create(bool* created);
    // Appends one record (without newline) as a whole line, durable against other writers.
    HRESULT Append(std::string_view record);
    // Empties the log (made if missing) in the writers' turn.
    HRESULT Truncate();
    // Every whole line of the log, each ending in '\n'; empty when there is no log.
    LogView ReadWholeLines() const;

    // The name of the section holding the writers' turn of an index folder, and what it holds.
    static std::wstring TurnSectionName(const std::wstring& folder);
    struct WriterTurns {
        volatile LONG holder;    // 0: free; else the token of the writer that has the turn
        volatile LONG lastToken; // the last token handed out
    };
    // The name of the life sign of the writer with that token.
    static std::wstring WriterSignName(const std::wstring& folder, LONG token);

  private:
    HRESULT OpenForAppend();
    HRESULT OpenTurns();
    void TakeTurn();
    void GiveTurn();
    // Runs write while this writer has the turn.
    HRESULT AsWriter(const std::function<HRESULT()>& write);
    HRESULT AppendLine(std::string_view record);
    WriterTurns* turns() const { return static_cast<WriterTurns*>(turnsView_.get()); }

    std::wstring folder_;
    std::mutex mutex_;
    win32::UniqueHandle turnsSection_; // the writers' turn, shared with other processes
    win32::UniqueView turnsView_;      // its WriterTurns
    LONG token_ = 0;                   // this writer's token
    win32::UniqueHandle lifeSign_;     // named after the token, gone with the process
    win32::UniqueFile append_;         // append-only: every write lands at the end
    win32::UniqueFile tail_;           // reads the last byte before a write
    long long end_ = -1;               // where this object's last write ended
    std::string line_;                 // the line being written
};

} // namespace engine_index
