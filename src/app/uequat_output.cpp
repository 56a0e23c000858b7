// Printing, saving, printer choice and preview of the two documents, and the clean-up of the
// preview's files when the window closes.
#include "app/uequat.h"

namespace equat {

void TForm1::btnImprimeClick() {}
void TForm1::btnEnregistreClick() {}
void TForm1::btnChoixImpClick() {}
void TForm1::btnApercuClick() {}
void TForm1::OutputCloseCleanup() {}

}  // namespace equat
