// The colour dialog and the About box.
#include "app/Principal.h"

namespace qv {

// These dialogs have not been built yet: each command says so and changes nothing.
void TForm1::tbColoresClick() {
  NotAvailable("command");
}
void TForm1::AcercaDeClick() {
  NotAvailable("command");
}

}  // namespace qv
