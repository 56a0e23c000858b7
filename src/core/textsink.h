// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/sheetmodel.h"

namespace equat {

// Appends to a string through a raw cursor. The question texts are made of dozens of
// pieces a few bytes long, and going through std::string::append for each one costs
// more than the whole rest of a sheet.
class TextSink {
  public:
    // `expected` bytes are made room for at once; more are added as needed.
    TextSink(std::string& out, std::size_t expected) : out_(out), used_(out.size()) {
        out_.resize(used_ + expected);
    }
    ~TextSink() { out_.resize(used_); }
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    void Put(std::string_view s) {
        Room(s.size());
        std::memcpy(out_.data() + used_, s.data(), s.size());
        used_ += s.size();
    }
    void Put(char c) {
        Room(1);
        out_[used_++] = c;
    }
    // Decimal text: "-" for negatives, no "+", no leading zeros.
    void PutInt(std::int64_t v) {
        Room(20);
        char* const base = out_.data();
        if (v > -100 && v < 100) {
            // Nearly every number of a sheet; written without branches, since signs and
            // digit counts are random and mispredictions would cost more than the digits.
            char* p = base + used_;
            const bool negative = v < 0;
            const auto a = static_cast<unsigned>(negative ? -v : v);
            *p = '-';
            p += negative;
            *p = static_cast<char>('0' + a / 10);
            p += a >= 10;
            *p++ = static_cast<char>('0' + a % 10);
            used_ = static_cast<std::size_t>(p - base);
            return;
        }
        used_ =
            static_cast<std::size_t>(std::to_chars(base + used_, base + out_.size(), v).ptr - base);
    }
    // The coefficient writers of numbertext.h, without their temporaries.
    void PutLeadCoef(std::int32_t v) {  // "" for 1, "-" for -1, else the number
        if (v == -1) {
            Put('-');
        } else if (v != 1) {
            PutInt(v);
        }
    }
    void PutSignedCoef(std::int32_t v) {  // " + ", " - ", " + v", " - |v|"
        PutSign(v > 0);
        if (v != 1 && v != -1) PutInt(v > 0 ? std::int64_t{v} : -std::int64_t{v});
    }
    void PutConstTerm(std::int32_t v) {  // five spaces for 0, else " + v" / " - |v|"
        if (v == 0) {
            Put("     ");
            return;
        }
        PutSign(v > 0);
        PutInt(v > 0 ? std::int64_t{v} : -std::int64_t{v});
    }

  private:
    // " + " or " - ", choosing the sign without a branch (random signs mispredict).
    void PutSign(bool positive) {
        Room(3);
        char* p = out_.data() + used_;
        p[0] = ' ';
        p[1] = static_cast<char>(positive ? '+' : '-');
        p[2] = ' ';
        used_ += 3;
    }
    void Room(std::size_t n) {
        if (out_.size() - used_ < n) out_.resize(std::max(out_.size() * 2, used_ + n));
    }

    std::string& out_;
    std::size_t used_;
};

// A number of a statement as its role writes it (Atom::Kind Number to RoomTerm), for every
// writer of statements: any sink with TextSink's Put and Put… numbers.
template <class Sink>
void PutNumberAtom(Sink& out, const Atom& a) {
    switch (a.kind) {
        case Atom::Kind::LeadCoef:
            out.PutLeadCoef(a.value);
            break;
        case Atom::Kind::SignedCoef:
            out.PutSignedCoef(a.value);
            break;
        case Atom::Kind::SignedTerm:
            out.Put(a.value > 0 ? " + " : " - ");
            out.PutInt(a.value > 0 ? std::int64_t{a.value} : -std::int64_t{a.value});
            break;
        case Atom::Kind::RoomTerm:
            out.PutConstTerm(a.value);
            break;
        default:
            out.PutInt(a.value);
            break;
    }
}

}  // namespace equat
