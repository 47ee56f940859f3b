#include "platform/unitJsonValue.h"

#include <charconv>
#include <cstdint>

namespace {

class TJsonParser {
 public:
  explicit TJsonParser(std::string_view Text) : FText(Text) {}

  TJsonValue ParseDocument() {
    TJsonValue Value = ParseValue(0);
    SkipSpace();
    if (FAt != FText.size()) Fail("text after the value");
    return Value;
  }

 private:
  [[noreturn]] void Fail(const std::string& What) const {
    throw EJsonError("Not valid JSON at byte " + std::to_string(FAt) + ": " + What);
  }

  void SkipSpace() {
    while (FAt < FText.size() &&
           (FText[FAt] == ' ' || FText[FAt] == '\t' || FText[FAt] == '\n' || FText[FAt] == '\r'))
      ++FAt;
  }

  char Peek() {
    SkipSpace();
    if (FAt == FText.size()) Fail("the text ends early");
    return FText[FAt];
  }

  void Expect(char C) {
    if (Peek() != C) Fail(std::string("expected '") + C + "'");
    ++FAt;
  }

  bool TakeWord(std::string_view Word) {
    if (FText.substr(FAt, Word.size()) != Word) return false;
    FAt += Word.size();
    return true;
  }

  TJsonValue ParseValue(int Depth) {
    if (Depth > MaxJsonDepth) Fail("nested deeper than " + std::to_string(MaxJsonDepth));
    if (++FValues > MaxJsonValues) Fail("more than " + std::to_string(MaxJsonValues) + " values");
    TJsonValue Value;
    const char C = Peek();
    if (C == '{') {
      Value.Kind = TJsonValue::TKind::Object;
      ParseList('}', [&] {
        Value.Names.push_back(ParseString());
        Expect(':');
        Value.Items.push_back(ParseValue(Depth + 1));
      });
    } else if (C == '[') {
      Value.Kind = TJsonValue::TKind::Array;
      ParseList(']', [&] { Value.Items.push_back(ParseValue(Depth + 1)); });
    } else if (C == '"') {
      Value.Kind = TJsonValue::TKind::String;
      Value.Text = ParseString();
    } else if (TakeWord("true") || TakeWord("false")) {
      Value.Kind = TJsonValue::TKind::Bool;
      Value.Bool = C == 't';
    } else if (TakeWord("null")) {
    } else {
      Value.Kind = TJsonValue::TKind::Number;
      Value.Number = ParseNumber();
    }
    return Value;
  }

  template <class TItem>
  void ParseList(char Close, TItem Item) {
    ++FAt;
    if (Peek() == Close) {
      ++FAt;
      return;
    }
    for (;;) {
      Item();
      if (Peek() == Close) {
        ++FAt;
        return;
      }
      Expect(',');
    }
  }

  double ParseNumber() {
    // from_chars takes what JSON forbids too ("inf", "+1", "01", ".5"): the grammar first.
    const std::size_t Start = FAt;
    auto Digits = [&] {
      const std::size_t First = FAt;
      while (FAt < FText.size() && FText[FAt] >= '0' && FText[FAt] <= '9') ++FAt;
      if (FAt == First) Fail("expected a digit");
    };
    if (FText[FAt] == '-') ++FAt;
    if (FAt < FText.size() && FText[FAt] == '0')
      ++FAt;
    else
      Digits();
    if (FAt < FText.size() && FText[FAt] == '.') {
      ++FAt;
      Digits();
    }
    if (FAt < FText.size() && (FText[FAt] == 'e' || FText[FAt] == 'E')) {
      ++FAt;
      if (FAt < FText.size() && (FText[FAt] == '+' || FText[FAt] == '-')) ++FAt;
      Digits();
    }
    double Number = 0;
    const auto Result = std::from_chars(FText.data() + Start, FText.data() + FAt, Number);
    if (Result.ec != std::errc()) Fail("a number out of range");
    return Number;
  }

  unsigned ParseHex4() {
    if (FText.size() - FAt < 4) Fail("the text ends early");
    unsigned Code = 0;
    const auto Result = std::from_chars(FText.data() + FAt, FText.data() + FAt + 4, Code, 16);
    if (Result.ec != std::errc() || Result.ptr != FText.data() + FAt + 4)
      Fail("expected four hexadecimal digits");
    FAt += 4;
    return Code;
  }

  void AppendUtf8(std::string& Text, std::uint32_t Code) {
    if (Code < 0x80) {
      Text += char(Code);
    } else if (Code < 0x800) {
      Text += char(0xC0 | (Code >> 6));
      Text += char(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
      Text += char(0xE0 | (Code >> 12));
      Text += char(0x80 | ((Code >> 6) & 0x3F));
      Text += char(0x80 | (Code & 0x3F));
    } else {
      Text += char(0xF0 | (Code >> 18));
      Text += char(0x80 | ((Code >> 12) & 0x3F));
      Text += char(0x80 | ((Code >> 6) & 0x3F));
      Text += char(0x80 | (Code & 0x3F));
    }
  }

  std::uint32_t ParseEscapedCode() {
    std::uint32_t Code = ParseHex4();
    if (Code >= 0xD800 && Code < 0xDC00 && TakeWord("\\u")) {
      const std::uint32_t Low = ParseHex4();
      if (Low < 0xDC00 || Low >= 0xE000) Fail("a lone surrogate");
      Code = 0x10000 + ((Code - 0xD800) << 10) + (Low - 0xDC00);
    } else if (Code >= 0xD800 && Code < 0xE000) {
      Fail("a lone surrogate");
    }
    return Code;
  }

  std::string ParseString() {
    Expect('"');
    std::string Text;
    for (;;) {
      if (FAt == FText.size()) Fail("the text ends early");
      const char C = FText[FAt++];
      if (C == '"') return Text;
      if (static_cast<unsigned char>(C) < 0x20) Fail("a control character in a string");
      if (C != '\\') {
        Text += C;
        continue;
      }
      if (FAt == FText.size()) Fail("the text ends early");
      const char Escape = FText[FAt++];
      switch (Escape) {
        case '"':
        case '\\':
        case '/':
          Text += Escape;
          break;
        case 'b':
          Text += '\b';
          break;
        case 'f':
          Text += '\f';
          break;
        case 'n':
          Text += '\n';
          break;
        case 'r':
          Text += '\r';
          break;
        case 't':
          Text += '\t';
          break;
        case 'u':
          AppendUtf8(Text, ParseEscapedCode());
          break;
        default:
          --FAt;
          Fail("an unknown escape");
      }
    }
  }

  std::string_view FText;
  std::size_t FAt = 0;
  std::size_t FValues = 0;
};

}  // namespace

const TJsonValue* TJsonValue::Member(std::string_view Name) const {
  if (Kind != TKind::Object) return nullptr;
  for (std::size_t I = 0; I < Names.size(); ++I)
    if (Names[I] == Name) return &Items[I];
  return nullptr;
}

TJsonValue ParseJson(std::string_view Text) {
  return TJsonParser(Text).ParseDocument();
}
