// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What only the tests call: the bodies of a question as texts of their own, and the
// coefficient writers the reference implementations of the tests are written with.
#include <cstdint>
#include <string>

#include "core/equat2d.h"
#include "core/numbertext.h"
#include "core/sheet.h"
#include "core/syst.h"

namespace equat {

inline std::string SubjectBody(const QuestionKind& kind, int i) {
    std::string s;
    kind.AppendSubjectBody(s, i);
    return s;
}
inline std::string AnswerBody(const QuestionKind& kind, int i, KeyStyle style = KeyStyle::Decimal) {
    std::string s;
    kind.AppendAnswerBody(s, i, style);
    return s;
}

inline std::string QuadraticSubjectBody(const QuadraticQuestion& q) {
    std::string s;
    AppendQuadraticSubjectBody(s, q);
    return s;
}
inline std::string QuadraticAnswerBody(int level, const QuadraticQuestion& q) {
    std::string s;
    AppendQuadraticAnswerBody(s, level, q);
    return s;
}

inline std::string SystemSubjectBody(const SystemQuestion& q) {
    std::string s;
    AppendSystemSubjectBody(s, q);
    return s;
}
inline std::string SystemAnswerBody(int level, const SystemQuestion& q) {
    std::string s;
    AppendSystemAnswerBody(s, level, q);
    return s;
}

// "" for 1, "-" for -1, else the number.
inline std::string LeadCoefText(std::int32_t v) {
    if (v == 1) return "";
    if (v == -1) return "-";
    return DecimalText(v);
}

// " + ", " - ", " + v", " - |v|" (0 gives " - 0").
inline std::string SignedCoefText(std::int32_t v) {
    if (v == 1) return " + ";
    if (v == -1) return " - ";
    if (v > 1) return " + " + DecimalText(v);
    return " - " + DecimalText(-static_cast<std::int64_t>(v));
}

// Five spaces for 0, else " + v" / " - |v|".
inline std::string ConstTermText(std::int32_t v) {
    if (v == 0) return "     ";
    if (v > 0) return " + " + DecimalText(v);
    return " - " + DecimalText(-static_cast<std::int64_t>(v));
}

}  // namespace equat
