// fontconfig keeps its caches until FcFini, which Qt never calls: those
// blocks are no leak of ours. Everything else is still reported.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
