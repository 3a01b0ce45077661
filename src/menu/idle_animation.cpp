// The clothing animations the player plays now and then while the menu is open.
#include "menu/idle_animation.h"

#include <cstdint>

#include "host/host_locations.h"
#include "host/natives.h"

double idleSeconds = 20.0;

namespace {

constexpr const char* animationSet = "clothing";
constexpr const char* idleAnimations[] = {
    "examine shirt", "examine legs", "examine shoes", "brushoff_suit_stand", "tie_adjust_stand",
};
constexpr uint32_t idleAnimationCount = sizeof idleAnimations / sizeof idleAnimations[0];
constexpr float animationSpeed = 1.0f;
constexpr int32_t animationTime = -2;

// The C runtime's linear congruential formula with its unseeded start, kept here so
// that no other module drawing from the shared runtime changes the order of picks.
uint32_t idleRandomState = 1;

}  // namespace

unsigned NextIdleRandom() {
  idleRandomState = idleRandomState * 214013u + 2531011u;
  return (idleRandomState >> 16) & 0x7FFFu;
}

void PlayIdleAnimation() {
  const char* animation = idleAnimations[NextIdleRandom() % idleAnimationCount];
  if (!HasAnimSetLoaded(animationSet)) {
    RequestAnimSet(animationSet);
    LoadRequestsNow();
  }
  // A set that is still not in skips this turn; the next try comes an interval later.
  if (HasAnimSetLoaded(animationSet)) {
    PlayPedAnim(GetPlayerPedHandle(), animation, animationSet, animationSpeed, 0, 0, 0, 0, animationTime);
  }
}
