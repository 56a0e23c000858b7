// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words of a PDF and where they are, as poppler's pdftotext reads them.
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

namespace equat::test {

struct PdfWord {
    int page, line;  // the line as pdftotext groups words, counted over the document
    double x, y;     // top left, in points
    QString text;
};

inline std::vector<PdfWord> PdfWords(const std::string& pdf) {
    QTemporaryDir dir;
    const QString path = dir.filePath("words.pdf");
    std::ofstream(path.toStdString(), std::ios::binary) << pdf;
    QProcess p;
    p.start("pdftotext", {"-bbox-layout", path, "-"});
    p.waitForFinished(60000);
    const QString boxes = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        R"re(<page |<line |<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)<)re");
    std::vector<PdfWord> words;
    int page = 0, line = 0;
    for (auto m = word.globalMatch(boxes); m.hasNext();) {
        const auto w = m.next();
        if (w.captured(0) == "<page ")
            ++page;
        else if (w.captured(0) == "<line ")
            ++line;
        else
            words.push_back(
                {page, line, w.captured(1).toDouble(), w.captured(2).toDouble(), w.captured(3)});
    }
    return words;
}

}  // namespace equat::test
