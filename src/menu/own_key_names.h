// The keyboard help texts name the game's bindings through the host's input codes
// (~INPUT_MOVE_UP~ shows the key the game moves up with). For an action the player
// gave keys of their own in the settings, the text names that key instead.
#pragma once
#include <cstddef>

// Names of the player's own key for up, down, left, right and accept, in that order;
// null where the action has none (the host's code stays). The names are copied.
void NameOwnKeys(const char* const names[5]);
// text with the input code of every action that has a name replaced by "[Name]", two
// such next to each other joined by "/" ("[Up]/[Down] Move"). Returns text itself when
// nothing is replaced, else buffer (cut to fit).
const char* WithOwnKeyNames(const char* text, char* buffer, std::size_t size);
