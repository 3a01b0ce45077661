#include "host/plugin_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;
std::size_t logBytes = 0;
bool logFull = false;

constexpr char fullLine[] = "The log is full (256 KB): nothing more is written until the game starts again.";

// "2026-12-11 07:44:30.123  ", the local time as the player's clock shows it.
int TimeStamp(char* text, std::size_t size) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return std::snprintf(text, size, "%04u-%02u-%02u %02u:%02u:%02u.%03u  ", now.wYear, now.wMonth, now.wDay, now.wHour,
                       now.wMinute, now.wSecond, now.wMilliseconds);
}

void WriteBytes(const char* bytes, std::size_t size) {
  DWORD written = 0;
  if (WriteFile(logFile, bytes, static_cast<DWORD>(size), &written, nullptr)) logBytes += written;
}

// The time, the text and CR LF, or, when that would pass the limit, the last line.
void WriteLine(const char* text) {
  char line[2048];
  int stamp = TimeStamp(line, sizeof line);
  if (stamp < 0) stamp = 0;
  std::snprintf(line + stamp, sizeof line - static_cast<std::size_t>(stamp), "%s\r\n", text);
  std::size_t length = std::strlen(line);
  if (length >= 2 && (line[length - 2] != '\r' || line[length - 1] != '\n')) {
    // Cut short by the buffer: end it all the same.
    line[length - 2] = '\r';
    line[length - 1] = '\n';
  }
  constexpr std::size_t fullLineRoom = sizeof fullLine + 32;
  if (logBytes + length + fullLineRoom > PluginLogLimit) {
    std::snprintf(line + stamp, sizeof line - static_cast<std::size_t>(stamp), "%s\r\n", fullLine);
    length = std::strlen(line);
    logFull = true;
  }
  WriteBytes(line, length);
}

}  // namespace

bool StartPluginLog(const std::wstring& path) {
  StopPluginLog();
  // Others may read it while the game runs (a player opening it in an editor).
  logFile =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  logBytes = 0;
  logFull = false;
  return logFile != INVALID_HANDLE_VALUE;
}

void StopPluginLog() {
  if (logFile != INVALID_HANDLE_VALUE) CloseHandle(logFile);
  logFile = INVALID_HANDLE_VALUE;
}

bool PluginLogOpen() { return logFile != INVALID_HANDLE_VALUE; }

void LogLine(const char* format, ...) {
  if (logFile == INVALID_HANDLE_VALUE || logFull) return;
  // Formatting may run where the caller's last Windows error still matters.
  const DWORD lastError = GetLastError();
  char text[1536];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  WriteLine(text);
  SetLastError(lastError);
}

std::string WindowsErrorText(unsigned long code) {
  wchar_t text[512];
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, 512, nullptr);
  std::string result;
  try {
    char utf8[1024];
    const int bytes = length == 0 ? 0
                                  : WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8, sizeof utf8,
                                                        nullptr, nullptr);
    result.assign(utf8, bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    // One line: line breaks become spaces, and trailing spaces go.
    for (char& c : result) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    while (!result.empty() && result.back() == ' ') result.pop_back();
  } catch (...) {
    result.clear();
  }
  return result;
}
