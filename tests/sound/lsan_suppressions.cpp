// Leaks that belong to the sound libraries, not to us, for sanitizer builds of this test: RtAudio
// 5.2 frees its PulseAudio handle on a failed open only when a callback thread had started, and
// libpulse keeps a few small blocks from a connection to a server that was killed. The test kills
// the server on purpose, so both happen here every run.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:librtaudio.so\nleak:libpulse.so\nleak:libpulse-simple.so\n";
}
