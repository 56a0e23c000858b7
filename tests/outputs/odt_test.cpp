// SPDX-License-Identifier: GPL-3.0-or-later
// The OpenDocument files are sound archives: "mimetype" first and stored, the manifest
// naming every part, every part well-formed enough to hold the documents' text with real
// signs and no private-use character.
#include "outputs/odt.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../rtf/rtf_test_util.h"
#include "../temp_folder_test.h"
#include "core/graph.h"
#include "core/kinds.h"
#include "core/random.h"
#include "outputs/formats.h"
#include "rtf/reader.h"
#include "rtf/writer.h"

namespace equat {
namespace {

std::string Part(zip_t* z, zip_uint64_t index) {
    zip_stat_t st;
    zip_stat_index(z, index, 0, &st);
    std::string data(st.size, '\0');
    zip_file_t* f = zip_fopen_index(z, index, 0);
    zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    return data;
}

// A painter that stands for the platform's.
PngPicture FakePicture(const GraphModel&, bool) {
    return {"\x89PNG", 4000, 2000, 2, 1};
}

TEST(Odt, ArchivesAreWhole) {
    SetGraphPainter(&FakePicture);
    for (const auto& kind : kSheetKinds) {
        SheetSettings settings;
        settings.level = 3;
        settings.keyStyle = KeyStyle::Detailed;
        // A key with graphs holds them as pictures of the archive, each named in the manifest.
        settings.graphs = kind.name != std::string_view("1d");
        settings.exports.model = true;
        RandomSource rng(7);
        const ClassCopy copy{{}, "", "", BuildSheet(*kind.make(), rng, settings)};
        NamedFiles files;
        std::string error;
        ASSERT_TRUE(MakeFormat(Format(FormatId::Odt), OutputData{std::span(&copy, 1), {}},
                               FormatFiles(Format(FormatId::Odt), "s"), &files, &error))
            << error;
        ASSERT_EQ(files.size(), 2u);
        EXPECT_EQ(files[1].first, "s_Cor.odt");
        for (const auto& [name, bytes] : files) {
            // The first local header names "mimetype", stored, its bytes right after.
            ASSERT_GT(bytes.size(), 38u + 39u);
            EXPECT_EQ(bytes.substr(0, 4), std::string("PK\x03\x04", 4));
            EXPECT_EQ(bytes[8], 0) << "mimetype compressed";
            EXPECT_EQ(bytes.substr(30, 8), "mimetype");
            EXPECT_EQ(bytes.substr(38, 39), "application/vnd.oasis.opendocument.text");
            zip_error_t ze;
            zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &ze);
            zip_t* z = zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &ze);
            ASSERT_NE(z, nullptr) << name;
            std::string manifest, content;
            std::vector<std::string> parts;
            int pictures = 0;
            for (zip_int64_t k = 0; k < zip_get_num_entries(z, 0); ++k) {
                const std::string part = zip_get_name(z, zip_uint64_t(k), 0);
                if (part == "META-INF/manifest.xml") manifest = Part(z, zip_uint64_t(k));
                if (part == "content.xml") content = Part(z, zip_uint64_t(k));
                if (part.starts_with("Pictures/")) {
                    EXPECT_EQ(Part(z, zip_uint64_t(k)), "\x89PNG");
                    EXPECT_NE(content.find("xlink:href=\"" + part + "\""), std::string::npos);
                    ++pictures;
                }
                if (part != "mimetype" && part != "META-INF/manifest.xml") parts.push_back(part);
            }
            zip_close(z);
            for (const char* needed : {"content.xml", "styles.xml", "meta.xml"})
                EXPECT_NE(std::find(parts.begin(), parts.end(), needed), parts.end()) << needed;
            for (const auto& part : parts)
                EXPECT_NE(manifest.find("full-path=\"" + part + "\""), std::string::npos) << part;
            EXPECT_EQ(pictures, settings.graphs && name == "s_Cor.odt" ? settings.count : 0);
            // Real signs only: nothing of U+E000..U+F8FF (UTF-8 EE..EF A3).
            const std::string doc = name == "s.odt" ? copy.sheet.subject : copy.sheet.answerKey;
            for (std::size_t k = 0; k + 1 < content.size(); ++k)
                ASSERT_FALSE(
                    (unsigned char)content[k] == 0xEE ||
                    ((unsigned char)content[k] == 0xEF && (unsigned char)content[k + 1] < 0xA4))
                    << "private-use character in " << name;
            const std::string text = rtf::PlainTextUtf8(rtf::ReadRtf(doc));
            for (const char* sign : {"\xE2\x8E\xA7", "\xCE\x94", "\xE2\x88\x9A", "\xE2\x89\x88"})
                EXPECT_EQ(text.find(sign) != std::string::npos,
                          content.find(sign) != std::string::npos)
                    << name << " " << sign;
        }
    }
    SetGraphPainter(nullptr);
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// A table is an ODF table of bordered cells, which LibreOffice reads in order.
using OdtTable = TempFolderTest;
TEST_F(OdtTable, LibreOfficeReadsTheCellsInOrder) {
    std::string bytes, error;
    ASSERT_TRUE(OdtBytes(rtf::test::TableDocument(), &bytes, &error)) << error;
    zip_error_t ze;
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &ze);
    zip_t* z = zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &ze);
    ASSERT_NE(z, nullptr);
    const std::string content = Part(z, zip_uint64_t(zip_name_locate(z, "content.xml", 0)));
    zip_close(z);
    EXPECT_EQ(Count(content, "<table:table "), 1u);
    EXPECT_EQ(Count(content, "<table:table-column "), 5u);
    EXPECT_EQ(Count(content, "<table:table-row>"), 3u);
    EXPECT_EQ(Count(content, "<table:table-cell "), 15u);
    EXPECT_NE(content.find("fo:border=\"0.5pt solid #000000\""), std::string::npos);

    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice not found: LibreOffice did not read the table";
    Spit(dir_ / "t.odt", bytes);
    const std::string command = "cd '" + dir_.string() +
                                "' && timeout 300 soffice --headless --norestore "
                                "-env:UserInstallation=file://" +
                                (dir_ / "profile").string() +
                                " --convert-to 'txt:Text (encoded):UTF8' t.odt >log 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << Slurp(dir_ / "log");
    const std::string text = Slurp(dir_ / "t.txt");
    EXPECT_EQ(rtf::test::FirstOutOfOrder(text), "") << text;
}

}  // namespace
}  // namespace equat
