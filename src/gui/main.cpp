#include "gui/start_up.h"

int main(int argc, char** argv) { return quillet::RunQuillet(argc, argv); }

#ifdef __SANITIZE_ADDRESS__
// Fontconfig keeps its configuration caches for the life of the process and
// Qt never hands them back (FcFini is not called); that is not ours to fix.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
