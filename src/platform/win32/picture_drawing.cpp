#include "platform/win32/picture_drawing.h"

#include <algorithm>

#include "platform/win32/geometry.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_picture.h"

namespace win32 {
namespace {

// Copies the picture's bitmap, or draws its icon, into `where`; a bitmap is scaled from its
// top-left `source_width` x `source_height` pixels.
void blit(HDC target, const Win32Picture& picture, const RECT& where, int source_width,
          int source_height) {
    if (picture.icon() != nullptr) {
        DrawIconEx(target, where.left, where.top, picture.icon(), width(where), height(where), 0,
                   nullptr, DI_NORMAL);
        return;
    }
    const unique_hdc source(CreateCompatibleDC(target));
    if (!source) return;
    const select_object selected(source.get(), picture.bitmap());
    if (!selected) return;
    if (source_width == width(where) && source_height == height(where)) {
        BitBlt(target, where.left, where.top, width(where), height(where), source.get(), 0, 0,
               SRCCOPY);
        return;
    }
    // HALFTONE averages the pixels a reduction drops; it needs the brush origin set again.
    const int previous_mode = SetStretchBltMode(target, HALFTONE);
    POINT previous_origin{};
    SetBrushOrgEx(target, 0, 0, &previous_origin);
    StretchBlt(target, where.left, where.top, width(where), height(where), source.get(), 0, 0,
               source_width, source_height, SRCCOPY);
    SetBrushOrgEx(target, previous_origin.x, previous_origin.y, nullptr);
    if (previous_mode != 0) SetStretchBltMode(target, previous_mode);
}

}  // namespace

void draw_picture(HDC target, const tk::Picture& picture, const RECT& where) {
    const int w = std::min(picture.width_px(), width(where));
    const int h = std::min(picture.height_px(), height(where));
    if (w <= 0 || h <= 0) return;
    const auto& native = static_cast<const Win32Picture&>(picture);
    if (native.icon() != nullptr) {
        // An icon is drawn whole at its size; the clip keeps it inside `where`.
        const int saved = SaveDC(target);
        IntersectClipRect(target, where.left, where.top, where.right, where.bottom);
        blit(target, native,
             {where.left, where.top, where.left + picture.width_px(),
              where.top + picture.height_px()},
             picture.width_px(), picture.height_px());
        if (saved != 0) RestoreDC(target, saved);
        return;
    }
    blit(target, native, {where.left, where.top, where.left + w, where.top + h}, w, h);
}

void stretch_picture(HDC target, const tk::Picture& picture, const RECT& where) {
    if (width(where) <= 0 || height(where) <= 0) return;
    blit(target, static_cast<const Win32Picture&>(picture), where, picture.width_px(),
         picture.height_px());
}

}  // namespace win32
