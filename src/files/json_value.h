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
};

/// Parses a whole JSON text (one value, blanks around it). Nesting deeper than 64 levels is
/// refused, so that a hostile file cannot exhaust the stack.
JsonValue ParseJson(const std::string& text);

}  // namespace quillmere
