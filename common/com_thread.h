// COM for the calling thread for as long as the owner lives, unless the thread already has it
// in another apartment (then it is left as it is).
#pragma once
#include <objbase.h>

namespace win32 {

class ComForThisThread {
  public:
    ComForThisThread() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
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
