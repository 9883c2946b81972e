// Driver of the convex-layers method.
#include "app/Principal.h"

namespace qv {

// The method itself has not been built yet: executing it says so and changes nothing.
void TForm1::RunConvexLayers() {
  NotAvailable("method");
}

}  // namespace qv
