// Which host build is running, from the executable's own version resource, and the
// addresses that follow from it.
#include <gtest/gtest.h>

#include <windows.h>

#include "host/game_version.h"
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
  EXPECT_EQ(expected, ResolveHostAddress(0xB1CC68, 0xB2E0B4));
  EXPECT_EQ(sim::HostAt(sim::Layout().localPlayerIndex), reinterpret_cast<uint8_t*>(expected));
}

}  // namespace
