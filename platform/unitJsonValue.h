#pragma once
// JSON text read into values, with the members of each object kept in the order the text
// gives them (Qt's JSON objects sort theirs, and an atlas's frame order is its key order).
// Bounded for text from outside: nesting, and the count of values, which bounds the memory
// the values take.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class EJsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TJsonValue {
 public:
  enum class TKind { Null, Bool, Number, String, Array, Object };

  TKind Kind = TKind::Null;
  bool Bool = false;
  double Number = 0;
  std::string Text;
  std::vector<TJsonValue> Items;   // an array's elements, an object's member values
  std::vector<std::string> Names;  // an object's member names, one per item

  // The first member named Name, or null for none or when this is no object.
  const TJsonValue* Member(std::string_view Name) const;
};

constexpr int MaxJsonDepth = 32;
constexpr std::size_t MaxJsonValues = std::size_t(1) << 21;

// Raises EJsonError, naming the byte offset, for text that is not one JSON value (RFC 8259)
// or passes the bounds.
TJsonValue ParseJson(std::string_view Text);
