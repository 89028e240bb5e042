#include "driver/top_windows.h"

#include <optional>
#include <sstream>

#include "driver/win32_error.h"

namespace vqtest {
namespace {

struct Search {
    DWORD process_id;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_window_of_process(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    if (GetWindowThreadProcessId(window, &owner) != 0 && owner == search.process_id)
        search.found.push_back(window);
    return TRUE;
}

// Nothing when the window no longer exists. Visibility is read first: a window that was
// visible then has its geometry read after it was shown, never the one it had hidden.
std::optional<TopWindow> describe(HWND window) {
    TopWindow described;
    described.handle = window;
    described.visible = IsWindowVisible(window) != FALSE;

    SetLastError(ERROR_SUCCESS);
    const int length = GetWindowTextLengthW(window);
    if (length == 0 && GetLastError() != ERROR_SUCCESS) {
        if (!IsWindow(window)) return std::nullopt;
        throw_last_error("GetWindowTextLengthW");
    }
    described.caption.resize(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextW(window, described.caption.data(), length + 1);
    described.caption.resize(static_cast<size_t>(copied));

    if (!GetWindowRect(window, &described.rect)) {
        if (!IsWindow(window)) return std::nullopt;
        throw_last_error("GetWindowRect");
    }
    SetLastError(ERROR_SUCCESS);
    described.style = GetWindowLongPtrW(window, GWL_STYLE);
    described.ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (GetLastError() != ERROR_SUCCESS) {
        if (!IsWindow(window)) return std::nullopt;
        throw_last_error("GetWindowLongPtrW");
    }
    return described;
}

}  // namespace

std::string to_text(const RECT& rect) {
    std::ostringstream text;
    text << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom
         << ")";
    return text.str();
}

std::vector<TopWindow> top_windows_of(DWORD process_id) {
    Search search{.process_id = process_id, .found = {}};
    if (!EnumWindows(collect_window_of_process, reinterpret_cast<LPARAM>(&search)))
        throw_last_error("EnumWindows");
    std::vector<TopWindow> windows;
    for (HWND window : search.found) {
        if (auto described = describe(window)) windows.push_back(std::move(*described));
    }
    return windows;
}

std::vector<TopWindow> visible_top_windows_of(DWORD process_id) {
    std::vector<TopWindow> visible;
    for (auto& window : top_windows_of(process_id)) {
        if (window.visible) visible.push_back(std::move(window));
    }
    return visible;
}

}  // namespace vqtest
