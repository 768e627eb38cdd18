// zsearch verify: the index against the client's indexed databases, and its repair.
#pragma once
#include <string>
#include <vector>

namespace zsearch {

extern const char kVerifyHelp[];

// 0 when everything matches (after --repair: when everything found was put right), 1 when
// not, 2 for bad arguments.
int Verify(const std::vector<std::wstring>& args, bool json);

} // namespace zsearch
