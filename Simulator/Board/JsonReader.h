// Strict reading of the board file: every value is type- and range-checked, every key
// must be known, and an error names the key by its path ("bmc.fail_first", "pci[2].bars").
#pragma once
#include <cstdint>
#include <optional>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zub {

struct BoardFileError : std::runtime_error {
  BoardFileError(const std::string& key, const std::string& message)
      : std::runtime_error(key + ": " + message), key(key) {}
  std::string key;
};

class JsonReader {
public:
  JsonReader(const nlohmann::json& value, std::string path) : value_(value), path_(std::move(path)) {}
  JsonReader(const JsonReader&) = delete;
  JsonReader(JsonReader&& other) noexcept
      : value_(other.value_), path_(std::move(other.path_)), used_(std::move(other.used_)), allUsed_(other.allUsed_) {
    other.allUsed_ = true;   // the moved-from reader checks nothing
  }
  ~JsonReader() noexcept(false);   // checks for unknown keys unless already failing

  const std::string& path() const { return path_; }
  const nlohmann::json& value() const { return value_; }
  bool has(const std::string& key) const;
  std::string keyPath(const std::string& key) const;
  [[noreturn]] void fail(const std::string& key, const std::string& message) const;

  // Integers may be JSON numbers or strings "0x..."/decimal.
  uint64_t integer(const std::string& key, uint64_t fallback, uint64_t min, uint64_t max);
  // A signed integer: a JSON number (negative allowed) or a string as integer() takes it.
  int64_t signedInteger(const std::string& key, int64_t fallback, int64_t min, int64_t max);
  bool boolean(const std::string& key, bool fallback);
  std::string string(const std::string& key, const std::string& fallback);
  std::string choice(const std::string& key, const std::string& fallback, const std::vector<std::string>& allowed);
  // Bytes: a string of hex pairs ("5B 4E 00"), or an array of integers 0-255.
  std::vector<uint8_t> bytes(const std::string& key);
  JsonReader object(const std::string& key);                    // a missing key reads as {}
  // Calls fn(reader) for each element of an array (a missing key reads as []). Each
  // element's reader checks its own keys when fn returns.
  void each(const std::string& key, const std::function<void(JsonReader&)>& fn);
  std::vector<std::string> strings(const std::string& key);
  // Reads an object whose keys are free (maps): each (key, value) pair.
  std::vector<std::pair<std::string, JsonReader>> entries(const std::string& key);
  void markAllUsed() { allUsed_ = true; }

  // Helpers for values that are not under a key (array elements, map values).
  static uint64_t toInteger(const nlohmann::json& v, const std::string& path, uint64_t min, uint64_t max);
  static std::vector<uint8_t> toBytes(const nlohmann::json& v, const std::string& path);

private:
  const nlohmann::json& value_;
  std::string path_;
  std::set<std::string> used_;
  bool allUsed_ = false;
};

}  // namespace zub
