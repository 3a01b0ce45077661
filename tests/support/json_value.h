// A small JSON reader for the simulated host's trace lines: objects, arrays,
// strings, numbers, booleans and null.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0.0;
  std::string text;                                       // strings
  std::vector<JsonValue> items;                           // arrays
  std::vector<std::pair<std::string, JsonValue>> fields;  // objects, in their order

  bool IsNull() const { return kind == Kind::Null; }
  bool Has(const std::string& key) const { return Find(key) != nullptr; }
  const JsonValue* Find(const std::string& key) const;
  // The field of that name, or a null value when there is none.
  const JsonValue& operator[](const std::string& key) const;
  const JsonValue& operator[](const char* key) const { return (*this)[std::string(key)]; }
  // The array item, or a null value past the end.
  const JsonValue& operator[](int index) const;
  size_t Size() const { return kind == Kind::Array ? items.size() : fields.size(); }

  // Strings as they are; numbers in their shortest form (integers without a point);
  // true/false; null as "null"; arrays and objects as JSON.
  std::string Str() const;
  double Num() const { return number; }
  long long Int() const { return static_cast<long long>(number); }
  bool Bool() const { return kind == Kind::Bool ? boolean : number != 0.0; }
  std::string Dump() const;
};

// Parses one JSON text; false (and a message) when it is not valid JSON.
bool ParseJson(const std::string& text, JsonValue* value, std::string* error = nullptr);
