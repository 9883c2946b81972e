// The colour dialog and the About box: both are created when opened, shown modally and
// destroyed when closed.
#include <memory>

#include "app/ConfigColores.h"
#include "app/Principal.h"
#include "app/autor.h"

namespace qv {

void TForm1::tbColoresClick() {
  auto dialog = std::make_unique<TFormColores>(this);
  dialog->LoadStyles(PenStyles);
  dialog->exec();
  // A width that is not an integer stops here: no redraw.
  dialog->ApplyStyles(PenStyles);
  dialog.reset();
  Redraw();
}

void TForm1::About1Click() {
  auto dialog = std::make_unique<TFormAutor>(this);
  dialog->exec();
}

}  // namespace qv
