// The clothing animations the player plays while the menu is open.
#pragma once

// Menu time gathered since the last idle animation; starts full so the first menu
// frame plays one.
extern double idleSeconds;

void PlayIdleAnimation();
// The plug-in's own generator (the C runtime's formula, never seeded), so the picks do
// not depend on other modules sharing the runtime.
unsigned NextIdleRandom();
