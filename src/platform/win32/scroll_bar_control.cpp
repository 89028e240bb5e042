// A horizontal scroll bar: the arrows, the trough, the thumb and the keys (arrows, Page Up
// and Down, Home and End) all arrive as WM_HSCROLL requests on the form.
#include <algorithm>

#include "platform/win32/native_control.h"
#include "toolkit/scroll_bar.h"

namespace win32 {
namespace {

class ScrollBarControl : public NativeControl {
public:
    ScrollBarControl(FormPeer& form, tk::HScrollBar& bar)
        : NativeControl(form, bar, L"SCROLLBAR", SBS_HORZ, ""), bar_(bar) {}

    void scroll(WORD code) override {
        const int low = std::min(bar_.min(), bar_.max());
        const int high = std::max(bar_.min(), bar_.max());
        int value = bar_.value();
        switch (code) {
            case SB_LINELEFT:
                value -= bar_.small_change();
                break;
            case SB_LINERIGHT:
                value += bar_.small_change();
                break;
            case SB_PAGELEFT:
                value -= bar_.large_change();
                break;
            case SB_PAGERIGHT:
                value += bar_.large_change();
                break;
            case SB_LEFT:
                value = low;
                break;
            case SB_RIGHT:
                value = high;
                break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION: {
                SCROLLINFO info{};
                info.cbSize = sizeof info;
                info.fMask = SIF_TRACKPOS;
                if (!GetScrollInfo(window(), SB_CTL, &info)) return;
                value = info.nTrackPos;
                break;
            }
            default:
                return;
        }
        bar_.set_value(static_cast<tk::Int16>(std::clamp(value, low, high)));
    }

private:
    void sync_state() override {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
        info.nMin = std::min(bar_.min(), bar_.max());
        info.nMax = std::max(bar_.min(), bar_.max());
        info.nPos = bar_.value();
        SetScrollInfo(window(), SB_CTL, &info, TRUE);
    }

    tk::HScrollBar& bar_;
};

}  // namespace

std::unique_ptr<NativeControl> make_scroll_bar(FormPeer& form, tk::Control& control) {
    return std::make_unique<ScrollBarControl>(form, static_cast<tk::HScrollBar&>(control));
}

}  // namespace win32
