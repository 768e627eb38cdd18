#include "content_text.h"

#include <algorithm>
#include <new>

namespace tamsel {
namespace {
constexpr LONG initialCapacity = 256;
} // namespace

ContentText::ContentText()
    : buffer_(new (std::nothrow) wchar_t[initialCapacity]), capacity_(initialCapacity) {
    if (buffer_)
        buffer_[0] = L'\0';
}

void ContentText::Append(std::wstring_view text) {
    if (!buffer_)
        return;
    LONG count = static_cast<LONG>(text.size());
    if (length_ + count >= capacity_) {
        const LONG grown = std::max(capacity_ * 2, length_ + count + 1);
        if (wchar_t* bigger = new (std::nothrow) wchar_t[grown]) {
            std::copy_n(buffer_.get(), length_ + 1, bigger);
            buffer_.reset(bigger);
            capacity_ = grown;
        } else {
            count = capacity_ - length_ - 1;
        }
    }
    if (count < 1)
        return;
    std::copy_n(text.data(), count, buffer_.get() + length_);
    length_ += count;
    buffer_[length_] = L'\0';
}

} // namespace tamsel
