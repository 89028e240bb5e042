// A drop-down list the user picks from and cannot type in.
#include "platform/win32/native_control.h"
#include "platform/win32/win32_text.h"
#include "toolkit/combo_box.h"

namespace win32 {
namespace {

class ComboBoxControl : public NativeControl {
public:
    ComboBoxControl(FormPeer& form, tk::ComboBox& box)
        : NativeControl(form, box, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, ""), box_(box) {}

    void command(WORD code) override {
        if (code != CBN_SELCHANGE) return;
        const LRESULT selected = SendMessageW(window(), CB_GETCURSEL, 0, 0);
        box_.set_list_index(selected == CB_ERR ? -1 : static_cast<int>(selected));
    }

private:
    void sync_state() override {
        if (shown_items_ != box_.items()) {
            SendMessageW(window(), CB_RESETCONTENT, 0, 0);
            for (const std::string& item : box_.items())
                SendMessageW(window(), CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(widen(item).c_str()));
            shown_items_ = box_.items();
        }
        SendMessageW(window(), CB_SETCURSEL, static_cast<WPARAM>(box_.list_index()), 0);
        // The window's height includes the opened list: room for every entry.
        RECT placed{};
        const LRESULT item_height = SendMessageW(window(), CB_GETITEMHEIGHT, 0, 0);
        if (item_height != CB_ERR && GetWindowRect(window(), &placed)) {
            const int items = static_cast<int>(box_.items().size());
            SetWindowPos(window(), nullptr, 0, 0, placed.right - placed.left,
                         (placed.bottom - placed.top) + (items + 1) * static_cast<int>(item_height),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    tk::ComboBox& box_;
    std::vector<std::string> shown_items_;
};

}  // namespace

std::unique_ptr<NativeControl> make_combo_box(FormPeer& form, tk::Control& control) {
    return std::make_unique<ComboBoxControl>(form, static_cast<tk::ComboBox&>(control));
}

}  // namespace win32
