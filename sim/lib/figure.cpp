// The player's figure: each slot a box on the ped's body, its colour from the drawable
// and its bands from the texture, so that every change the wardrobe makes shows in a
// picture. It is a test-bed drawing, not a renderer: each box becomes the rectangle
// around the projected corners of the face it turns to the camera, and nothing hides
// anything but what is drawn later.
#include "sim/figure.h"

#include <algorithm>
#include <cmath>

#include "sim/host_state.h"
#include "sim/ped_model.h"

namespace sim {

namespace {

// A part of the body in the ped's own frame, in metres: centre height above the ped's
// position (the middle of the body, as in the host: feet a metre below it), half
// height and half width; for the box seen through a plug-in's camera also its centre's
// offset along the ped's forward axis and its half depth.
struct BodyBox {
  const char* name;
  float centre;
  float halfHeight;
  float halfWidth;
  float forward;
  float halfDepth;
};

// Table order is the flat marker's drawing order (the shirt over the open jacket, hair,
// glasses and hat over the head) and breaks ties between boxes at the same depth.
// The boxes: the shirt (torso) and belt stand out in front of the jacket, which is
// closed at the back; the hair covers the top and the back of the head; the glasses
// sit in front of the face.
constexpr BodyBox Feet{"feet", -0.95f, 0.05f, 0.17f, 0.05f, 0.14f};
constexpr BodyBox Legs{"legs", -0.48f, 0.42f, 0.15f, 0.0f, 0.10f};
constexpr BodyBox Jacket{"jacket", 0.22f, 0.32f, 0.25f, -0.01f, 0.13f};
constexpr BodyBox Torso{"torso", 0.20f, 0.28f, 0.12f, 0.03f, 0.115f};
constexpr BodyBox Special{"special", -0.07f, 0.04f, 0.19f, 0.03f, 0.12f};
constexpr BodyBox Head{"head", 0.62f, 0.12f, 0.10f, 0.01f, 0.115f};
// The marker's hair is a band on top of the head; the box covers its back as well.
constexpr BodyBox HairBand{"hair", 0.75f, 0.04f, 0.11f, 0.0f, 0.0f};
constexpr BodyBox Hair{"hair", 0.67f, 0.12f, 0.11f, -0.02f, 0.10f};
constexpr BodyBox Glasses{"glasses", 0.64f, 0.025f, 0.09f, 0.125f, 0.01f};
constexpr BodyBox Hat{"hat", 0.84f, 0.06f, 0.14f, 0.0f, 0.14f};

// Clothing colours by drawable, skin tones for heads.
constexpr uint32_t Palette[] = {0x3B5BA5, 0xC0392B, 0x27AE60, 0xE1B12C, 0x8E44AD, 0x16A085, 0xD35400, 0x7F8C8D};
constexpr uint32_t SkinTones[] = {0xF1C27D, 0xC68642, 0x8D5524, 0xFFDBAC, 0xE0AC69};

constexpr float NearestDepth = 0.1f;

struct Projected {
  float x, y;  // pixels
  float pixelsPerMetre;
  bool visible;
  float depth;
};

Projected Project(const float* camera, float fieldOfViewDegrees, int width, int height, const float point[3]) {
  const float d[3] = {point[0] - camera[12], point[1] - camera[13], point[2] - camera[14]};
  const float side = d[0] * camera[0] + d[1] * camera[1] + d[2] * camera[2];
  const float depth = d[0] * camera[4] + d[1] * camera[5] + d[2] * camera[6];
  const float up = d[0] * camera[8] + d[1] * camera[9] + d[2] * camera[10];
  if (depth < NearestDepth || fieldOfViewDegrees <= 0.0f) return {0, 0, 0, false, depth};
  const float focal = 0.5f * height / std::tan(fieldOfViewDegrees * 3.14159265f / 360.0f);
  const float scale = focal / depth;
  return {0.5f * width + side * scale, 0.5f * height - up * scale, scale, true, depth};
}

// A part to draw, with the depth of the face drawn (for the solid figure's order).
struct Placed {
  FigurePart part;
  float nearest;
};

// The flat marker: an upright rectangle facing the picture around the box centre's
// projection.
bool PlaceFacing(const BodyBox& box, const float* ped, const float* camera, float fieldOfView, int width, int height,
                 Placed& placed) {
  const float centre[3] = {ped[12] + box.centre * ped[8], ped[13] + box.centre * ped[9],
                           ped[14] + box.centre * ped[10]};
  const Projected p = Project(camera, fieldOfView, width, height, centre);
  if (!p.visible) return false;
  const float w = box.halfWidth * p.pixelsPerMetre, h = box.halfHeight * p.pixelsPerMetre;
  placed.part.x0 = static_cast<int>(std::lround(p.x - w));
  placed.part.y0 = static_cast<int>(std::lround(p.y - h));
  placed.part.x1 = static_cast<int>(std::lround(p.x + w));
  placed.part.y1 = static_cast<int>(std::lround(p.y + h));
  placed.nearest = p.depth;
  return true;
}

// The box on the ped's body, by its upright face turned most towards the camera (the
// front, back, right or left one, by where the camera stands around the box): the
// rectangle around that face's four projected corners. Top and bottom faces are left
// out, so that a hat seen from below does not spread over the head under it.
bool PlaceSolid(const BodyBox& box, const float* ped, const float* camera, float fieldOfView, int width, int height,
                Placed& placed) {
  const float centre[3] = {ped[12] + box.forward * ped[4] + box.centre * ped[8],
                           ped[13] + box.forward * ped[5] + box.centre * ped[9],
                           ped[14] + box.forward * ped[6] + box.centre * ped[10]};
  const float d[3] = {camera[12] - centre[0], camera[13] - centre[1], camera[14] - centre[2]};
  const float towardsRight = d[0] * ped[0] + d[1] * ped[1] + d[2] * ped[2];
  const float towardsFront = d[0] * ped[4] + d[1] * ped[5] + d[2] * ped[6];
  // The face: its offset from the box's centre along the ped's right and forward axes,
  // and its half extent across (along the other of the two).
  const bool frontOrBack = std::fabs(towardsFront) >= std::fabs(towardsRight);
  const float sign = (frontOrBack ? towardsFront : towardsRight) >= 0.0f ? 1.0f : -1.0f;
  const float faceRight = frontOrBack ? 0.0f : sign * box.halfWidth;
  const float faceForward = frontOrBack ? sign * box.halfDepth : 0.0f;
  const float acrossRight = frontOrBack ? box.halfWidth : 0.0f;
  const float acrossForward = frontOrBack ? 0.0f : box.halfDepth;

  float x0 = 0, y0 = 0, x1 = 0, y1 = 0, depth = 0;
  for (int corner = 0; corner < 4; ++corner) {
    const float across = corner & 1 ? 1.0f : -1.0f;
    const float right = faceRight + across * acrossRight;
    const float along = faceForward + across * acrossForward;
    const float up = (corner & 2 ? 1.0f : -1.0f) * box.halfHeight;
    float point[3];
    for (int k = 0; k < 3; ++k) point[k] = centre[k] + right * ped[k] + along * ped[4 + k] + up * ped[8 + k];
    const Projected p = Project(camera, fieldOfView, width, height, point);
    if (!p.visible) return false;
    if (corner == 0) {
      x0 = x1 = p.x;
      y0 = y1 = p.y;
    }
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
    depth += 0.25f * p.depth;
  }
  placed.part.x0 = static_cast<int>(std::lround(x0));
  placed.part.y0 = static_cast<int>(std::lround(y0));
  placed.part.x1 = static_cast<int>(std::lround(x1));
  placed.part.y1 = static_cast<int>(std::lround(y1));
  placed.nearest = depth;
  return true;
}

// The side of the player the camera stands on, by the camera's position in the ped's
// own frame.
std::string SideSeen(const float* ped, const float* camera) {
  const float d[3] = {camera[12] - ped[12], camera[13] - ped[13], camera[14] - ped[14]};
  const float right = d[0] * ped[0] + d[1] * ped[1] + d[2] * ped[2];
  const float forward = d[0] * ped[4] + d[1] * ped[5] + d[2] * ped[6];
  if (std::fabs(forward) >= std::fabs(right)) return forward >= 0.0f ? "front" : "back";
  return right >= 0.0f ? "right" : "left";
}

}  // namespace

Figure FigureOnScreen(int width, int height) {
  Figure figure;
  figure.pose = Ped().animation;
  const float* ped = PlayerMatrix();
  const float* camera = CameraObjectMatrix();
  const float fieldOfView = CameraObjectFieldOfView();
  const bool solid = !CameraObjectHoldsHostCamera();
  if (solid) figure.side = SideSeen(ped, camera);

  std::vector<Placed> placed;
  auto add = [&](const BodyBox& box, uint32_t colour, uint32_t stripes) {
    Placed next{{box.name, 0, 0, 0, 0, colour, static_cast<int>(stripes % 8)}, 0.0f};
    const bool visible = solid ? PlaceSolid(box, ped, camera, fieldOfView, width, height, next)
                               : PlaceFacing(box, ped, camera, fieldOfView, width, height, next);
    if (visible) placed.push_back(next);
  };
  auto component = [&](const BodyBox& box, int c, uint32_t salt) {
    const ComponentState& state = Ped().components[c];
    add(box, Palette[(state.drawable + salt) % 8], state.texture);
  };
  auto prop = [&](const BodyBox& box, int anchor, uint32_t salt) {
    const PropState& state = Ped().props[anchor];
    if (state.index >= 0)
      add(box, Palette[(static_cast<uint32_t>(state.index) + salt) % 8], state.texture < 0 ? 0 : state.texture);
  };
  // Component numbers: 0 head, 1 torso, 2 legs, 3 special, 5 feet, 6 jacket, 7 hair;
  // prop anchors: 0 hats, 1 glasses. The salts keep neighbouring slots apart in colour.
  component(Feet, 5, 7);
  component(Legs, 2, 0);
  component(Jacket, 6, 4);
  component(Torso, 1, 1);
  component(Special, 3, 6);
  add(Head, SkinTones[Ped().components[0].drawable % 5], Ped().components[0].texture);
  component(solid ? Hair : HairBand, 7, 3);
  prop(Glasses, 1, 5);
  prop(Hat, 0, 2);

  // The solid figure is drawn farthest first, so that what is nearer the camera covers
  // what lies behind it; the marker keeps the table's order.
  if (solid) {
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.nearest > b.nearest; });
  }
  for (const Placed& entry : placed) figure.parts.push_back(entry.part);
  return figure;
}

}  // namespace sim
