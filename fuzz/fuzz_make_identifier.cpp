// Free text to an identifier: never empty and free of the characters it must replace.
#include <cstdlib>
#include <string_view>

#include "symbols/sch_to_sym.h"

using namespace qiro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string id = MakeIdentifier(text);
  if (id.empty() || id.size() > text.size() + 4) std::abort();
  if (id.find_first_of("/\\=+.><- (),;[]") != std::string::npos) std::abort();
  return 0;
}
