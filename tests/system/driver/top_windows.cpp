#include "driver/top_windows.h"

#include <iterator>
#include <sstream>

#include "driver/win32_error.h"

namespace vqtest {
namespace {

struct Search {
    DWORD process_id;
    std::vector<TopWindow> found;
};

// Visibility is read first: a window that was visible then has its geometry read after it
// was shown, never the one it had hidden.
BOOL CALLBACK collect_visible_window(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    if (GetWindowThreadProcessId(window, &owner) == 0 || owner != search.process_id ||
        !IsWindowVisible(window))
        return TRUE;
    TopWindow described;
    described.handle = window;
    wchar_t caption[256];
    described.caption.assign(caption, GetWindowTextW(window, caption, std::size(caption)));
    GetWindowRect(window, &described.rect);
    described.style = GetWindowLongPtrW(window, GWL_STYLE);
    described.ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (IsWindow(window)) search.found.push_back(std::move(described));
    return TRUE;
}

BOOL CALLBACK collect_descendant(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

}  // namespace

std::string to_text(const RECT& rect) {
    std::ostringstream text;
    text << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom << ")";
    return text.str();
}

bool contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::vector<TopWindow> visible_top_windows_of(DWORD process_id) {
    Search search{.process_id = process_id, .found = {}};
    if (!EnumWindows(collect_visible_window, reinterpret_cast<LPARAM>(&search)))
        throw_last_error("EnumWindows");
    return search.found;
}

std::vector<HWND> descendants(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(window, collect_descendant, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace vqtest
