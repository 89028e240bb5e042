// Handle counts for long-run checks: with VQ_DIAGNOSTICS=1 in the environment, the counts
// of live and peak handles per kind (and of pointer hidings) are written at exit to the file
// VQ_DIAGNOSTICS_FILE names, one "kind live peak" line per kind.
//
// Preview frames for the tests: with VQ_PREVIEW_SNAPSHOT naming a file, a preview writes what
// its window shows there, as a 32-bit top-down BMP, after every paint and every tick. Wine
// shows nothing a child window draws when its parent belongs to another process, so this is
// how a test under Wine sees a preview.
#pragma once

#include <windows.h>

#include <functional>

namespace win32 {

void write_diagnostics_if_asked();

bool preview_snapshot_asked();
// Paints a frame of the given size with `paint` and writes it, replacing the last one whole.
void write_preview_snapshot(int width, int height, const std::function<void(HDC)>& paint);

}  // namespace win32
