// fontconfig keeps its caches until process exit and Qt never asks it to
// free them; LeakSanitizer would report them for every test that renders
// text. Our own leaks are still reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
