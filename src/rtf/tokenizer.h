// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string_view>

namespace equat::rtf {

enum class TokenKind : std::uint8_t {
    End,
    GroupOpen,
    GroupClose,
    Word,    // control word: name, optional signed parameter
    Symbol,  // control symbol: a backslash and one non-letter
    Hex,     // \'hh: one byte
    Text,    // a run of text bytes (no CR, LF or other control bytes)
    Binary,  // the data of \binN
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;  // word name, text run or binary data
    std::int32_t param = 0;
    bool hasParam = false;
    unsigned char byte = 0;  // Hex value or Symbol character
};

// Splits RTF bytes into tokens; knows nothing of their meaning beyond \bin, whose data it
// must step over. Never fails: a truncated \' is dropped, a parameter of any length is
// saturated, \bin past the end takes what is left.
class Tokenizer {
  public:
    explicit Tokenizer(std::string_view input) : in_(input) {}
    Token Next();
    std::size_t position() const { return pos_; }

    // Longest word name kept; longer names are read whole but cut, so they match nothing.
    static constexpr std::size_t kMaxWord = 32;

  private:
    Token ReadControl();
    Token ReadControlSymbol(unsigned char c);
    std::string_view in_;
    std::size_t pos_ = 0;
};

}  // namespace equat::rtf
