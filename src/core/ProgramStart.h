#pragma once
// What the process sets up for itself before any window exists.

// A write past the file-size limit (`ulimit -f`) would otherwise end the
// whole player with SIGXFSZ, taking the playlist and playback with it; with
// the signal ignored the write fails with EFBIG ("File too large") and the
// window that wrote says so. Call first thing in main.
void PrepareProcess();
