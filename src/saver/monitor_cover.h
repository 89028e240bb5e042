// A plain black, top-most window over a monitor other than the primary while the saver
// runs. Input on it closes the saver exactly as input on the saver window does.
#pragma once

#include <functional>

#include "saver/last_mouse_position.h"
#include "toolkit/form.h"

namespace vq {

class MonitorCover : public tk::Form {
public:
    MonitorCover(tk::Toolkit& toolkit, std::function<void()> close_saver);

protected:
    void Form_Load() override;
    void Form_KeyDown(tk::Int16 KeyCode, tk::Int16 Shift) override;
    void Form_KeyPress(tk::Int16 KeyAscii) override;
    void Form_MouseDown(tk::Int16 Button, tk::Int16 Shift, float X, float Y) override;
    void Form_MouseMove(tk::Int16 Button, tk::Int16 Shift, float X, float Y) override;
    void Form_Click() override;
    void Form_DblClick() override;

private:
    std::function<void()> close_saver_;
    LastMousePosition last_mouse_;
};

}  // namespace vq
