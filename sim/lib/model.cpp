// The player's ped and the world, and the reset of the whole host model.
#include <cmath>
#include <cstring>

#include "planting.h"
#include "sim/host_state.h"
#include "sim/imports.h"
#include "sim/ped_model.h"
#include "sim/world_model.h"

namespace sim {

namespace {

PedModel ped;
WorldModel world;

constexpr double DegreesToRadians = 3.14159265358979323846 / 180.0;

void DefaultPed() {
  ped = PedModel();
  static const std::vector<uint32_t> defaults[ComponentCount] = {
      {3, 1}, {2, 3, 1, 4}, {2, 1, 3}, {1, 2}, {1}, {1, 1, 1}, {2, 1, 1}, {1, 2}, {1}, {1}, {1},
  };
  for (int c = 0; c < ComponentCount; ++c) ped.components[c].textureCounts = defaults[c];
  for (int32_t& count : ped.propCounts) count = DefaultPropCount;
}

void TurnAxes(float degrees) {
  float* m = PlayerMatrix();
  double h = degrees * DegreesToRadians;
  float c = static_cast<float>(std::cos(h));
  float s = static_cast<float>(std::sin(h));
  const float axes[12] = {c, s, 0.0f, 0.0f, -s, c, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
  std::memcpy(m, axes, sizeof axes);
  m[15] = 1.0f;
}

}  // namespace

const SitePosition WardrobeSitePositions[8] = {
    {890.525f, -497.601f, 20.0f, 270.0f}, {604.0072f, 1412.384f, 18.0258f, 215.0f},
    {106.55f, 846.15f, 45.6f, 270.0f},    {-970.4f, 889.2f, 19.5f, 180.0f},
    {-433.4f, 1459.73f, 39.5f, 90.0f},    {-1722.058f, 334.1177f, 26.3466f, 240.0f},
    {-1946.8f, -74.0f, 11.37f, 130.0f},   {-430.152f, 1395.39f, 16.462f, 90.0f},
};

PedModel& Ped() { return ped; }
WorldModel& World() { return world; }

Vec3 PlayerPosition() {
  const float* m = PlayerMatrix();
  return {m[12], m[13], m[14]};
}

void SetPlayerPosition(Vec3 position) {
  float* m = PlayerMatrix();
  m[12] = position.x;
  m[13] = position.y;
  m[14] = position.z;
  m[15] = 1.0f;
}

void SetPlayerHeadingNow(float degrees) {
  ped.heading = degrees;
  ped.headingPending = false;
  TurnAxes(degrees);
}

void ApplyPendingHeading() {
  if (!ped.headingPending) return;
  ped.headingPending = false;
  TurnAxes(ped.heading);
}

void SetComponentModel(int component, const std::vector<uint32_t>& textureCounts) {
  if (component < 0 || component >= ComponentCount) return;
  ComponentState& c = ped.components[component];
  c.textureCounts = textureCounts;
  if (c.drawable >= c.textureCounts.size() || c.texture >= c.textureCounts[c.drawable]) {
    c.drawable = 0;
    c.texture = 0;
  }
}

bool HasComponentPart(int component, uint32_t drawable, uint32_t texture) {
  if (component < 0 || component >= ComponentCount) return false;
  const ComponentState& c = ped.components[component];
  return drawable < c.textureCounts.size() && texture < c.textureCounts[drawable];
}

bool HasProp(int anchor, int32_t prop) {
  return anchor >= 0 && anchor < PropAnchorCount && prop >= 0 && prop < ped.propCounts[anchor];
}

void SetPropCount(int anchor, int32_t count) {
  if (anchor >= 0 && anchor < PropAnchorCount) ped.propCounts[anchor] = count;
}

bool Wear(int component, uint32_t drawable, uint32_t texture) {
  if (!HasComponentPart(component, drawable, texture)) return false;
  ComponentState& c = ped.components[component];
  c.drawable = drawable;
  c.texture = texture;
  return true;
}

void PutProp(int anchor, int32_t prop, int32_t texture) {
  if (anchor < 0 || anchor >= PropAnchorCount) return;
  if (prop < 0) {
    RemoveProp(anchor);
    return;
  }
  ped.props[anchor].index = prop;
  ped.props[anchor].texture = texture;
}

void RemoveProp(int anchor) {
  if (anchor < 0 || anchor >= PropAnchorCount) return;
  ped.props[anchor] = PropState();
}

void PutPlayerAtSite(int site) {
  if (site < 0 || site >= 8) return;
  const SitePosition& s = WardrobeSitePositions[site];
  SetPlayerPosition({s.x, s.y, s.z});
}

std::string PrintedMessage() {
  if (world.printedText.empty() || world.gameTimeMs >= world.printedUntilMs) return std::string();
  return world.printedText;
}

std::string HelpText(const std::string& label) {
  if (label == "WD_USE") return "Press ~INPUT_PICKUP~ to change your clothes.";
  return label;
}

void ResetModel() {
  DefaultPed();
  world = WorldModel();
  for (int font = 0; font < 10; ++font) world.fontsAvailable.insert(font);
  world.fontsLoaded.insert(0);
  SetPlayerPosition({100.0f, -200.0f, 15.0f});
  SetPlayerHeadingNow(0.0f);
  ResetHostData();
  ResetNatives();
  ResetSites();
  ClearMessageBoxes();
}

}  // namespace sim
