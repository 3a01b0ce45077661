#include "outfits/outfit.h"

#include <string>

#include "host/host_locations.h"
#include "host/natives.h"
#include "host/prop_texture_query.h"
#include "outfits/ini_document.h"
#include "outfits/outfit_name.h"
#include "outfits/outfit_value.h"

Outfit OutfitTable[OutfitTableSize];

// Capture and Apply walk component i and prop anchor i together.
static_assert(ComponentCount == PropAnchorCount, "components and anchors are walked together");

namespace {

// The 44 key names of an outfit section, made once: a load reads 512 × 44 of them.
struct OutfitKeyNames {
  std::string drawable[ComponentCount];
  std::string texture[ComponentCount];
  std::string prop[PropAnchorCount];
  std::string propTexture[PropAnchorCount];
  std::string name = OutfitNameKey;
};

const OutfitKeyNames& KeyNames() {
  static const OutfitKeyNames names = [] {
    OutfitKeyNames made;
    for (int i = 0; i < ComponentCount; ++i) {
      made.drawable[i] = "Drawable" + std::to_string(i);
      made.texture[i] = "Texture" + std::to_string(i);
    }
    for (int i = 0; i < PropAnchorCount; ++i) {
      made.prop[i] = "Prop" + std::to_string(i);
      made.propTexture[i] = "PropTexture" + std::to_string(i);
    }
    return made;
  }();
  return names;
}

// A missing key reads as "0" would.
int32_t ReadValue(const IniDocument& document, const std::string& key) {
  const std::string* value = document.FindValue(key);
  return value != nullptr ? ParseOutfitValue(*value) : 0;
}

}  // namespace

void Outfit::Capture() {
  const int32_t ped = GetPlayerPedHandle();
  const PropTextureQuery propTextures;
  for (int i = 0; i < ComponentCount; ++i) {
    const uint32_t index = static_cast<uint32_t>(i);
    drawable[i] = GetPedDrawable(ped, index);
    texture[i] = GetPedTexture(ped, index);
    GetPedPropIndex(ped, index, &prop[i]);
    propTexture[i] = propTextures.Texture(ped, index);
  }
}

bool Outfit::Apply(PropSource props) const {
  const int32_t ped = GetPlayerPedHandle();
  bool whole = true;
  for (int i = 0; i < ComponentCount; ++i) {
    const uint32_t index = static_cast<uint32_t>(i);
    // The host's counts, asked as the menu asks them: values from a file may have been
    // made for another model, or edited by hand.
    const bool fits =
        drawable[i] < GetNumberOfDrawables(ped, index) && texture[i] < GetNumberOfTextures(ped, index, drawable[i]);
    if (fits) {
      SetPedComponent(ped, index, drawable[i], texture[i]);
    } else {
      whole = false;
    }
    // Any negative value, not only the host's -1, means no prop.
    if (prop[i] < 0) {
      ClearPedProp(ped, index);
    } else if (prop[i] < PropChoices || props == PropSource::Host) {
      SetPedPropWithTexture(ped, index, prop[i], propTexture[i]);
    } else {
      whole = false;
    }
  }
  return whole;
}

void Outfit::Read(const IniDocument& document) {
  const OutfitKeyNames& names = KeyNames();
  for (int i = 0; i < ComponentCount; ++i) {
    drawable[i] = static_cast<uint32_t>(ReadValue(document, names.drawable[i]));
    texture[i] = static_cast<uint32_t>(ReadValue(document, names.texture[i]));
  }
  for (int i = 0; i < PropAnchorCount; ++i) {
    prop[i] = ReadValue(document, names.prop[i]);
    propTexture[i] = ReadValue(document, names.propTexture[i]);
  }
  // Shown as far as it is a name; the text itself stays in the file as it was.
  const std::string* nameText = document.FindValue(names.name);
  CleanOutfitName(nameText != nullptr ? std::string_view(*nameText) : std::string_view(), name);
}

void Outfit::Write(IniDocument& document, const char* sectionName) const {
  const OutfitKeyNames& names = KeyNames();
  document.AddSection(sectionName);  // current now, whether new or not
  for (int i = 0; i < ComponentCount; ++i) {
    document.SetValue(names.drawable[i], FormatUnsignedValue(drawable[i]));
    document.SetValue(names.texture[i], FormatUnsignedValue(texture[i]));
    document.SetValue(names.prop[i], FormatSignedValue(prop[i]));
    document.SetValue(names.propTexture[i], FormatSignedValue(propTexture[i]));
  }
}

int CountSavedOutfits() {
  for (int n = 0; n < OutfitTableSize; ++n) {
    if (!OutfitTable[n].inUse) {
      return n;
    }
  }
  return OutfitTableSize;
}
