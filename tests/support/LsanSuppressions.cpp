// Leaks that LeakSanitizer should not report in the test programs: the font configuration
// library keeps a cache for the life of the process. Compiled into every test program, so the
// suppression holds however the tests are started.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
