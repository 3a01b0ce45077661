#include "outfits/outfit_name.h"

const char OutfitNameCharacters[] = " ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_.'()!&";
static_assert(sizeof OutfitNameCharacters == OutfitNameCharacterCount + 1, "the pad's order holds every character");

bool IsOutfitNameCharacter(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case ' ':
    case '-':
    case '_':
    case '.':
    case '\'':
    case '(':
    case ')':
    case '!':
    case '&': return true;
    default: return false;
  }
}

void CleanOutfitName(std::string_view text, char (&name)[OutfitNameMaxLength + 1]) {
  std::size_t length = 0;
  for (char c : text) {
    if (length == OutfitNameMaxLength) break;
    // Leading spaces are trimmed as they come; trailing ones once the name is cut.
    if (!IsOutfitNameCharacter(c) || (c == ' ' && length == 0)) continue;
    name[length++] = c;
  }
  while (length > 0 && name[length - 1] == ' ') --length;
  name[length] = '\0';
}
