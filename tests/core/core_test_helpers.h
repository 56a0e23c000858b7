// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What only the tests call: the bodies of a question as texts of their own, and the
// coefficient writers the reference implementations of the tests are written with.
#include <cstdint>
#include <string>

#include "core/equat1d.h"
#include "core/equat2d.h"
#include "core/numbertext.h"
#include "core/sheet.h"
#include "core/sheetrtf.h"
#include "core/syst.h"

namespace equat {

inline std::string SubjectBody(const QuestionKind& kind, int i) {
    std::string s;
    AppendSubjectRtf(s, kind.Model(i, false));
    return s;
}
inline std::string AnswerBody(const QuestionKind& kind, int i, KeyStyle style = KeyStyle::Decimal) {
    std::string s;
    AppendKeyRtf(s, kind.Model(i, style == KeyStyle::Detailed), style);
    return s;
}

inline QuestionModel QuadraticModel(int level, const QuadraticQuestion& q) {
    return {"2d", level, QuadraticStatement(level, q.slots), QuadraticResult(level, q), {}};
}
inline std::string QuadraticSubjectBody(int level, const QuadraticQuestion& q) {
    std::string s;
    AppendSubjectRtf(s, QuadraticModel(level, q));
    return s;
}
inline std::string QuadraticAnswerBody(int level, const QuadraticQuestion& q) {
    std::string s;
    AppendKeyRtf(s, QuadraticModel(level, q), KeyStyle::Decimal);
    return s;
}

inline QuestionModel SystemModel(int level, const SystemQuestion& q) {
    return {"syst", level, SystemStatement(level, q), SystemResult(level, q), {}};
}
inline std::string SystemSubjectBody(int level, const SystemQuestion& q) {
    std::string s;
    AppendSubjectRtf(s, SystemModel(level, q));
    return s;
}
inline std::string SystemAnswerBody(int level, const SystemQuestion& q) {
    std::string s;
    AppendKeyRtf(s, SystemModel(level, q), KeyStyle::Decimal);
    return s;
}

// The statements' pieces as the documents write them.
inline std::string LinearSideText(std::int32_t p, std::int32_t q) {
    return SideRtf(LinearSide(p, q));
}
inline std::string BracketSideText(int form, std::int32_t p1, std::int32_t p2, std::int32_t p3,
                                   std::int32_t p4) {
    return SideRtf(BracketSide(form, p1, p2, p3, p4));
}
inline std::string WriteQuadratic(std::int32_t p, std::int32_t q, std::int32_t r) {
    return SideRtf(QuadraticSide(p, q, r));
}
inline std::string QuadraticEquationText(int level, const std::array<std::int32_t, 8>& slots) {
    return StatementRtf(QuadraticStatement(level, slots));
}
inline std::string WriteSystemPlain(std::int32_t a1, std::int32_t b1, std::int32_t c1,
                                    std::int32_t a2, std::int32_t b2, std::int32_t c2) {
    return StatementRtf({{PlainLine({a1, b1, c1}), PlainLine({a2, b2, c2})}});
}
inline std::string WriteSystemTwoSided(const EquationSlots& eq1, const EquationSlots& eq2) {
    return StatementRtf({{TwoSidedLine(eq1), TwoSidedLine(eq2)}});
}
inline std::string WriteSystemBracketed(const EquationSlots& eq1, const EquationSlots& eq2) {
    return StatementRtf({{BracketedLine(eq1), BracketedLine(eq2)}});
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
