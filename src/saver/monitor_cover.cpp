#include "saver/monitor_cover.h"

namespace vq {

MonitorCover::MonitorCover(tk::Toolkit& toolkit, std::function<void()> close_saver)
    : tk::Form(toolkit, {.name = "MonitorCover",
                         .caption = "VQ ScreenSaver",
                         .border = tk::BorderStyle::None,
                         .show_in_taskbar = false,
                         .key_preview = true,
                         .back_color = tk::kBlack}),
      close_saver_(std::move(close_saver)) {}

void MonitorCover::Form_Load() { set_back_color(tk::kBlack); }

void MonitorCover::Form_KeyDown(tk::Int16, tk::Int16) { close_saver_(); }
void MonitorCover::Form_KeyPress(tk::Int16) { close_saver_(); }
void MonitorCover::Form_MouseDown(tk::Int16, tk::Int16, float, float) { close_saver_(); }
void MonitorCover::Form_Click() { close_saver_(); }
void MonitorCover::Form_DblClick() { close_saver_(); }

void MonitorCover::Form_MouseMove(tk::Int16, tk::Int16, float X, float Y) {
    if (last_mouse_.closes_on_move(X, Y)) close_saver_();
}

}  // namespace vq
