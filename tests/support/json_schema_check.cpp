#include "support/json_schema_check.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

namespace zul00500::testing {

namespace {

struct Json {
  enum class Kind { Null, Boolean, Number, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text; // a string's value, or a number as written
  std::vector<Json> items;
  std::map<std::string, Json> members;
};

class Parser {
public:
  explicit Parser(std::string_view text) : text_(text) {}

  Json Whole() {
    Json value = Value();
    Blanks();
    if (at_ != text_.size()) Fail("text after the value");
    return value;
  }

private:
  [[noreturn]] void Fail(const std::string& why) const {
    throw std::runtime_error("not JSON at offset " + std::to_string(at_) + ": " + why);
  }
  void Blanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n'))
      ++at_;
  }
  bool Take(char c) {
    Blanks();
    if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
    return false;
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  Json Value() {
    Blanks();
    Json value;
    if (at_ >= text_.size()) Fail("a value is missing");
    const char c = text_[at_];
    if (c == '{') {
      value.kind = Json::Kind::Object;
      ++at_;
      if (Take('}')) return value;
      do {
        Blanks();
        const std::string key = String();
        if (!Take(':')) Fail("':' expected");
        value.members[key] = Value();
      } while (Take(','));
      if (!Take('}')) Fail("'}' expected");
    } else if (c == '[') {
      value.kind = Json::Kind::Array;
      ++at_;
      if (Take(']')) return value;
      do value.items.push_back(Value());
      while (Take(','));
      if (!Take(']')) Fail("']' expected");
    } else if (c == '"') {
      value.kind = Json::Kind::String;
      value.text = String();
    } else if (Word("true") || Word("false")) {
      value.kind = Json::Kind::Boolean;
      value.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
    } else if (Word("null")) {
    } else {
      const std::size_t start = at_;
      while (at_ < text_.size() &&
             std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos)
        ++at_;
      if (at_ == start) Fail("unexpected character");
      value.kind = Json::Kind::Number;
      value.text = std::string(text_.substr(start, at_ - start));
      value.number = std::strtod(value.text.c_str(), nullptr);
    }
    return value;
  }

  std::string String() {
    if (at_ >= text_.size() || text_[at_] != '"') Fail("a string expected");
    ++at_;
    std::string out;
    for (;;) {
      if (at_ >= text_.size()) Fail("a string without its end");
      const char c = text_[at_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      const char e = text_[at_++];
      switch (e) {
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'u': {
        unsigned long code = std::strtoul(std::string(text_.substr(at_, 4)).c_str(), nullptr, 16);
        at_ += 4;
        if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
          const unsigned long low = std::strtoul(std::string(text_.substr(at_ + 2, 4)).c_str(), nullptr, 16);
          at_ += 6;
          code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        Utf8(code, out);
        break;
      }
      default:
        out += e;
      }
    }
  }

  static void Utf8(unsigned long code, std::string& out) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

bool same(const Json& a, const Json& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
  case Json::Kind::Null:
    return true;
  case Json::Kind::Boolean:
    return a.boolean == b.boolean;
  case Json::Kind::Number:
    return a.number == b.number;
  case Json::Kind::String:
    return a.text == b.text;
  case Json::Kind::Array:
    if (a.items.size() != b.items.size()) return false;
    for (std::size_t i = 0; i < a.items.size(); ++i)
      if (!same(a.items[i], b.items[i])) return false;
    return true;
  case Json::Kind::Object:
    if (a.members.size() != b.members.size()) return false;
    for (const auto& [key, value] : a.members)
      if (!b.members.count(key) || !same(value, b.members.at(key))) return false;
    return true;
  }
  return false;
}

bool has_type(const Json& value, const std::string& type) {
  switch (value.kind) {
  case Json::Kind::Null:
    return type == "null";
  case Json::Kind::Boolean:
    return type == "boolean";
  case Json::Kind::Number:
    return type == "number" || (type == "integer" && std::floor(value.number) == value.number);
  case Json::Kind::String:
    return type == "string";
  case Json::Kind::Array:
    return type == "array";
  case Json::Kind::Object:
    return type == "object";
  }
  return false;
}

class Validator {
public:
  explicit Validator(const Json& root) : root_(root) {}

  void Check(const Json& schema, const Json& value, const std::string& where) {
    if (schema.kind == Json::Kind::Boolean) {
      if (!schema.boolean) Say(where, "no value is allowed here");
      return;
    }
    if (schema.kind != Json::Kind::Object) return Say(where, "the schema here is not an object");
    static const std::set<std::string> kKnown = {"$schema",     "$id",      "title",
                                                 "description", "$defs",    "type",
                                                 "properties",  "required", "additionalProperties",
                                                 "items",       "enum",     "const",
                                                 "minimum",     "$ref"};
    for (const auto& [keyword, _] : schema.members)
      if (!kKnown.count(keyword)) Say(where, "the schema uses the unknown keyword " + keyword);
    const auto get = [&](const char* keyword) -> const Json* {
      const auto found = schema.members.find(keyword);
      return found == schema.members.end() ? nullptr : &found->second;
    };
    if (const Json* ref = get("$ref")) {
      const std::string prefix = "#/$defs/";
      const auto defs = root_.members.find("$defs");
      if (ref->text.rfind(prefix, 0) != 0 || defs == root_.members.end() ||
          !defs->second.members.count(ref->text.substr(prefix.size())))
        return Say(where, "the schema's $ref " + ref->text + " leads nowhere");
      Check(defs->second.members.at(ref->text.substr(prefix.size())), value, where);
    }
    if (const Json* type = get("type"); type && !has_type(value, type->text))
      return Say(where, "not of type " + type->text);
    if (const Json* one = get("const"); one && !same(*one, value)) Say(where, "not the constant");
    if (const Json* choices = get("enum")) {
      bool found = false;
      for (const Json& choice : choices->items) found = found || same(choice, value);
      if (!found) Say(where, "not one of the enum: " + (value.kind == Json::Kind::String ? value.text : "?"));
    }
    if (const Json* minimum = get("minimum");
        minimum && value.kind == Json::Kind::Number && value.number < minimum->number)
      Say(where, "below the minimum");
    if (value.kind == Json::Kind::Object) Members(schema, value, where);
    if (const Json* items = get("items"); items && value.kind == Json::Kind::Array)
      for (std::size_t i = 0; i < value.items.size(); ++i)
        Check(*items, value.items[i], where + "/" + std::to_string(i));
  }

  std::vector<std::string> violations;

private:
  void Members(const Json& schema, const Json& value, const std::string& where) {
    const auto properties = schema.members.find("properties");
    if (const auto required = schema.members.find("required"); required != schema.members.end())
      for (const Json& name : required->second.items)
        if (!value.members.count(name.text)) Say(where, "lacks the required " + name.text);
    const auto additional = schema.members.find("additionalProperties");
    for (const auto& [key, member] : value.members) {
      if (properties != schema.members.end() && properties->second.members.count(key))
        Check(properties->second.members.at(key), member, where + "/" + key);
      else if (additional != schema.members.end()) Check(additional->second, member, where + "/" + key);
    }
  }

  void Say(const std::string& where, const std::string& what) {
    violations.push_back((where.empty() ? "/" : where) + ": " + what);
  }

  const Json& root_;
};

} // namespace

std::vector<std::string> SchemaViolations(std::string_view schema, std::string_view document) {
  try {
    const Json root = Parser(schema).Whole();
    const Json value = Parser(document).Whole();
    Validator validator(root);
    validator.Check(root, value, "");
    return validator.violations;
  } catch (const std::exception& error) {
    return {error.what()};
  }
}

} // namespace zul00500::testing
