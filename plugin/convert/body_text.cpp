#include "body_text.h"

#include "body_file.h"
#include "conversion_buffers.h"
#include "whole_file.h"

#include <cwchar>
#include <string>

namespace tamsel {
namespace {

constexpr wchar_t addedToCompound[] = L"added to hData buffer";
constexpr char blanks[] = " \r\n\t";
// UTF-8 never needs fewer bytes than UTF-16 needs units: a piece this long always fits the
// conversion buffer whole.
constexpr size_t translatePieceBytes = wideBufferBytes / sizeof(wchar_t) - 1;

// The longest prefix of at most `limit` bytes that ends between two characters.
size_t PieceLength(std::string_view text, size_t limit) {
    if (text.size() <= limit)
        return text.size();
    size_t length = limit;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length > 0 ? length : limit;
}

class BodyReader {
  public:
    explicit BodyReader(COMPOUNDHANDLE compound) : compound_(compound) {}

    void AddLine(std::string_view line) {
        if (!textSeen_) {
            const size_t start = line.find_first_not_of(blanks);
            if (start == std::string_view::npos)
                return;
            line.remove_prefix(start);
            textSeen_ = true;
        }
        chunk_.append(line).append("\r\n");
        if (chunk_.size() >= BodyChunkLimit)
            Flush();
    }

    std::wstring Finish() {
        if (!chunk_.empty())
            Flush();
        return std::move(result_);
    }

  private:
    void Flush() {
        if (compound_) {
            if (StoreCompoundAddTextEx(compound_, STORE_COMPOUND_DEFAULT_STYLE, 0x0A000001,
                                       chunk_.data(), DWORD(chunk_.size()), "\r\n", 2,
                                       nullptr) == STORE_NOERROR)
                result_ = addedToCompound;
        } else {
            // In pieces that fit the conversion buffer, so that no text is lost.
            for (std::string_view rest = chunk_; !rest.empty();) {
                const size_t length = PieceLength(rest, translatePieceBytes);
                StoreTranslateText(STORE_TRANSLATE_TO_UNICODE, rest.data(), WORD(length),
                                   reinterpret_cast<char*>(wideText), wideBufferBytes);
                result_.append(wideText, std::wcslen(wideText));
                rest.remove_prefix(length);
            }
        }
        chunk_.clear();
    }

    COMPOUNDHANDLE compound_;
    bool textSeen_ = false;
    std::string chunk_;
    std::wstring result_;
};

std::wstring BodyText(const std::string& text, COMPOUNDHANDLE compound) {
    BodyReader reader(compound);
    std::string line;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        const bool complete = end != std::string::npos;
        if (!complete)
            end = text.size();
        line.assign(text, start, end - start);
        if (complete && !line.empty() && line.back() == '\r')
            line.pop_back();
        reader.AddLine(line);
        start = end + 1;
    }
    return reader.Finish();
}

} // namespace

std::wstring BodyToText(NOTEHANDLE note, const char* itemName, COMPOUNDHANDLE compound) {
    BodyFilePaths paths;
    ChooseBodyFilePaths(paths);
    if (paths.client[0] == '\0' || StoreMessageBodyToFile(note, itemName, "\r\n", 0xFFFF, TRUE,
                                                          paths.client, nullptr) != STORE_NOERROR) {
        if (paths.platform[0] != '\0')
            DeleteFileA(paths.platform);
        return {};
    }
    if (paths.platform[0] == '\0')
        return {};
    // Read and deleted through one handle (one open fewer, and each open is a round trip to
    // the server under Wine); should someone else hold the file without letting it be
    // deleted, read it all the same and try to delete it.
    std::optional<std::string> bytes =
        win32::ReadWholeFile(paths.platform, FILE_FLAG_DELETE_ON_CLOSE);
    if (!bytes) {
        bytes = win32::ReadWholeFile(paths.platform);
        DeleteFileA(paths.platform);
        if (!bytes)
            return {};
    }
    return BodyText(*bytes, compound);
}

bool AppendBodyToCompound(NOTEHANDLE note, const char* itemName, COMPOUNDHANDLE compound) {
    return !BodyToText(note, itemName, compound).empty();
}

} // namespace tamsel
