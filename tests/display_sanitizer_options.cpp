// Tests that draw with real OpenGL skip the leak check: the GL driver is
// unloaded before the check runs, so its own allocations would be reported as
// leaks of an unknown module. Address and undefined-behaviour checks stay on.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
