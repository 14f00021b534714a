// A small JSON reader for the constants files the program imports (Materials Project records,
// pymatgen's serialised tensors). It keeps the line of every value, so that a message can name
// where a file goes wrong. Numbers are kept as long double.
//
// Errors are std::runtime_error: "line 3: ..." for text that is no JSON.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tensor/tensor_state.h"

namespace quillmere {

struct JsonValue {
  enum class Type { Null, Boolean, Number, String, Array, Object };
  Type type = Type::Null;
  long long line = 0;  ///< line where the value starts, from 1
  bool boolean = false;
  Real number = 0;
  std::string text;
  std::vector<JsonValue> items;                            ///< array elements
  std::vector<std::pair<std::string, JsonValue>> members;  ///< object members in file order

  /// The member named `key` of an object, nullptr when there is none (or this is no object).
  const JsonValue* Find(const std::string& key) const;

  // Declared here and defaulted below, where the member pairs are complete types: clang will not
  // instantiate the vectors' special members inside the class that the pairs hold.
  JsonValue();
  ~JsonValue();
  JsonValue(const JsonValue&);
  JsonValue(JsonValue&&) noexcept;
  JsonValue& operator=(const JsonValue&);
  JsonValue& operator=(JsonValue&&) noexcept;
};

inline JsonValue::JsonValue() = default;
inline JsonValue::~JsonValue() = default;
inline JsonValue::JsonValue(const JsonValue&) = default;
inline JsonValue::JsonValue(JsonValue&&) noexcept = default;
inline JsonValue& JsonValue::operator=(const JsonValue&) = default;
inline JsonValue& JsonValue::operator=(JsonValue&&) noexcept = default;

/// Parses a whole JSON text (one value, blanks around it). Nesting deeper than 64 levels is
/// refused, so that a hostile file cannot exhaust the stack.
JsonValue ParseJson(const std::string& text);

}  // namespace quillmere
