// sanitizer_options.cpp: built into the sanitized test programs. The
// sanitizers read these at start-up, so the programs need no environment.
extern "C" {

// Fail on the first fault, and check for leaks at exit.
const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=0"; }
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

// Leaks inside the X, GL and GLUT libraries are theirs, not the game's.
const char* __lsan_default_suppressions() {
    return "leak:libX11.so\n"
           "leak:libxcb.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:libGLX.so\n"
           "leak:libGL.so\n"
           "leak:libglapi.so\n"
           "leak:swrast_dri.so\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libglut.so\n"
           "leak:libdbus\n";
}
}
