// The growing "content" text of an engine event.
#pragma once
#include <windows.h>

#include <memory>
#include <string_view>

namespace tamsel {

class ContentText {
  public:
    // Starts with room for 255 characters; without a buffer when even that cannot be had.
    ContentText();

    // Grows to twice the room, or to just enough when twice is too little. When memory runs
    // out the text is cut at the current room rather than failing the document.
    void Append(std::wstring_view text);

    // Null when the first buffer could not be allocated.
    const wchar_t* data() const { return buffer_.get(); }
    LONG length() const { return length_; }
    // Characters the buffer holds, terminator included.
    LONG capacity() const { return capacity_; }

  private:
    std::unique_ptr<wchar_t[]> buffer_;
    LONG length_ = 0;
    LONG capacity_;
};

} // namespace tamsel
