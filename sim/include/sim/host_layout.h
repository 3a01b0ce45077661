// The host's own table of where things are, per build: the hooked call sites, the data
// locations and the routines the plug-in uses, and the simulator's own objects. All
// values are offsets from HostBase().
#pragma once
#include <cstdint>

namespace sim {

constexpr int SiteCount = 8;
// Site index i is the i-th call site in hook installation order (0 = frame site).
constexpr int FrameSite = 0;
constexpr int CameraSite = 6;
enum class SiteKind { Before, After };

struct HostLayout {
  int build;  // 1 or 2
  uint32_t sites[SiteCount];
  uint32_t probeSite;  // the call 20 bytes before the frame site
  // Data locations.
  uint32_t localPlayerIndex;
  uint32_t pedPoolPointer;
  uint32_t episodeNumber;
  uint32_t padArray;
  uint32_t frameTimeStep;
  uint32_t cameraPointer;
  uint32_t hostColourTable;
  uint32_t currentScriptThread;
  uint32_t propQueryPatchByte;
  // Routines.
  uint32_t findNativeHandler;
  uint32_t getPlayerInfo;
  uint32_t getPoolHandle;
  uint32_t getPlayerPedObject;
};

const HostLayout& LayoutOf(int build);
// The layout of the running image (LayoutOf(LayoutBuild())).
const HostLayout& Layout();
SiteKind KindOfSite(int site);

// Pad records: size, where control i's state byte is, how many controls there are.
constexpr uint32_t PadRecordSize = 0x3A84;
constexpr uint32_t PadControlState = 0x269E;
constexpr uint32_t PadControlStride = 16;
constexpr int PadControlCount = 187;
// Offset of the ped object pointer inside the player-info record.
constexpr uint32_t PlayerInfoPedObject = 0x58C;
// Offset of the matrix pointer inside a ped object.
constexpr uint32_t PedObjectMatrix = 0x20;
// Camera object fields.
constexpr uint32_t CameraMatrix = 0x10;
constexpr uint32_t CameraFieldOfView = 0x60;
constexpr int ColourTableEntries = 256;

// The simulator's own objects in the data area (same offsets in both layouts).
constexpr uint32_t SiteRecordsOffset = 0xA00000;       // per-site register records
constexpr uint32_t SimFlagsOffset = 0xA00800;          // flags read by planted code
constexpr uint32_t HostScriptThreadOffset = 0xA01000;  // the host's own script thread
constexpr uint32_t PlayerInfoOffset = 0xA02000;
constexpr uint32_t PedPoolOffset = 0xA03000;
constexpr uint32_t PedObjectOffset = 0xA03100;
constexpr uint32_t PedMatrixOffset = 0xA03200;
constexpr uint32_t CameraObjectOffset = 0xA04000;
constexpr uint32_t SiteObjectsOffset = 0xA05000;  // ECX objects of the after-kind sites
// Planted code at free offsets.
constexpr uint32_t SiteCalleesOffset = 0x1000;     // 0x80 bytes per site
constexpr uint32_t ProbeRoutineOffset = 0x1800;    // a plain ret
constexpr uint32_t TrampolinesOffset = 0x1C00;     // 0x20 bytes per site (TamperSite)
constexpr uint32_t NativeHandlersOffset = 0x2000;  // 0x20 bytes per native

// The player ped's script handle.
constexpr int32_t PlayerPedHandle = 0x2A01;

}  // namespace sim
