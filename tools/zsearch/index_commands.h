// The commands that read the index: query, show, list, count.
#pragma once
#include <string>
#include <vector>

namespace zsearch {

int Query(const std::vector<std::wstring>& words, bool json);
int Show(const std::wstring& url, bool json);
int List(bool json);
int Count(bool json);

} // namespace zsearch
