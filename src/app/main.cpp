// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstring>
#include <iostream>

#include "app/run.h"
#include "cli/tr.h"

namespace equat {

// In the tools' language, as their help is: French under a French locale.
Text WindowUsage() {
    return Tr(
        "Usage: equat [QT-OPTION]...\n"
        "Open the window that generates worksheets of equations and their answer keys.\n"
        "\n"
        "  --help     show this help and exit\n"
        "  --version  show the version and exit\n"
        "\n"
        "The toolkit's own options, such as -platform NAME or -style NAME, are accepted.\n");
}

}  // namespace equat

int main(int argc, char** argv) {
    // Answered before the toolkit starts, so they work without a display.
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "--help") == 0 || std::strcmp(argv[k], "-h") == 0) {
            std::cout << equat::WindowUsage();
            return 0;
        }
        if (std::strcmp(argv[k], "--version") == 0) {
            std::cout << "equat " << EQUAT_VERSION << '\n';
            return 0;
        }
    }
    return equat::RunEquat(argc, argv);
}
