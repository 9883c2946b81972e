// libFuzzer target for the ".pt" reader: any bytes must give a content or a UserError, and a
// content read must survive a write and a read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "geometry/UserError.h"
#include "io/ArchivoPT.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    qv::TArchivoPT f = qv::ParsePT(bytes);
    qv::TArchivoPT again = qv::ParsePT(qv::FormatPT(f.Points, f.Polygon()));
    if (again.Points != f.Points || again.Polygon() != f.Polygon()) std::abort();
  } catch (const qv::UserError&) {
  }
  return 0;
}
