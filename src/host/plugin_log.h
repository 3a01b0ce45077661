// The plug-in's log, Wardrobe.log beside its own file: what it found at start-up and
// what went wrong later, for the player and whoever helps them. Written afresh at
// each start, line by line straight to the file (a crash loses nothing written), each
// line headed by the local time. Nothing is written on a plain frame.
#pragma once
#include <cstddef>
#include <string>

// No run writes more than this; the line that would pass it is replaced by one last
// line saying so.
constexpr std::size_t PluginLogLimit = 256 * 1024;

// Creates the log at path, replacing the one of an earlier run. False when it cannot
// be written (a read-only folder, a folder of that name): every line is then dropped
// and nothing else changes.
bool StartPluginLog(const std::wstring& path);
// Closes the log; later lines are dropped (tests start logs of their own).
void StopPluginLog();
bool PluginLogOpen();

// One line, formatted as printf does; the time and the line end are added. Never
// throws.
void LogLine(const char* format, ...);

// Windows' own text for an error code, on one line ("The process cannot access the
// file because it is being used by another process."); "" when it has none.
std::string WindowsErrorText(unsigned long code);
