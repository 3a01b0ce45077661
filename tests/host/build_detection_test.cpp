// Which host build is running, from the executable's own version resource, and the
// addresses that follow from it.
#include <gtest/gtest.h>

#include <windows.h>

#include "host/game_version.h"
#include "host/host_locations.h"
#include "sim/sim.h"

namespace {

TEST(BuildDetection, JoinsTheFourVersionFieldsAsDecimalText) {
  struct Case {
    uint16_t a, b, c, d;
    int32_t joined;
  };
  const Case cases[] = {
      {1, 0, 7, 0, 1070},
      {1, 0, 8, 0, 1080},
      {1, 0, 7, 1, 1071},
      {1, 1, 0, 0, 1100},
      {0, 0, 0, 0, 0},
      {2, 147, 483, 647, 2147483647},  // the largest that fits
      {2, 147, 483, 648, 0},           // one more does not: no supported build
      {65535, 65535, 65535, 65535, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.joined, JoinFileVersion((uint32_t(c.a) << 16) | c.b, (uint32_t(c.c) << 16) | c.d))
        << c.a << "." << c.b << "." << c.c << "." << c.d;
  }
}

TEST(BuildDetection, ThisHostsVersionSelectsItsLayout) {
  sim::Boot();
  ASSERT_TRUE(hostReady) << "resolved while the plug-in's globals were constructed";
  EXPECT_EQ(sim::FileVersion(), ReadHostFileVersion());
  EXPECT_EQ(sim::FileVersion() == 1070 ? 1 : 2, GameVersion);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr)), hostBase);
  const uintptr_t expected = hostBase + (GameVersion == 1 ? 0xB1CC68 : 0xB2E0B4);
  EXPECT_EQ(expected, ResolveHostAddress({0xB1CC68, 0xB2E0B4}));
  EXPECT_EQ(sim::HostAt(sim::Layout().localPlayerIndex), reinterpret_cast<uint8_t*>(expected));
}

// The plug-in's table of host offsets and the simulated host's layout are written
// apart; every pair must name the same places.
TEST(BuildDetection, OffsetTableMatchesTheSimulatedLayouts) {
  namespace O = HostOffsets;
  for (int build = 1; build <= 2; ++build) {
    const sim::HostLayout& layout = sim::LayoutOf(build);
    auto of = [build](HostOffset offset) { return build == 1 ? offset.build1 : offset.build2; };
    for (int i = 0; i < sim::SiteCount; ++i) EXPECT_EQ(layout.sites[i], of(O::hookSites[i])) << build << " site " << i;
    EXPECT_EQ(layout.probeSite, of(O::companionProbeSite)) << build;
    EXPECT_EQ(layout.localPlayerIndex, of(O::localPlayerIndex)) << build;
    EXPECT_EQ(layout.pedPoolPointer, of(O::pedPoolPointer)) << build;
    EXPECT_EQ(layout.episodeNumber, of(O::episodeNumber)) << build;
    EXPECT_EQ(layout.padArray, of(O::padArray)) << build;
    EXPECT_EQ(layout.frameTimeStep, of(O::frameTimeStep)) << build;
    EXPECT_EQ(layout.cameraPointer, of(O::cameraPointer)) << build;
    EXPECT_EQ(layout.hostColourTable, of(O::hostColourTable)) << build;
    EXPECT_EQ(layout.currentScriptThread, of(O::currentScriptThread)) << build;
    EXPECT_EQ(layout.propQueryPatchByte, of(O::propQueryPatchByte)) << build;
    EXPECT_EQ(layout.findNativeHandler, of(O::findNativeHandler)) << build;
    EXPECT_EQ(layout.getPlayerInfo, of(O::getPlayerInfo)) << build;
    EXPECT_EQ(layout.getPoolHandle, of(O::getPoolHandle)) << build;
    EXPECT_EQ(layout.getPlayerPedObject, of(O::getPlayerPedObject)) << build;
  }
  EXPECT_EQ(sim::PadControlState, O::padControlState);
  EXPECT_EQ(sim::PadControlStride, O::padControlStride);
  EXPECT_EQ(sim::PadControlCount, PadControlCount);
  EXPECT_EQ(sim::PlayerInfoPedObject, O::playerInfoPedObject);
  EXPECT_EQ(sim::PedObjectMatrix, O::pedObjectMatrix);
  EXPECT_EQ(sim::CameraMatrix, O::cameraMatrix);
  EXPECT_EQ(sim::CameraFieldOfView, O::cameraFieldOfView);
}

}  // namespace
