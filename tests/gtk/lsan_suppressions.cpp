// Leaks that belong to fontconfig, not to us, for sanitizer builds of these tests: its font cache and
// pattern copies, made when GTK first lays text out, live until the process ends and are never freed.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
