// The windows of a process, as another program on the same desktop sees them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vqtest {

struct TopWindow {
    HWND handle = nullptr;
    std::wstring caption;
    RECT rect{};  // screen coordinates, frame included
    LONG_PTR style = 0;
    LONG_PTR ex_style = 0;

    bool topmost() const { return (ex_style & WS_EX_TOPMOST) != 0; }
    bool has_style(LONG_PTR bits) const { return (style & bits) == bits; }
};

// "(left,top)-(right,bottom)", for messages and comparisons.
std::string to_text(const RECT& rect);
// Whether `inner` lies wholly inside `outer`.
bool contains(const RECT& outer, const RECT& inner);

// Every visible top-level window that process `process_id` owns. A window that goes away
// while it is being looked at is left out.
std::vector<TopWindow> visible_top_windows_of(DWORD process_id);

// Every window inside `window`: its controls, and theirs.
std::vector<HWND> descendants(HWND window);

}  // namespace vqtest
