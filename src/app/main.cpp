#include "app/run.h"

int main(int argc, char** argv) {
    return equat::RunEquat(argc, argv);
}
