// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheetrtf.h"

#include <algorithm>
#include <utility>

#include "core/adaptedrtf.h"
#include "core/equat1d.h"
#include "core/exactkey.h"
#include "core/graph.h"
#include "core/graphrtf.h"
#include "core/keymarkup.h"
#include "core/layoutmarkup.h"
#include "core/markup.h"
#include "core/numbertext.h"
#include "core/textsink.h"
#include "core/titlemarkup.h"
#include "core/worked.h"

namespace equat {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The RTF with every run of text one space, its control words and groups kept: the same
// fonts on the same lines, nothing to read.
void AppendSkeleton(std::string& out, std::string_view rtf) {
    bool text = false;
    auto flush = [&] {
        if (text) out += ' ';
        text = false;
    };
    for (std::size_t k = 0; k < rtf.size();) {
        const char c = rtf[k];
        if (c == '\\' && k + 1 < rtf.size() && IsLetter(rtf[k + 1])) {
            std::size_t end = k + 1;
            while (end < rtf.size() && IsLetter(rtf[end])) ++end;
            if (end < rtf.size() && (rtf[end] == '-' || IsDigit(rtf[end]))) ++end;
            while (end < rtf.size() && IsDigit(rtf[end])) ++end;
            flush();
            out.append(rtf.substr(k, end - k));
            out += ' ';
            k = end + (end < rtf.size() && rtf[end] == ' ' ? 1 : 0);
        } else if (c == '{' || c == '}') {
            flush();
            out += c;
            ++k;
        } else {
            // A character, an escaped sign or a hexadecimal byte.
            if (c != '\r' && c != '\n') text = true;
            k += c != '\\' ? 1 : (k + 1 < rtf.size() && rtf[k + 1] == '\'') ? 4 : 2;
        }
    }
    flush();
}

// The body in the layout, with room to write after its last paragraph.
void AdaptSubjectBody(std::string& subject, std::size_t body, const AdaptedLayout& layout) {
    AdaptRtf(subject, body, layout);
    const auto last = subject.rfind(kPar);
    if (last == std::string::npos || last < body) return;
    subject.insert(last + kPar.size(), "\\sa0 ");
    subject.insert(last, "\\sa" + DecimalText(WritingSpace(layout)) + " ");
}

// The RTF writer of the layout: bytes appended to a string, the comma and the adapted layout
// applied to a body's bytes once it is written.
class RtfOut {
  public:
    using Piece = std::string;
    static Piece Convert(std::string_view markup) { return MarkupToRtf(markup); }

    explicit RtfOut(std::string& out) : out_(out) {}
    void Put(std::string_view text) { out_ += text; }
    void Put(char c) { out_ += c; }
    void PutInt(std::int64_t v) { AppendDecimal(out_, v); }
    void Markup(std::string_view markup) { AppendMarkupRtf(out_, markup); }
    void Par() { out_ += kPar; }
    void Exact(const Surd& x) { AppendExactKeyRtf(out_, x); }
    void Worked(const Steps& steps) { AppendWorkedStepsRtf(out_, steps); }
    void Picture(const PngPicture& picture) { AppendPictureRtf(out_, picture); }
    template <class F>
    void Stream(std::size_t expected, F&& f) {
        TextSink sink(out_, expected);
        f(sink);
    }
    void Begin(const AdaptedLayout* layout) {
        out_ += layout ? AdaptedRtfHeader(*layout) : std::string(kRtfHeader);
    }
    void End() { out_ += '}'; }
    void BeginBody(layout::BodyOptions options) {
        body_ = out_.size();
        options_ = options;
    }
    void BodyPar() { Par(); }  // the room goes in with the layout
    void ApplyComma() {
        if (options_.comma) UseDecimalComma(out_, body_);
    }
    void ApplyLayout() {
        if (!options_.layout) return;
        if (options_.room) {
            AdaptSubjectBody(out_, body_, *options_.layout);
        } else {
            AdaptRtf(out_, body_, *options_.layout);
        }
    }
    void EndStatement() { statementEnd_ = out_.size(); }
    void CopyStatement(const RtfOut& subject, const Statement& /*statement*/) {
        out_ += subject.Statement();
    }
    void Skeleton(const RtfOut& subject, const QuestionModel& /*q*/, KeyStyle /*style*/) {
        const std::string_view body = subject.Body();
        AppendSkeleton(out_, body.substr(0, body.size() - kPar.size()));
    }

  private:
    // The current body, as written so far.
    std::string_view Body() const { return std::string_view(out_).substr(body_); }
    // The subject body's statement, without what follows it.
    std::string_view Statement() const {
        return std::string_view(out_).substr(body_, statementEnd_ - body_);
    }

    std::string& out_;
    std::size_t body_ = 0, statementEnd_ = 0;
    layout::BodyOptions options_;
};

}  // namespace

std::string SideRtf(const WrittenSide& side) {
    std::string s;
    {
        TextSink out(s, 160);
        layout::PutSide(out, side, layout::P<RtfOut>());
    }
    return s;
}

std::string StatementRtf(const Statement& statement) {
    std::string s;
    RtfOut out(s);
    layout::PutStatement(out, statement);
    return s;
}

std::string_view KeyNumbering(const QuestionModel& q) {
    return layout::KeyNumberingOf(q);
}

void AppendSubjectRtf(std::string& out, const QuestionModel& q) {
    RtfOut o(out);
    layout::PutStatement(o, q.statement);
    o.Par();
}

void AppendKeyRtf(std::string& out, const QuestionModel& q, KeyStyle style) {
    RtfOut o(out);
    layout::PutKey(o, q, style, [&](RtfOut& x) { layout::PutStatement(x, q.statement); });
}

Sheet RenderSheet(SheetModel model, const SheetSettings& settings) {
    const std::size_t n = model.questions.size();
    Sheet sheet;
    sheet.results.reserve(n);
    RtfOut subject(sheet.subject), key(sheet.answerKey);
    layout::PutSheet(subject, key, model, settings, [&](const QuestionModel& q, RtfOut&) {
        sheet.results.push_back(q.result);
        // What the banks take beside the model: the graph in the standard layout, painted
        // again when the key's own is adapted or, under a strip, not painted.
        if (settings.exports.bodies) {
            sheet.bodies.push_back({settings.decimalComma, {}});
            if (settings.graphs)
                sheet.bodies.back().graph =
                    KeyAdapted(settings) || StyleOf(settings.keyStyle).strip
                        ? QuestionGraphPicture(q, settings.decimalComma, false)
                        : q.graph;
        }
        if (sheet.results.size() == 1) {
            // The first question tells the size of the others: room for them at once, so the
            // documents are not copied again and again as they grow.
            sheet.subject.reserve(sheet.subject.size() * (n + 1) + 64);
            sheet.answerKey.reserve(sheet.answerKey.size() * (n + 1) + 64);
        }
    });
    sheet.baseName = std::move(model.baseName);
    sheet.log = std::move(model.log);
    return sheet;
}

}  // namespace equat
