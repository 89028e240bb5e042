// A dialog's label: a native static control whose window text is its caption, so that a
// screen reader reads it, painted exactly as the form paints a windowless label. Without
// SS_NOTIFY a static control lets mouse input through to the form.
#include "platform/win32/win32_form_peer.h"
#include "platform/win32/geometry.h"
#include "platform/win32/handles.h"
#include "platform/win32/native_control.h"
#include "platform/win32/win32_windowless_controls.h"
#include "toolkit/label.h"

namespace win32 {
namespace {

class LabelControl : public NativeControl {
public:
    LabelControl(FormPeer& form, tk::Label& label)
        // Its own painting places the text; the static control's style only keeps it under
        // the windows above it.
        : NativeControl(form, label, L"STATIC", SS_LEFT | WS_CLIPSIBLINGS, label.caption()),
          label_(label) {}

private:
    // A new caption, font or size: painted again.
    void sync_state() override {
        sync_caption(label_.caption());
        InvalidateRect(window(), nullptr, FALSE);
    }

    LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                const paint_dc dc(window());
                RECT all{};
                if (!dc || !GetClientRect(window(), &all)) return 0;
                if (label_.transparent() && form().back_brush() != nullptr)
                    FillRect(dc.get(), &all, form().back_brush());
                paint_label(dc.get(), label_, all, form().toolkit());
                // What the form paints after the label lies over it, as on the form itself.
                const RECT placed = to_pixels(label_.rect(), form().twips_per_pixel());
                form().paint_windowless(dc.get(), label_.container(), &label_,
                                        {placed.left, placed.top});
                return 0;
            }
            case WM_SETTEXT: {
                // The static control would paint the new text its own way at once; the text
                // is stored as for any window and painted as above.
                const LRESULT result = DefWindowProcW(window(), message, wparam, lparam);
                InvalidateRect(window(), nullptr, FALSE);
                return result;
            }
            default:
                return NativeControl::message(message, wparam, lparam);
        }
    }

    tk::Label& label_;
};

}  // namespace

std::unique_ptr<NativeControl> make_label(FormPeer& form, tk::Control& control) {
    return std::make_unique<LabelControl>(form, static_cast<tk::Label&>(control));
}

}  // namespace win32
