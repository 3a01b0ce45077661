#include "sim/trace.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace sim {

namespace {
FILE* traceFile = nullptr;
}

bool OpenTrace(const std::string& path) {
  CloseTrace();
  traceFile = std::fopen(path.c_str(), "wb");
  return traceFile != nullptr;
}

void CloseTrace() {
  if (traceFile) std::fclose(traceFile);
  traceFile = nullptr;
}

bool TraceOpen() { return traceFile != nullptr; }

void WriteTraceLine(const std::string& json) {
  if (!traceFile) return;
  std::fwrite(json.data(), 1, json.size(), traceFile);
  std::fputc('\n', traceFile);
  std::fflush(traceFile);
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string JsonNumber(double number) {
  // JSON has no NaN or infinity: those become strings.
  if (std::isnan(number)) return "\"nan\"";
  if (std::isinf(number)) return number > 0 ? "\"inf\"" : "\"-inf\"";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.9g", number);
  return buffer;
}

std::string HexText(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", value);
  return buffer;
}

std::string OffsetText(uint32_t offset) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%X", offset);
  return buffer;
}

void JsonObject::Key(const char* key) {
  if (body.size() > 1) body += ",";
  body += JsonString(key);
  body += ":";
}

JsonObject& JsonObject::Field(const char* key, const std::string& text) {
  Key(key);
  body += JsonString(text);
  return *this;
}

JsonObject& JsonObject::Field(const char* key, long long number) {
  Key(key);
  body += std::to_string(number);
  return *this;
}

JsonObject& JsonObject::Field(const char* key, double number) {
  Key(key);
  body += JsonNumber(number);
  return *this;
}

JsonObject& JsonObject::Field(const char* key, bool value) {
  Key(key);
  body += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::RawField(const char* key, const std::string& json) {
  Key(key);
  body += json;
  return *this;
}

}  // namespace sim
