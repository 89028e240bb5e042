// Frames, push buttons, check boxes and option buttons: all of the BUTTON class.
#include "platform/win32/win32_form_peer.h"
#include "platform/win32/handles.h"
#include "platform/win32/native_control.h"
#include "toolkit/check_box.h"
#include "toolkit/command_button.h"
#include "toolkit/frame.h"
#include "toolkit/option_button.h"

namespace win32 {
namespace {

// A group box. The form does not paint under its children, so the frame fills its own
// background and paints the windowless controls that stand in it.
class FrameControl : public NativeControl {
public:
    FrameControl(FormPeer& form, tk::Frame& frame)
        : NativeControl(form, frame, L"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, frame.caption()),
          frame_(frame) {}

private:
    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_ERASEBKGND) {
            RECT all{};
            if (form().back_brush() != nullptr && GetClientRect(window(), &all))
                FillRect(reinterpret_cast<HDC>(wparam), &all, form().back_brush());
            return 1;
        }
        const LRESULT result = default_message(message, wparam, lparam);
        if (message == WM_PAINT) {
            if (const window_dc dc(window()); dc) form().paint_windowless(dc.get(), &frame_);
        }
        return result;
    }

    tk::Frame& frame_;
};

class CommandButtonControl : public NativeControl {
public:
    CommandButtonControl(FormPeer& form, tk::CommandButton& button)
        : NativeControl(form, button, L"BUTTON",
                        button.is_default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, button.caption()),
          button_(button) {}

    void command(WORD code) override {
        if (code == BN_CLICKED) button_.press();
    }

private:
    void sync_state() override { sync_caption(button_.caption()); }

    tk::CommandButton& button_;
};

class CheckBoxControl : public NativeControl {
public:
    CheckBoxControl(FormPeer& form, tk::CheckBox& box)
        : NativeControl(form, box, L"BUTTON", BS_AUTOCHECKBOX, box.caption()), box_(box) {}

    // The window has toggled itself; the portable box follows, and fires its click once.
    void command(WORD code) override {
        if (code != BN_CLICKED) return;
        const bool checked = SendMessageW(window(), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != (box_.value() != 0)) box_.toggle_by_user();
    }

private:
    void sync_state() override {
        sync_caption(box_.caption());
        SendMessageW(window(), BM_SETCHECK, box_.value() != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    tk::CheckBox& box_;
};

class OptionButtonControl : public NativeControl {
public:
    OptionButtonControl(FormPeer& form, tk::OptionButton& option)
        : NativeControl(form, option, L"BUTTON", BS_AUTORADIOBUTTON, option.caption()),
          option_(option) {}

    // A click, or the arrow keys moving through the group, selects the button.
    void command(WORD code) override {
        if (code == BN_CLICKED && SendMessageW(window(), BM_GETCHECK, 0, 0) == BST_CHECKED)
            option_.set_value(true);
    }

private:
    void sync_state() override {
        sync_caption(option_.caption());
        SendMessageW(window(), BM_SETCHECK, option_.value() ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    tk::OptionButton& option_;
};

}  // namespace

std::unique_ptr<NativeControl> make_frame(FormPeer& form, tk::Control& control) {
    return std::make_unique<FrameControl>(form, static_cast<tk::Frame&>(control));
}

std::unique_ptr<NativeControl> make_command_button(FormPeer& form, tk::Control& control) {
    return std::make_unique<CommandButtonControl>(form, static_cast<tk::CommandButton&>(control));
}

std::unique_ptr<NativeControl> make_check_box(FormPeer& form, tk::Control& control) {
    return std::make_unique<CheckBoxControl>(form, static_cast<tk::CheckBox&>(control));
}

std::unique_ptr<NativeControl> make_option_button(FormPeer& form, tk::Control& control) {
    return std::make_unique<OptionButtonControl>(form, static_cast<tk::OptionButton&>(control));
}

}  // namespace win32
