// The player's ped as the host models it: 11 components (each with its drawables and
// their texture counts, and the current drawable and texture), props at 11 anchors,
// position and heading (kept in the ped's world matrix in host memory), player control
// and what the ped is doing.
//
// Default model (ResetModel at Boot): components with several drawables and drawables
// with several textures, so that every kind of menu row appears:
//   component: textures per drawable        component: textures per drawable
//   0 head     {3, 1}                        6 jacket   {2, 1, 1}
//   1 torso    {2, 3, 1, 4}                  7 hair     {1, 2}
//   2 legs     {2, 1, 3}                     8 special2 {1}
//   3 special  {1, 2}                        9 teeth    {1}
//   4 hands    {1}                          10 face     {1}
//   5 feet     {1, 1, 1}
// Every prop anchor offers 3 props (indices 0 to 2), of any texture.
// All components wear drawable 0 texture 0; no props; position (100, -200, 15),
// heading 0 (facing +y); player control on.
//
// Heading: SetPedHeading stores the heading at once; the matrix axes follow it at the
// start of the next frame (RunFrame), as the host's physics step would. Heading h
// degrees gives right (cos h, sin h, 0), forward (-sin h, cos h, 0), up (0, 0, 1).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

constexpr int ComponentCount = 11;
constexpr int PropAnchorCount = 11;

struct ComponentState {
  std::vector<uint32_t> textureCounts;  // one entry per drawable
  uint32_t drawable = 0;
  uint32_t texture = 0;
};

struct PropState {
  int32_t index = -1;  // -1 = no prop
  int32_t texture = -1;
};

constexpr int32_t DefaultPropCount = 3;

struct PedModel {
  ComponentState components[ComponentCount];
  PropState props[PropAnchorCount];
  int32_t propCounts[PropAnchorCount];  // props the model has at each anchor
  float heading = 0.0f;                 // degrees, as last set
  bool headingPending = false;          // axes not yet turned to `heading`
  bool playerControl = true;
  std::string animation;  // "" when idle, else the animation playing
  std::string animationSet;
  int activityStops = 0;          // StopPedActivity calls on the player ped
  int menuFramePreparations = 0;  // PreparePedForMenuFrame calls on the player ped
};

PedModel& Ped();

struct Vec3 {
  float x, y, z;
};

// The ped's 4x4 world matrix in host memory (rows right, forward, up, position).
float* PlayerMatrix();
Vec3 PlayerPosition();
void SetPlayerPosition(Vec3 position);
// Sets heading and turns the axes at once.
void SetPlayerHeadingNow(float degrees);
// Turns the matrix axes to the stored heading if a SetPedHeading is pending.
void ApplyPendingHeading();

// Component c gets one drawable per entry of textureCounts; it keeps its current
// drawable and texture when they still exist, else drawable 0 texture 0.
void SetComponentModel(int component, const std::vector<uint32_t>& textureCounts);
// Puts drawable d texture t on component c, as SetPedComponent does (ignored when out
// of range; returns whether it was taken).
bool Wear(int component, uint32_t drawable, uint32_t texture);
// Puts prop p (texture t) on anchor a, whether the model has it or not (a negative p
// removes it).
void PutProp(int anchor, int32_t prop, int32_t texture);
// Anchor a offers `count` props from now on (indices 0 to count - 1).
void SetPropCount(int anchor, int32_t count);
// Whether the model has drawable d texture t of component c, or prop p at anchor a.
bool HasComponentPart(int component, uint32_t drawable, uint32_t texture);
bool HasProp(int anchor, int32_t prop);
void RemoveProp(int anchor);

// The wardrobe sites of the world (x, y, z, heading), the host's own copy.
struct SitePosition {
  float x, y, z, heading;
};
extern const SitePosition WardrobeSitePositions[8];
// Places the player at wardrobe site n (its x, y, z).
void PutPlayerAtSite(int site);

}  // namespace sim
