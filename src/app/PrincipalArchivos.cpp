// Files and images: opening and saving point sets, loading a background, saving the canvas.
#include "app/Principal.h"

namespace qv {

// These commands have not been built yet: each says so and changes nothing.
void TForm1::tbCargarClick() {
  NotAvailable("command");
}
void TForm1::FSalvarClick() {
  NotAvailable("command");
}
void TForm1::tbGuardarClick() {
  NotAvailable("command");
}
void TForm1::tbCargarFondoClick() {
  NotAvailable("command");
}
void TForm1::tbGuardarFondoClick() {
  NotAvailable("command");
}

}  // namespace qv
