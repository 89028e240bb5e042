// Drifter: one framed picture wanders over the black screen in straight lines and takes a
// new random direction at every edge; nothing is ever erased, so a step wider than the
// picture's one-pixel frame leaves a trail.
#include <cmath>
#include <limits>

#include "saver/frm_main_screen_saver.h"
#include "settings/conversions.h"
#include "settings/settings.h"
#include "toolkit/toolkit.h"

namespace vq {
namespace {

// The step in pixels: the trail setting plus one. A stored value giving a step the mode
// cannot take (below one pixel or beyond 16 bits) reads as no trail.
tk::Int16 drift_step(tk::SettingsStore& store) {
    const double step = RoundHalfEven(ReadDouble(store, keys::DriftTrail) + 1);
    if (step < 1 || step > std::numeric_limits<tk::Int16>::max()) return 1;
    return static_cast<tk::Int16>(step);
}

}  // namespace

void frmMainScreenSaver::DrifterSetUp() {
    tk::SettingsStore& store = toolkit().settings();
    tk::Resources& resources = toolkit().resources();

    picImage.set_visible(false);
    picImage.set_auto_size(true);
    tk::PicturePtr picture = resources.load_bitmap(ReadAnyInt16(store, keys::DriftImage));
    // A picture number that names no bitmap drifts the default picture.
    if (picture == nullptr) picture = resources.load_bitmap(keys::DriftImage.default_value);
    picImage.set_picture(std::move(picture));
    picImage.set_scale_mode(tk::ScaleMode::Pixels);
    set_scale_mode(tk::ScaleMode::Pixels);

    DriftY = static_cast<tk::Int32>(RoundHalfEven((scale_height() - picImage.scale_height()) / 2));
    DriftX = 0;
    DriftPicHeight = static_cast<tk::Int32>(std::lround(picImage.scale_height()));
    DriftPicWidth = static_cast<tk::Int32>(std::lround(picImage.scale_width()));
    DriftStepX = drift_step(store);
    DriftStepY = DriftStepX;

    // A negative interval, which no timer can take, runs at the default speed.
    tmrAni.set_interval(ReadInterval(store, keys::DriftSpeed));
    tmrAni.set_enabled(true);
}

void frmMainScreenSaver::tmrAni_Timer() {
    const double W = scale_width();
    const double H = scale_height();
    const double w = picImage.scale_width();
    const double h = picImage.scale_height();
    const bool at_left = DriftX <= 0;
    const bool at_right = DriftX >= W - w;
    const bool at_top = DriftY <= 0;
    const bool at_bottom = DriftY >= H - h;

    struct Move {
        int dx;
        int dy;
        bool blocked;
    };
    const Move moves[8] = {
        {+1, 0, at_right},            {-1, 0, at_left},
        {+1, -1, at_top || at_right}, {-1, -1, at_top || at_left},
        {+1, +1, at_bottom || at_right}, {-1, +1, at_bottom || at_left},
        {0, -1, at_top},              {0, +1, at_bottom},
    };
    const Move& move = moves[DriftDirection >= 0 && DriftDirection < 8 ? DriftDirection : 0];

    if (!move.blocked) {
        DriftX += move.dx * DriftStepX;
        DriftY += move.dy * DriftStepY;
    } else {
        tk::Random& random = toolkit().random();
        random.reseed();
        DriftDirection = static_cast<tk::Int16>(std::floor(random.draw() * 8));
    }

    if (const tk::PicturePtr& picture = picImage.picture(); picture != nullptr)
        paint_picture(*picture, DriftX, DriftY);
}

}  // namespace vq
