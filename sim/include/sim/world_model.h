// What the host shows and keeps besides the ped: help and printed messages, the text
// state and the texts drawn this frame, sounds, fonts, stopped scripts, animation sets,
// the screen and the game clock.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace sim {

// The text state that DisplayLiteralText draws with. It returns to these defaults
// after every DisplayLiteralText, as the host's text state does, so every text must
// be preceded by its own settings.
struct TextState {
  int32_t font = 0;
  uint8_t red = 255, green = 255, blue = 255, alpha = 255;
  float scaleX = 1.0f, scaleY = 1.0f;
  float wrapStart = 0.0f, wrapEnd = 1.0f;
  bool rightJustify = false;
  bool flagA = false, flagB = false, flagC = false, flagD = false;
  bool effectA = false;
  uint8_t effectAColour[4] = {0, 0, 0, 0};
  bool effectB = false;
  uint8_t effectBColour[4] = {0, 0, 0, 0};
};

struct DrawnText {
  float x, y;  // normalised screen position (y = top of the text)
  std::string label;
  std::string text;
  TextState state;
};

struct SoundPlayed {
  uint32_t frame;
  int32_t id;
  std::string name;
};

struct WorldModel {
  std::string helpLabel;  // shown until ClearHelpMessage; "" = none
  std::string printedLabel;
  std::string printedText;  // "" = none
  uint32_t printedUntilMs = 0;
  TextState text;
  std::vector<DrawnText> drawnThisFrame;  // cleared when a frame starts
  std::vector<SoundPlayed> sounds;
  std::set<int32_t> fontsLoaded;
  std::set<int32_t> fontsAvailable;  // LoadTextFont loads an available font at once
  std::vector<std::string> terminatedScripts;
  int32_t screenWidth = 1280;
  int32_t screenHeight = 720;
  bool usingPad = false;
  bool suspended = false;
  // Added to every extent of IsPedInBoxAroundPoint: neighbouring areas that never
  // overlap in the world can be made to, to see which one wins.
  float boxSlack = 0.0f;
  std::set<std::string> animSetsLoaded;
  std::set<std::string> animSetsRequested;
  bool animSetsLoad = true;  // LoadRequestsNow loads the requested sets
  uint32_t gameTimeMs = 0;   // advances by the frame time after every frame
  // Every SetPedComponent, SetPedProp or SetPedPropWithTexture on the player asking for
  // a part the model lacks (a real host may fault there), as "NATIVE slot value
  // [texture]"; each is also traced as a missing-part record.
  std::vector<std::string> missingParts;
};

WorldModel& World();

// The printed message still on screen ("" once its time is over).
std::string PrintedMessage();
// The host's text of a help label (the label itself when the host has no text for it).
std::string HelpText(const std::string& label);

}  // namespace sim
