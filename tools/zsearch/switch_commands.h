// The commands that steer the engines: service state, failures, reset of the index.
#pragma once
#include <string>
#include <vector>

namespace zsearch {

int Service(const std::wstring& action);
int Fail(const std::vector<std::wstring>& arguments);
int Clear();
int Reset();

} // namespace zsearch
