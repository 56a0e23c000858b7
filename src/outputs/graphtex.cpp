// SPDX-License-Identifier: GPL-3.0-or-later
#include "outputs/graphtex.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/markup.h"
#include "outputs/latex.h"

namespace equat {

namespace {

constexpr double kWidthCm = 8, kHeightCm = 5;
constexpr int kSamples = 160;

// A coordinate in TeX's reach: fixed decimals, never an exponent.
std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", std::isfinite(v) ? v : 0.0);
    return buf;
}

std::string Point(double x, double y) {
    return "(" + Num(x) + "," + Num(y) + ")";
}

// A tick's label, with the sheet's decimal separator.
std::string TickTex(double v, bool comma) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", std::abs(v) < 1e-9 ? 0.0 : v);
    std::string s = buf;
    if (comma) std::replace(s.begin(), s.end(), '.', ',');
    return "$" + (comma ? std::string("{") + s + "}" : s) + "$";
}

std::vector<double> Ticks(const GraphAxis& a) {
    std::vector<double> ticks;
    if (!(a.step > 0) || a.max <= a.min) return ticks;
    const double first = std::ceil(a.min / a.step - 1e-9);
    for (double k = first; k * a.step <= a.max + 1e-9 && ticks.size() < 60; ++k)
        ticks.push_back(k * a.step);
    return ticks;
}

std::string LabelTex(const std::string& label) {
    return MarkupTex(TextAsMarkup(label));
}

// y = a x² + b x + c sampled over the window, in pieces that stay inside it: TeX's
// dimensions give out far outside.
std::string CurveTex(const GraphCurve& c, const GraphModel& g) {
    if (c.vertical)
        return "\\draw[thick] " + Point(c.c, g.y.min) + " -- " + Point(c.c, g.y.max) + ";\n";
    std::string tex, piece;
    int count = 0;
    const auto flush = [&] {
        if (count > 1) tex += "\\draw[thick] " + piece + ";\n";
        piece.clear();
        count = 0;
    };
    for (int k = 0; k <= kSamples; ++k) {
        const double x = g.x.min + (g.x.max - g.x.min) * k / kSamples;
        const double y = (c.a * x + c.b) * x + c.c;
        if (y < g.y.min || y > g.y.max || !std::isfinite(y)) {
            flush();
            continue;
        }
        piece += (count++ ? " -- " : "") + Point(x, y);
    }
    flush();
    return tex;
}

std::string PlaneTex(const GraphModel& g) {
    std::string tex = "\\draw[gray!35,xstep=" + Num(g.x.step) + ",ystep=" + Num(g.y.step) + "] " +
                      Point(g.x.min, g.y.min) + " grid " + Point(g.x.max, g.y.max) + ";\n";
    if (g.y.min <= 0 && g.y.max >= 0)
        tex += "\\draw[->] " + Point(g.x.min, 0) + " -- " + Point(g.x.max, 0) +
               " node[right] {$x$};\n";
    if (g.x.min <= 0 && g.x.max >= 0)
        tex += "\\draw[->] " + Point(0, g.y.min) + " -- " + Point(0, g.y.max) +
               " node[above] {$y$};\n";
    const double ty = std::clamp(0.0, g.y.min, g.y.max), tx = std::clamp(0.0, g.x.min, g.x.max);
    for (double t : Ticks(g.x))
        if (std::abs(t) > 1e-9)
            tex += "\\node[below,font=\\tiny] at " + Point(t, ty) + " {" +
                   TickTex(t, g.decimalComma) + "};\n";
    for (double t : Ticks(g.y))
        if (std::abs(t) > 1e-9)
            tex += "\\node[left,font=\\tiny] at " + Point(tx, t) + " {" +
                   TickTex(t, g.decimalComma) + "};\n";
    if (g.symmetryAxis)
        tex += "\\draw[dashed] " + Point(*g.symmetryAxis, g.y.min) + " -- " +
               Point(*g.symmetryAxis, g.y.max) + ";\n";
    for (const GraphCurve& c : g.curves) tex += CurveTex(c, g);
    for (const GraphPoint& p : g.points) {
        tex += "\\fill " + Point(p.x, p.y) + " circle[radius=1.6pt]";
        if (!p.label.empty())
            tex += std::string(" node[") + (p.labelBelow ? "below" : "above") +
                   (p.labelLeft ? " left" : " right") + ",font=\\scriptsize] {" +
                   LabelTex(p.label) + "}";
        tex += ";\n";
    }
    return tex;
}

std::string NumberLineTex(const GraphModel& g) {
    std::string tex = "\\draw[->] " + Point(g.x.min, 0) + " -- " + Point(g.x.max, 0) + ";\n";
    for (double t : Ticks(g.x))
        tex += "\\draw " + Point(t, -0.08) + " -- " + Point(t, 0.08) +
               " node[below=3pt,font=\\tiny] {" + TickTex(t, g.decimalComma) + "};\n";
    for (const GraphInterval& i : g.intervals) {
        const double from = i.from.value_or(g.x.min), to = i.to.value_or(g.x.max);
        tex += "\\draw[ultra thick] " + Point(from, 0) + " -- " + Point(to, 0) + ";\n";
        if (i.from)
            tex +=
                "\\node at " + Point(from, 0) + " {\\large " + (i.closedFrom ? "[" : "]") + "};\n";
        if (i.to)
            tex += "\\node at " + Point(to, 0) + " {\\large " + (i.closedTo ? "]" : "[") + "};\n";
    }
    for (const GraphPoint& p : g.points) {
        tex += "\\fill " + Point(p.x, 0) + " circle[radius=2pt]";
        if (!p.label.empty())
            tex += " node[above=2pt,font=\\scriptsize] {" + LabelTex(p.label) + "}";
        tex += ";\n";
    }
    for (const GraphPoint& h : g.holes)
        tex += "\\filldraw[fill=white] " + Point(h.x, 0) + " circle[radius=2pt];\n";
    return tex;
}

}  // namespace

std::string GraphTikz(const GraphModel& g) {
    const double w = std::max(g.x.max - g.x.min, 1e-6), h = std::max(g.y.max - g.y.min, 1e-6);
    const bool line = g.shape == GraphModel::Shape::NumberLine;
    const double ux = kWidthCm / w, uy = line ? 1 : std::min(kHeightCm / h, ux);
    std::string tex = "\\begin{tikzpicture}[x=" + Num(ux) + "cm,y=" + Num(uy) + "cm]\n";
    tex += line ? NumberLineTex(g) : PlaneTex(g);
    tex += "\\end{tikzpicture}";
    if (!g.caption.empty()) tex += "\\\\\n" + LabelTex(g.caption);
    return tex + "\n";
}

}  // namespace equat
