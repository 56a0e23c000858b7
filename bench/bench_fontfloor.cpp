// SPDX-License-Identifier: GPL-3.0-or-later
// What any tool run that lays text out pays before laying anything out: Qt started on the
// tools' platform and the fonts of the documents given loaded, as the layout loads them (each
// run cut to its first character, one paragraph a document). Timed from outside: see
// compare-office.sh, which compares it with the office suite's pair.
//   bench_fontfloor FILE.rtf...
#include <fstream>
#include <iterator>
#include <string>

#include "cli/toolapp.h"
#include "platform/typeset.h"
#include "rtf/reader.h"

int main(int argc, char** argv) {
    equat::EnsureApplication();
    double height = 0;
    for (int k = 1; k < argc; ++k) {
        std::ifstream in(argv[k], std::ios::binary);
        const std::string rtf{std::istreambuf_iterator<char>(in), {}};
        equat::rtf::Document doc = equat::rtf::ReadRtf(rtf);
        equat::rtf::Paragraph all;
        for (const equat::rtf::Paragraph& p : doc.paragraphs)
            for (equat::rtf::Run run : p.runs)
                if (!run.text.empty()) {
                    run.text.resize(1);
                    all.runs.push_back(std::move(run));
                }
        doc.paragraphs = {all};
        height += equat::typeset::SetDocument(doc, 10000, 720, {}).height;
    }
    return height > 0 || argc < 2 ? 0 : 1;
}
