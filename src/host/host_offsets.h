// Where the host keeps everything the plug-in uses: one offset per supported build
// (file version 1.0.7.0, then 1.0.8.0), relative to the host executable's load
// address. No other file holds a host offset. The order is that of the simulated
// host's layout table (sim/lib/host_layout.cpp), so the two read side by side.
#pragma once
#include <cstdint>

struct HostOffset {
  uint32_t build1;
  uint32_t build2;
};

namespace HostOffsets {

// The eight patched call sites, in installation order: 0 is the frame hook's site,
// 6 the camera hook's.
constexpr HostOffset hookSites[8] = {
    {0x21601, 0x95141},   {0x4ADB38, 0x770748}, {0x4ADA9D, 0x7706AD}, {0x46AFA8, 0x60E1C8},
    {0x7FE9C6, 0x652C26}, {0x3C4002, 0x46A802}, {0x52C4C2, 0x694232}, {0x3B2E27, 0x456C27},
};
// The host call 20 bytes before the frame hook's site that the companion check probes.
constexpr HostOffset companionProbeSite{0x215ED, 0x9512D};

// Data locations.
constexpr HostOffset localPlayerIndex{0xB1CC68, 0xB2E0B4};
constexpr HostOffset pedPoolPointer{0x14A82AC, 0x14CB03C};
constexpr HostOffset episodeNumber{0xCF8078, 0xD2D788};
constexpr HostOffset padArray{0xCFB818, 0xDD8EA8};
constexpr HostOffset frameTimeStep{0xDDDE7C, 0xCFCB74};
constexpr HostOffset cameraPointer{0xB21A70, 0xB488EC};
constexpr HostOffset hostColourTable{0xDE4D40, 0xDE8038};
constexpr HostOffset currentScriptThread{0x1449AE0, 0x1394FB4};
// A byte of the host's code: 4 makes its prop query report a prop's index, 8 its texture.
constexpr HostOffset propQueryPatchByte{0x5E29DC, 0x6D929C};

// Routines.
constexpr HostOffset findNativeHandler{0x1A76D0, 0x226AF0};
constexpr HostOffset getPlayerInfo{0x417F20, 0x3CD210};
constexpr HostOffset getPoolHandle{0x47230, 0xAFF10};
constexpr HostOffset getPlayerPedObject{0x417F40, 0x3CD230};

// Inside the host's records, the same in both builds.
constexpr uint32_t padControlState = 0x269E;  // control i's state byte in a pad record
constexpr uint32_t padControlStride = 16;
constexpr uint32_t playerInfoPedObject = 0x58C;  // the ped object pointer in a player-info record
constexpr uint32_t pedObjectMatrix = 0x20;       // the world matrix pointer in a ped object
constexpr uint32_t cameraMatrix = 0x10;          // a camera object's world matrix (16 floats)
constexpr uint32_t cameraFieldOfView = 0x60;     // and its field of view (a float)

}  // namespace HostOffsets
