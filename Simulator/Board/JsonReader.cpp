#include "JsonReader.h"

#include <exception>

namespace zub {

JsonReader::~JsonReader() noexcept(false) {
  if (std::uncaught_exceptions() || allUsed_ || !value_.is_object()) return;
  for (auto& [k, v] : value_.items())
    if (!used_.count(k)) fail(k, "unknown key");
}

bool JsonReader::has(const std::string& key) const { return value_.is_object() && value_.contains(key); }

std::string JsonReader::keyPath(const std::string& key) const {
  return path_.empty() ? key : path_ + "." + key;
}

void JsonReader::fail(const std::string& key, const std::string& message) const {
  throw BoardFileError(key.empty() ? path_ : keyPath(key), message);
}

uint64_t JsonReader::toInteger(const nlohmann::json& v, const std::string& path, uint64_t min, uint64_t max) {
  uint64_t n = 0;
  if (v.is_number_unsigned()) {
    n = v.get<uint64_t>();
  } else if (v.is_number_integer()) {
    if (v.get<int64_t>() < 0) throw BoardFileError(path, "must not be negative");
    n = v.get<uint64_t>();
  } else if (v.is_string()) {
    const std::string s = v.get<std::string>();
    size_t used = 0;
    try {
      n = std::stoull(s, &used, s.rfind("0x", 0) == 0 || s.rfind("0X", 0) == 0 ? 16 : 10);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used == 0 || used != s.size() || s[0] == '-') throw BoardFileError(path, "not an integer: \"" + s + "\"");
  } else {
    throw BoardFileError(path, "expected an integer");
  }
  if (n < min || n > max)
    throw BoardFileError(path, "value " + std::to_string(n) + " out of range " + std::to_string(min) + ".." +
                                   std::to_string(max));
  return n;
}

std::vector<uint8_t> JsonReader::toBytes(const nlohmann::json& v, const std::string& path) {
  std::vector<uint8_t> out;
  if (v.is_string()) {
    std::string hex;
    for (char c : v.get<std::string>()) {
      if (c == ' ' || c == ':' || c == '-') continue;
      if (!std::isxdigit(static_cast<unsigned char>(c))) throw BoardFileError(path, "not a hex byte string");
      hex += c;
    }
    if (hex.size() % 2) throw BoardFileError(path, "odd number of hex digits");
    for (size_t i = 0; i < hex.size(); i += 2) out.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  } else if (v.is_array()) {
    for (size_t i = 0; i < v.size(); ++i)
      out.push_back(static_cast<uint8_t>(toInteger(v[i], path + "[" + std::to_string(i) + "]", 0, 255)));
  } else {
    throw BoardFileError(path, "expected a hex string or an array of bytes");
  }
  return out;
}

uint64_t JsonReader::integer(const std::string& key, uint64_t fallback, uint64_t min, uint64_t max) {
  used_.insert(key);
  if (!has(key)) return fallback;
  return toInteger(value_[key], keyPath(key), min, max);
}

int64_t JsonReader::signedInteger(const std::string& key, int64_t fallback, int64_t min, int64_t max) {
  used_.insert(key);
  if (!has(key)) return fallback;
  const nlohmann::json& v = value_[key];
  int64_t n = (v.is_number_integer() && v.get<int64_t>() < 0)
                  ? v.get<int64_t>()
                  : static_cast<int64_t>(toInteger(v, keyPath(key), 0, uint64_t(INT64_MAX)));
  if (n < min || n > max)
    fail(key, "value " + std::to_string(n) + " out of range " + std::to_string(min) + ".." + std::to_string(max));
  return n;
}

bool JsonReader::boolean(const std::string& key, bool fallback) {
  used_.insert(key);
  if (!has(key)) return fallback;
  if (!value_[key].is_boolean()) fail(key, "expected true or false");
  return value_[key].get<bool>();
}

std::string JsonReader::string(const std::string& key, const std::string& fallback) {
  used_.insert(key);
  if (!has(key)) return fallback;
  if (!value_[key].is_string()) fail(key, "expected a string");
  return value_[key].get<std::string>();
}

std::string JsonReader::choice(const std::string& key, const std::string& fallback,
                               const std::vector<std::string>& allowed) {
  std::string s = string(key, fallback);
  for (const auto& a : allowed)
    if (a == s) return s;
  std::string list;
  for (const auto& a : allowed) list += (list.empty() ? "" : ", ") + a;
  fail(key, "\"" + s + "\" is not one of " + list);
}

std::vector<uint8_t> JsonReader::bytes(const std::string& key) {
  used_.insert(key);
  if (!has(key)) return {};
  return toBytes(value_[key], keyPath(key));
}

JsonReader JsonReader::object(const std::string& key) {
  used_.insert(key);
  static const nlohmann::json empty = nlohmann::json::object();
  if (!has(key)) return JsonReader(empty, keyPath(key));
  if (!value_[key].is_object()) fail(key, "expected an object");
  return JsonReader(value_[key], keyPath(key));
}

void JsonReader::each(const std::string& key, const std::function<void(JsonReader&)>& fn) {
  used_.insert(key);
  if (!has(key)) return;
  if (!value_[key].is_array()) fail(key, "expected an array");
  for (size_t i = 0; i < value_[key].size(); ++i) {
    JsonReader element(value_[key][i], keyPath(key) + "[" + std::to_string(i) + "]");
    fn(element);
  }
}

std::vector<std::string> JsonReader::strings(const std::string& key) {
  used_.insert(key);
  std::vector<std::string> out;
  if (!has(key)) return out;
  if (!value_[key].is_array()) fail(key, "expected an array of strings");
  for (size_t i = 0; i < value_[key].size(); ++i) {
    if (!value_[key][i].is_string()) fail(key + "[" + std::to_string(i) + "]", "expected a string");
    out.push_back(value_[key][i].get<std::string>());
  }
  return out;
}

std::vector<std::pair<std::string, JsonReader>> JsonReader::entries(const std::string& key) {
  used_.insert(key);
  std::vector<std::pair<std::string, JsonReader>> out;
  if (!has(key)) return out;
  if (!value_[key].is_object()) fail(key, "expected an object");
  for (auto& [k, v] : value_[key].items()) {
    out.emplace_back(k, JsonReader(v, keyPath(key) + "." + k));
    out.back().second.markAllUsed();
  }
  return out;
}

}  // namespace zub
