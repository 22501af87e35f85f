#include "updater_blob.h"

// The updater program's bytes, taken into this object file by the assembler
// when it is built (the path comes from the build); no copy is made at run
// time.
asm(R"(
  .section .rodata.quillet_updater, "a"
  .balign 16
  .globl quillet_updater_begin
  .hidden quillet_updater_begin
quillet_updater_begin:
  .incbin ")" QUILLET_UPDATER_PATH R"("
  .globl quillet_updater_end
  .hidden quillet_updater_end
quillet_updater_end:
  .previous
)");

extern "C" const char quillet_updater_begin[];
extern "C" const char quillet_updater_end[];

namespace quillet {

std::string_view UpdaterBytes() {
  return {quillet_updater_begin,
          static_cast<std::size_t>(quillet_updater_end - quillet_updater_begin)};
}

}  // namespace quillet
