// The name a player may give a saved outfit: what it may hold, and how a name read
// from a file is made fit to show. Pure standard C++, never throws.
#pragma once
#include <cstddef>
#include <string_view>

// A name holds 1 to 24 characters once the spaces at both ends are trimmed.
constexpr std::size_t OutfitNameMaxLength = 24;
// The key of an outfit's section that holds its name; an unnamed outfit has none.
constexpr const char* OutfitNameKey = "Name";

// Letters A-Z and a-z, digits, space and - _ . ' ( ) ! &. Never "~" (it starts the
// host's text codes), "[", "]", "=", ";", quotes or control characters: a name is
// drawn as host text and written as an INI value.
bool IsOutfitNameCharacter(char c);

// Every character a name may hold, in the order the pad steps through them: space,
// A-Z, a-z, 0-9, then the marks.
extern const char OutfitNameCharacters[];
constexpr std::size_t OutfitNameCharacterCount = 71;

// The name as it may be shown and kept: the characters a name may not hold dropped,
// the spaces at both ends trimmed, cut to 24 characters (and trimmed again). Writes
// at most 24 characters and a terminator into `name`; an empty result is no name.
void CleanOutfitName(std::string_view text, char (&name)[OutfitNameMaxLength + 1]);
