// The host's frame: every planted site runs once, the frame site first, then the
// others in installation order (the camera site among them).
//
// RunFrame, in order:
//   1. the frame number goes up (CurrentFrame() is that number during the frame);
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

}  // namespace sim
