// Wardrobe.ini, the player's settings, beside the plug-in's own file: keys of their
// own for the menu and the repeat times of a held direction. Read once at start-up
// with our INI reader; the plug-in never writes it and it never holds outfits.
//
//   [Keys]   Up, Down, Left, Right, Accept = one or more keys, separated by commas
//   [Menu]   RepeatDelay, RepeatInterval = seconds of game time
//
// A missing file means the defaults. A line that cannot be used keeps that setting's
// default and is written to the log with its number and why.
#pragma once
#include <string>

// The repeat times a player may set, in seconds. RepeatDelay 0 turns repeating off.
constexpr double MaxRepeatDelay = 5.0;
constexpr double MinRepeatInterval = 0.02;
constexpr double MaxRepeatInterval = 5.0;

// Reads the settings at path (a wide path, as Windows gives the plug-in's own) into
// MenuKeys and names the player's own keys in the menu's help texts; logs the
// settings in force. Never throws.
void LoadSettings(const std::wstring& path);
