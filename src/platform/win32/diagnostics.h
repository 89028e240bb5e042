// Handle counts for long-run checks: with VQ_DIAGNOSTICS=1 in the environment, the counts
// of live and peak handles per kind (and of pointer hidings) are written at exit to the file
// VQ_DIAGNOSTICS_FILE names, one "kind live peak" line per kind.
#pragma once

namespace win32 {

void write_diagnostics_if_asked();

}  // namespace win32
