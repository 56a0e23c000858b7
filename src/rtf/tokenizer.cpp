// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf/tokenizer.h"

#include <array>
#include <limits>

namespace equat::rtf {

namespace {

// Bytes that end a text run: the three syntax characters and every control byte.
constexpr std::array<bool, 256> kStopsText = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 0x20; ++c) t[c] = true;
    t[0x7F] = true;
    t['\\'] = t['{'] = t['}'] = true;
    return t;
}();

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

Token Make(TokenKind kind) {
    Token t;
    t.kind = kind;
    return t;
}

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Token Tokenizer::Next() {
    const std::size_t n = in_.size();
    while (pos_ < n) {
        const auto c = static_cast<unsigned char>(in_[pos_]);
        switch (c) {
            case '{':
                ++pos_;
                return Make(TokenKind::GroupOpen);
            case '}':
                ++pos_;
                return Make(TokenKind::GroupClose);
            case '\\':
                return ReadControl();
            default:
                break;
        }
        if (c < 0x20 || c == 0x7F) {  // CR and LF are only layout; control bytes are not text
            ++pos_;
            continue;
        }
        const std::size_t start = pos_;
        while (pos_ < n && !kStopsText[static_cast<unsigned char>(in_[pos_])]) ++pos_;
        Token t = Make(TokenKind::Text);
        t.text = in_.substr(start, pos_ - start);
        return t;
    }
    return Make(TokenKind::End);
}

// A backslash and the non-letter c after it: an escaped byte, a hex escape or a line end.
Token Tokenizer::ReadControlSymbol(unsigned char c) {
    const std::size_t n = in_.size();
    ++pos_;
    if (c == '\'') {
        const int hi = pos_ < n ? HexValue(static_cast<unsigned char>(in_[pos_])) : -1;
        const int lo = pos_ + 1 < n ? HexValue(static_cast<unsigned char>(in_[pos_ + 1])) : -1;
        if (hi < 0 || lo < 0) {   // truncated or not hex: a symbol the reader ignores
            if (hi >= 0) ++pos_;  // a lone digit belongs to the broken escape
            Token t = Make(TokenKind::Symbol);
            t.byte = c;
            return t;
        }
        pos_ += 2;
        Token t = Make(TokenKind::Hex);
        t.byte = static_cast<unsigned char>(hi * 16 + lo);
        return t;
    }
    if (c == '\r' || c == '\n') {  // a backslash before a line end is a paragraph mark
        Token t = Make(TokenKind::Word);
        t.text = "par";
        return t;
    }
    Token t = Make(TokenKind::Symbol);
    t.byte = c;
    return t;
}

Token Tokenizer::ReadControl() {
    const std::size_t n = in_.size();
    ++pos_;  // the backslash
    if (pos_ >= n) return Make(TokenKind::End);
    const auto c = static_cast<unsigned char>(in_[pos_]);
    if (!IsLetter(c)) return ReadControlSymbol(c);
    const std::size_t start = pos_;
    while (pos_ < n && IsLetter(static_cast<unsigned char>(in_[pos_]))) ++pos_;
    Token t = Make(TokenKind::Word);
    t.text = in_.substr(start, pos_ - start);
    if (t.text.size() > kMaxWord) t.text = t.text.substr(0, kMaxWord);
    bool negative = false;
    if (pos_ + 1 < n && in_[pos_] == '-' && IsDigit(static_cast<unsigned char>(in_[pos_ + 1]))) {
        negative = true;
        ++pos_;
    }
    if (pos_ < n && IsDigit(static_cast<unsigned char>(in_[pos_]))) {
        constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
        std::int64_t v = 0;
        while (pos_ < n && IsDigit(static_cast<unsigned char>(in_[pos_]))) {
            if (v <= kMax) v = v * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (v > kMax) v = kMax;
        t.param = static_cast<std::int32_t>(negative ? -v : v);
        t.hasParam = true;
    }
    if (pos_ < n && in_[pos_] == ' ') ++pos_;  // the delimiting space belongs to the word
    if (t.text == "bin" && t.hasParam && t.param > 0) {
        const std::size_t len = std::min<std::size_t>(static_cast<std::size_t>(t.param), n - pos_);
        Token b = Make(TokenKind::Binary);
        b.text = in_.substr(pos_, len);
        pos_ += len;
        return b;
    }
    return t;
}

}  // namespace equat::rtf
