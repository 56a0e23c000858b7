// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>

#include "core/sheet.h"

namespace equat {

// One product equal to zero: (a x + b)(c x + d) = 0 (form 0), or x (c x + d) = 0 (form 1, with
// a = 1 and b = 0). Its model's coefficients are {a, b, c, d}.
struct ProductQuestion {
    int form = 0;
    std::int32_t a = 1, b = 0, c = 1, d = 0;
};

Statement ProductStatement(const ProductQuestion& q);
// S = {x1 ; x2} (case 0), or {x0} when both factors vanish at the same x (case 2); a product
// of factors of degree one is always zero somewhere, so never ∅.
QuestionResult ProductResult(const ProductQuestion& q);
Steps ProductSteps(const ProductQuestion& q);

// Products of two factors of the first degree equal to zero: x + b factors at level 1, larger
// and negative coefficients at level 2, leading coefficients from 2 up (roots mostly
// fractions) at level 3.
class ProductKind final : public TabledKind<ProductQuestion> {
  public:
    std::string_view BaseNamePrefix() const override { return "Produit_N"; }
    void Draw(RandomSource& rng, int i) override { DrawToward(rng, i, -1, Solutions::Any); }
    void DrawToward(RandomSource& rng, int i, int target, Solutions solutions) override;
    std::string DiagnosticEntry(int i) const override;
    std::string DuplicateKey(int i) const override;
    QuestionModel Model(int i, bool steps) const override;
    QuestionResult Result(int i) const override { return ProductResult(question(i)); }
};

}  // namespace equat
