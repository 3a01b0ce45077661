// The player's figure: each slot a box on the ped's body, its colour from the drawable
// and its bands from the texture, so that every change the wardrobe makes shows in a
// picture. It is a test-bed drawing, not a renderer: boxes stay upright and face the
// camera, and nothing hides anything but what is drawn later.
#include "sim/figure.h"

#include <cmath>

#include "sim/host_state.h"
#include "sim/ped_model.h"

namespace sim {

namespace {

// A part of the body in the ped's own frame: centre height above the ped's position
// (the middle of the body, as in the host: feet a metre below it), half height and
// half width, in metres.
struct BodyBox {
  const char* name;
  float centre;
  float halfHeight;
  float halfWidth;
};

// Drawing order: what lies on top comes later (the shirt over the open jacket, hair,
// glasses and hat over the head).
constexpr BodyBox Feet{"feet", -0.95f, 0.05f, 0.17f};
constexpr BodyBox Legs{"legs", -0.48f, 0.42f, 0.15f};
constexpr BodyBox Jacket{"jacket", 0.22f, 0.32f, 0.25f};
constexpr BodyBox Torso{"torso", 0.20f, 0.28f, 0.12f};
constexpr BodyBox Special{"special", -0.07f, 0.04f, 0.19f};
constexpr BodyBox Head{"head", 0.62f, 0.12f, 0.10f};
constexpr BodyBox Hair{"hair", 0.75f, 0.04f, 0.11f};
constexpr BodyBox Glasses{"glasses", 0.64f, 0.025f, 0.09f};
constexpr BodyBox Hat{"hat", 0.84f, 0.06f, 0.14f};

// Clothing colours by drawable, skin tones for heads.
constexpr uint32_t Palette[] = {0x3B5BA5, 0xC0392B, 0x27AE60, 0xE1B12C, 0x8E44AD, 0x16A085, 0xD35400, 0x7F8C8D};
constexpr uint32_t SkinTones[] = {0xF1C27D, 0xC68642, 0x8D5524, 0xFFDBAC, 0xE0AC69};

struct Projected {
  float x, y;  // pixels
  float pixelsPerMetre;
  bool visible;
};

Projected Project(const float* camera, float fieldOfViewDegrees, int width, int height, const float point[3]) {
  const float d[3] = {point[0] - camera[12], point[1] - camera[13], point[2] - camera[14]};
  const float side = d[0] * camera[0] + d[1] * camera[1] + d[2] * camera[2];
  const float depth = d[0] * camera[4] + d[1] * camera[5] + d[2] * camera[6];
  const float up = d[0] * camera[8] + d[1] * camera[9] + d[2] * camera[10];
  if (depth < 0.1f || fieldOfViewDegrees <= 0.0f) return {0, 0, 0, false};
  const float focal = 0.5f * height / std::tan(fieldOfViewDegrees * 3.14159265f / 360.0f);
  const float scale = focal / depth;
  return {0.5f * width + side * scale, 0.5f * height - up * scale, scale, true};
}

}  // namespace

Figure FigureOnScreen(int width, int height) {
  Figure figure;
  figure.pose = Ped().animation;
  const float* ped = PlayerMatrix();
  const float* camera = CameraObjectMatrix();
  auto add = [&](const BodyBox& box, uint32_t colour, uint32_t stripes) {
    const float centre[3] = {ped[12] + box.centre * ped[8], ped[13] + box.centre * ped[9],
                             ped[14] + box.centre * ped[10]};
    const Projected p = Project(camera, CameraObjectFieldOfView(), width, height, centre);
    if (!p.visible) return;
    const float w = box.halfWidth * p.pixelsPerMetre, h = box.halfHeight * p.pixelsPerMetre;
    figure.parts.push_back({box.name, static_cast<int>(std::lround(p.x - w)), static_cast<int>(std::lround(p.y - h)),
                            static_cast<int>(std::lround(p.x + w)), static_cast<int>(std::lround(p.y + h)), colour,
                            static_cast<int>(stripes % 8)});
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
  component(Hair, 7, 3);
  prop(Glasses, 1, 5);
  prop(Hat, 0, 2);
  return figure;
}

}  // namespace sim
