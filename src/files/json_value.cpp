#include "files/json_value.h"

#include <cctype>
#include <stdexcept>

#include "tensor/number_text.h"

namespace quillmere {

namespace {

constexpr int kMaxDepth = 64;

class JsonParser {
 public:
  explicit JsonParser(const std::string& text) : s_(text) {}

  JsonValue Document() {
    JsonValue v = Value(0);
    Blanks();
    if (p_ < s_.size()) Fail("unexpected text after the end of the JSON value");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("line " + std::to_string(line_) + ": " + what);
  }

  void Blanks() {
    while (p_ < s_.size()) {
      const char c = s_[p_];
      if (c == '\n')
        ++line_;
      else if (c != ' ' && c != '\t' && c != '\r')
        break;
      ++p_;
    }
  }

  void Expect(char c) {
    Blanks();
    if (p_ >= s_.size() || s_[p_] != c) Fail(std::string("'") + c + "' expected");
    ++p_;
  }

  JsonValue Value(int depth) {
    if (depth > kMaxDepth) Fail("nested deeper than " + std::to_string(kMaxDepth) + " levels");
    Blanks();
    if (p_ >= s_.size()) Fail("the text ends where a value is expected");
    JsonValue v;
    v.line = line_;
    const char c = s_[p_];
    if (c == '{') {
      v.type = JsonValue::Type::Object;
      ++p_;
      Blanks();
      if (p_ < s_.size() && s_[p_] == '}') {
        ++p_;
        return v;
      }
      for (;;) {
        Blanks();
        if (p_ >= s_.size() || s_[p_] != '"') Fail("a quoted key expected");
        std::string key = String();
        Expect(':');
        v.members.emplace_back(std::move(key), Value(depth + 1));
        Blanks();
        if (p_ < s_.size() && s_[p_] == ',') {
          ++p_;
          continue;
        }
        Expect('}');
        return v;
      }
    }
    if (c == '[') {
      v.type = JsonValue::Type::Array;
      ++p_;
      Blanks();
      if (p_ < s_.size() && s_[p_] == ']') {
        ++p_;
        return v;
      }
      for (;;) {
        v.items.push_back(Value(depth + 1));
        Blanks();
        if (p_ < s_.size() && s_[p_] == ',') {
          ++p_;
          continue;
        }
        Expect(']');
        return v;
      }
    }
    if (c == '"') {
      v.type = JsonValue::Type::String;
      v.text = String();
      return v;
    }
    std::string word;
    while (p_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[p_])) || s_[p_] == '-' ||
                              s_[p_] == '+' || s_[p_] == '.'))
      word += s_[p_++];
    if (word == "true" || word == "false") {
      v.type = JsonValue::Type::Boolean;
      v.boolean = word == "true";
    } else if (word == "null") {
      v.type = JsonValue::Type::Null;
    } else if (!word.empty() &&
               (word[0] == '-' || std::isdigit(static_cast<unsigned char>(word[0]))) &&
               TryParseReal(word, v.number)) {
      v.type = JsonValue::Type::Number;
    } else if (word == "NaN" || word == "Infinity" || word == "-Infinity") {
      Fail("'" + word + "' is not a number JSON allows");
    } else {
      Fail(word.empty() ? std::string("unexpected '") + c + "'"
                        : "'" + word + "' is no JSON value");
    }
    return v;
  }

  std::string String() {
    ++p_;  // the opening quote
    std::string out;
    while (p_ < s_.size() && s_[p_] != '"') {
      char c = s_[p_++];
      if (c == '\n') Fail("a string runs past the end of its line");
      if (c == '\\') {
        if (p_ >= s_.size()) break;
        const char e = s_[p_++];
        switch (e) {
          case 'n':
            c = '\n';
            break;
          case 't':
            c = '\t';
            break;
          case 'r':
            c = '\r';
            break;
          case 'b':
            c = '\b';
            break;
          case 'f':
            c = '\f';
            break;
          case 'u':
            // Keys and texts of the files read here are ASCII; an escaped character is kept as
            // a placeholder rather than decoded.
            if (p_ + 4 > s_.size()) Fail("a \\u escape is cut short");
            p_ += 4;
            c = '?';
            break;
          default:
            c = e;
            break;
        }
      }
      out += c;
    }
    if (p_ >= s_.size()) Fail("a string is not closed");
    ++p_;
    return out;
  }

  const std::string& s_;
  std::size_t p_ = 0;
  long long line_ = 1;
};

}  // namespace

const JsonValue* JsonValue::Find(const std::string& key) const {
  if (type != Type::Object) return nullptr;
  for (const auto& [name, value] : members)
    if (name == key) return &value;
  return nullptr;
}

JsonValue ParseJson(const std::string& text) {
  return JsonParser(text).Document();
}

}  // namespace quillmere
