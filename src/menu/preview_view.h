// The sides the preview can show the player from, chosen on the menu's "View" row: the
// player is turned so that the camera, which stays in front, sees that side, or the
// camera moves nearer to the head or to the feet.
#pragma once
#include <cstdint>

enum class PreviewView : int32_t { Front, Right, Back, Left, Head, Feet };
constexpr uint32_t PreviewViewCount = 6;

// The value shown on the "View" row.
const char* PreviewViewName(PreviewView view);
// Degrees added to the site's heading: 0, 90, 180 or 270 (0 for Head and Feet).
float PreviewViewTurn(PreviewView view);
// Head and Feet: how far the camera moves along its line of sight towards the player,
// and how far up (negative: down) along its up axis, from where Front puts it. Both 0
// for the other views.
float PreviewViewCloser(PreviewView view);
float PreviewViewRise(PreviewView view);
