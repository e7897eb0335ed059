#include "Clipboard.h"

#include <cstring>
#include <memory>
#include <string>

#include "utf.h"

namespace installer {

namespace {

struct GlobalFreer {
    void operator()(void* block) const { GlobalFree(block); }
};
using GlobalBlock = std::unique_ptr<void, GlobalFreer>;

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

}  // namespace

bool copy_to_clipboard(HWND owner, std::string_view text) {
    const std::wstring wide = qssdk::utf8_to_utf16(text);
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes));
    if (!block) return false;
    void* data = GlobalLock(block.get());
    if (!data) return false;
    std::memcpy(data, wide.c_str(), bytes);
    GlobalUnlock(block.get());

    const OpenedClipboard clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_UNICODETEXT, block.get())) return false;
    block.release();  // the clipboard owns it now
    return true;
}

}  // namespace installer
