// Feeds arbitrary bytes to the INI reader and writer: reading must not crash, a parse
// followed by Text must give the bytes back, and writes must keep the file readable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    equat::IniDocument doc = equat::IniDocument::Parse(bytes);
    if (doc.Text() != bytes) std::abort();

    for (const char* key : {"FormVersion", "NormPos", "eTitre1_Text", "Count"}) {
        (void)doc.Find("TForm1", key);
        (void)doc.Find("TForm1.Combo1_Items", key);
    }
    (void)doc.Entries("TForm1.Combo1_Items");

    // A value taken from the input goes in quoted and must come back unchanged.
    std::string value(bytes.substr(0, 64));
    if (value.find_first_of("\r\n") != std::string::npos) value = "\"x\"";
    if (!doc.WriteString("TForm1", "eTitre1_Text", equat::QuoteIniValue(value))) std::abort();
    doc.EraseSection("TForm1.Combo1_Items");
    if (!doc.WriteString("TForm1.Combo1_Items", "Count", "1")) std::abort();

    const equat::IniDocument again = equat::IniDocument::Parse(doc.Text());
    if (again.Find("TForm1", "eTitre1_Text") != value) std::abort();
    if (again.Find("TForm1.Combo1_Items", "Count") != "1") std::abort();
    return 0;
}
