// COM for the calling thread for as long as the owner lives, unless the thread already has it
// in another apartment (then it is left as it is). Single-threaded unless asked otherwise.
#pragma once
#include <objbase.h>

namespace win32 {

class ComForThisThread {
  public:
    explicit ComForThisThread(DWORD apartment = COINIT_APARTMENTTHREADED)
        : result_(CoInitializeEx(nullptr, apartment)) {}
    ~ComForThisThread() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;

  private:
    HRESULT result_;
};

} // namespace win32
