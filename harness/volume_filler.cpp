#include "volume_filler.h"

#include "unique_resource.h"

#include <vector>

namespace testing_support {

bool VolumeFiller::Fill(ULONGLONG leave) {
    const std::string folder = filler_.substr(0, filler_.find_last_of('\\'));
    ULARGE_INTEGER free = {};
    if (!GetDiskFreeSpaceExA(folder.c_str(), &free, nullptr, nullptr))
        return false;
    const win32::UniqueFile file(
        CreateFileA(filler_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file)
        return false;
    full_ = true;
    const std::vector<char> block(1 << 16, 'f');
    for (ULONGLONG left = free.QuadPart > leave ? free.QuadPart - leave : 0; left > 0;) {
        const DWORD size = DWORD(left < block.size() ? left : block.size());
        DWORD written = 0;
        if (!WriteFile(file.get(), block.data(), size, &written, nullptr) || written == 0)
            break; // the volume is full already
        left -= written;
    }
    return true;
}

bool VolumeFiller::Unfill() {
    if (DeleteFileA(filler_.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        full_ = false;
    return !full_;
}

} // namespace testing_support
