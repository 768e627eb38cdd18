// Statuses of store operations: the numbers the client library hands to its callers.
#pragma once
#include <cstdint>

namespace store {

using Status = uint16_t;

constexpr Status kOk = 0;
constexpr Status kNotDatabase = 259; // missing, unreadable, or JSON without a database header
constexpr Status kBadArgument = 262;
constexpr Status kWriteFailed = 265;     // the journal could not be locked or appended to
constexpr Status kNotDatabaseFile = 513; // the first line is not a JSON object at all
constexpr Status kUnusable = 540;
constexpr Status kStubOrMissing = 549; // deletion stub
constexpr Status kDamaged = 550;       // the note's record is damaged and cannot be read
constexpr Status kNoNote = 551;
constexpr Status kNotModified = 572;
constexpr Status kRemoteRefused = 788;

} // namespace store
