// The keyboard help texts are written with the host's input codes (~INPUT_MOVE_UP~
// shows the key the game moves up with), but the menu's keys are its own: the key at a
// place on the keyboard, or one the player named in the settings. The texts name the
// menu's key of each action in one style, "[W]" or "[Up]", as the settings file and the
// log write them, whether it is the default or the player's own.
#pragma once
#include <cstddef>

// Names of the key for up, down, left, right and accept, in that order; null where the
// host's code stays (until the settings are read). The names are copied.
void NameOwnKeys(const char* const names[5]);
// text with the input code of every action that has a name replaced by "[Name]", two
// such next to each other joined by "/" ("[Up]/[Down] Move"). Returns text itself when
// nothing is replaced, else buffer (cut to fit).
const char* WithOwnKeyNames(const char* text, char* buffer, std::size_t size);
