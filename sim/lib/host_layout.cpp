#include "sim/host_layout.h"

#include "sim/host_image.h"

namespace sim {

namespace {

const HostLayout layoutBuild1 = {
    1,         {0x21601, 0x4ADB38, 0x4ADA9D, 0x46AFA8, 0x7FE9C6, 0x3C4002, 0x52C4C2, 0x3B2E27}, 0x215ED,
    0xB1CC68,   // localPlayerIndex
    0x14A82AC,  // pedPoolPointer
    0xCF8078,   // episodeNumber
    0xCFB818,   // padArray
    0xDDDE7C,   // frameTimeStep
    0xB21A70,   // cameraPointer
    0xDE4D40,   // hostColourTable
    0x1449AE0,  // currentScriptThread
    0x5E29DC,   // propQueryPatchByte
    0x1A76D0,   // findNativeHandler
    0x417F20,   // getPlayerInfo
    0x47230,    // getPoolHandle
    0x417F40,   // getPlayerPedObject
};

const HostLayout layoutBuild2 = {
    2,         {0x95141, 0x770748, 0x7706AD, 0x60E1C8, 0x652C26, 0x46A802, 0x694232, 0x456C27}, 0x9512D,
    0xB2E0B4,   // localPlayerIndex
    0x14CB03C,  // pedPoolPointer
    0xD2D788,   // episodeNumber
    0xDD8EA8,   // padArray
    0xCFCB74,   // frameTimeStep
    0xB488EC,   // cameraPointer
    0xDE8038,   // hostColourTable
    0x1394FB4,  // currentScriptThread
    0x6D929C,   // propQueryPatchByte
    0x226AF0,   // findNativeHandler
    0x3CD210,   // getPlayerInfo
    0xAFF10,    // getPoolHandle
    0x3CD230,   // getPlayerPedObject
};

}  // namespace

const HostLayout& LayoutOf(int build) { return build == 2 ? layoutBuild2 : layoutBuild1; }

const HostLayout& Layout() { return LayoutOf(LayoutBuild()); }

SiteKind KindOfSite(int site) { return (site == 4 || site == 5) ? SiteKind::After : SiteKind::Before; }

}  // namespace sim
