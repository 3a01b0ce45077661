// The host's frame: every planted site runs once, the frame site first, then the
// others in installation order (the camera site among them).
//
// RunFrame, in order:
//   1. the frame number goes up (CurrentFrame() is that number during the frame);
//      with the history bounded to a frame, the records of each call of the frame
//      before are dropped (below);
//   2. a pending SetPedHeading turns the ped's matrix axes; the texts drawn by the
//      previous frame are cleared;
//   3. the host writes its own camera into the camera object (ResetHostCamera);
//   4. sites 0 to 7 run (RunSite); a register mismatch is written to the trace;
//      a change of the camera object during the camera site's run is written to the
//      trace as a camera event;
//   5. the game clock moves on by the frame time.
#pragma once
#include <cstdint>

namespace sim {

// The frame running now, or the last one completed between frames (0 before any).
uint32_t CurrentFrame();
// Runs one frame; returns its number.
uint32_t RunFrame();
void RunFrames(int count);
// True when every site of every frame run so far kept the host's registers.
bool AllSitesIntact();

// While set, the host keeps no record of a call beyond the frame it came in: each
// frame starts with the native log, the sounds played, the scripts terminated and the
// unknown hashes asked for emptied, so that any number of frames runs in the same
// memory. The scenario runner sets it (the trace has every call already); in-process
// tests keep the whole history, as by default.
void SetFrameBoundedHistory(bool bounded);

}  // namespace sim
