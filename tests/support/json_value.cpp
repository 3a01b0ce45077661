#include "support/json_value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sim/trace.h"

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : text(text) {}

  bool Parse(JsonValue* value, std::string* error) {
    bool ok = Value(value, 0);
    Space();
    if (ok && at != text.size()) ok = Fail("text after the value");
    if (!ok && error) *error = message + " at " + std::to_string(at);
    return ok;
  }

 private:
  const std::string& text;
  size_t at = 0;
  std::string message;

  bool Fail(const char* what) {
    if (message.empty()) message = what;
    return false;
  }

  void Space() {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) ++at;
  }

  bool Literal(const char* word) {
    std::string w(word);
    if (text.compare(at, w.size(), w) != 0) return Fail("unknown literal");
    at += w.size();
    return true;
  }

  bool Value(JsonValue* value, int depth) {
    if (depth > 64) return Fail("nested too deeply");
    Space();
    if (at >= text.size()) return Fail("unexpected end");
    char c = text[at];
    if (c == '{') return Object(value, depth);
    if (c == '[') return Array(value, depth);
    if (c == '"') {
      value->kind = JsonValue::Kind::String;
      return String(&value->text);
    }
    if (c == 't') {
      value->kind = JsonValue::Kind::Bool;
      value->boolean = true;
      return Literal("true");
    }
    if (c == 'f') {
      value->kind = JsonValue::Kind::Bool;
      return Literal("false");
    }
    if (c == 'n') {
      value->kind = JsonValue::Kind::Null;
      return Literal("null");
    }
    return Number(value);
  }

  bool Number(JsonValue* value) {
    size_t start = at;
    if (at < text.size() && text[at] == '-') ++at;
    if (at >= text.size() || !isdigit(static_cast<unsigned char>(text[at]))) return Fail("bad number");
    while (at < text.size() && (isdigit(static_cast<unsigned char>(text[at])) || text[at] == '.' || text[at] == 'e' ||
                                text[at] == 'E' || text[at] == '+' || text[at] == '-')) {
      ++at;
    }
    std::string digits = text.substr(start, at - start);
    char* end = nullptr;
    value->kind = JsonValue::Kind::Number;
    value->number = std::strtod(digits.c_str(), &end);
    return *end == '\0' || Fail("bad number");
  }

  static void AppendUtf8(std::string* out, unsigned point) {
    if (point < 0x80) {
      *out += static_cast<char>(point);
    } else if (point < 0x800) {
      *out += static_cast<char>(0xC0 | point >> 6);
      *out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
      *out += static_cast<char>(0xE0 | point >> 12);
      *out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
      *out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
      *out += static_cast<char>(0xF0 | point >> 18);
      *out += static_cast<char>(0x80 | (point >> 12 & 0x3F));
      *out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
      *out += static_cast<char>(0x80 | (point & 0x3F));
    }
  }

  bool Hex4(unsigned* point) {
    if (at + 4 > text.size()) return Fail("short \\u escape");
    *point = 0;
    for (int i = 0; i < 4; ++i) {
      char c = text[at++];
      *point <<= 4;
      if (c >= '0' && c <= '9')
        *point |= c - '0';
      else if (c >= 'a' && c <= 'f')
        *point |= c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        *point |= c - 'A' + 10;
      else
        return Fail("bad \\u escape");
    }
    return true;
  }

  bool String(std::string* out) {
    ++at;  // opening quote
    while (at < text.size()) {
      char c = text[at++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (at >= text.size()) break;
      char e = text[at++];
      switch (e) {
        case '"': *out += '"'; break;
        case '\\': *out += '\\'; break;
        case '/': *out += '/'; break;
        case 'b': *out += '\b'; break;
        case 'f': *out += '\f'; break;
        case 'n': *out += '\n'; break;
        case 'r': *out += '\r'; break;
        case 't': *out += '\t'; break;
        case 'u': {
          unsigned point;
          if (!Hex4(&point)) return false;
          if (point >= 0xD800 && point < 0xDC00 && text.compare(at, 2, "\\u") == 0) {
            at += 2;
            unsigned low;
            if (!Hex4(&low)) return false;
            point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
          }
          AppendUtf8(out, point);
          break;
        }
        default: return Fail("bad escape");
      }
    }
    return Fail("unterminated string");
  }

  bool Array(JsonValue* value, int depth) {
    value->kind = JsonValue::Kind::Array;
    ++at;
    Space();
    if (at < text.size() && text[at] == ']') {
      ++at;
      return true;
    }
    while (true) {
      value->items.emplace_back();
      if (!Value(&value->items.back(), depth + 1)) return false;
      Space();
      if (at < text.size() && text[at] == ',') {
        ++at;
        continue;
      }
      if (at < text.size() && text[at] == ']') {
        ++at;
        return true;
      }
      return Fail("expected , or ]");
    }
  }

  bool Object(JsonValue* value, int depth) {
    value->kind = JsonValue::Kind::Object;
    ++at;
    Space();
    if (at < text.size() && text[at] == '}') {
      ++at;
      return true;
    }
    while (true) {
      Space();
      if (at >= text.size() || text[at] != '"') return Fail("expected a key");
      std::string key;
      if (!String(&key)) return false;
      Space();
      if (at >= text.size() || text[at] != ':') return Fail("expected :");
      ++at;
      value->fields.emplace_back(key, JsonValue());
      if (!Value(&value->fields.back().second, depth + 1)) return false;
      Space();
      if (at < text.size() && text[at] == ',') {
        ++at;
        continue;
      }
      if (at < text.size() && text[at] == '}') {
        ++at;
        return true;
      }
      return Fail("expected , or }");
    }
  }
};

const JsonValue& NullValue() {
  static const JsonValue null;
  return null;
}

}  // namespace

const JsonValue* JsonValue::Find(const std::string& key) const {
  if (kind != Kind::Object) return nullptr;
  for (const auto& field : fields) {
    if (field.first == key) return &field.second;
  }
  return nullptr;
}

const JsonValue& JsonValue::operator[](const std::string& key) const {
  const JsonValue* value = Find(key);
  return value ? *value : NullValue();
}

const JsonValue& JsonValue::operator[](int index) const {
  return kind == Kind::Array && index >= 0 && static_cast<size_t>(index) < items.size() ? items[index] : NullValue();
}

std::string JsonValue::Str() const {
  switch (kind) {
    case Kind::String: return text;
    case Kind::Number: {
      char buffer[32];
      if (std::floor(number) == number && std::fabs(number) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", number);
      } else {
        std::snprintf(buffer, sizeof buffer, "%.9g", number);
      }
      return buffer;
    }
    case Kind::Bool: return boolean ? "true" : "false";
    case Kind::Null: return "null";
    default: return Dump();
  }
}

std::string JsonValue::Dump() const {
  switch (kind) {
    case Kind::String: return sim::JsonString(text);
    case Kind::Array: {
      std::string out = "[";
      for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i].Dump();
      return out + "]";
    }
    case Kind::Object: {
      std::string out = "{";
      for (size_t i = 0; i < fields.size(); ++i)
        out += (i ? "," : "") + sim::JsonString(fields[i].first) + ":" + fields[i].second.Dump();
      return out + "}";
    }
    default: return Str();
  }
}

bool ParseJson(const std::string& text, JsonValue* value, std::string* error) {
  *value = JsonValue();
  return Parser(text).Parse(value, error);
}
