// Preloaded into the game (LD_PRELOAD): writes the monotonic time at load and
// before and after every SDL_GL_SwapBuffers into the file FRAME_TIMER_OUT.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static FILE* out;

static long long nowNs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

__attribute__((constructor)) static void openOutput(void)
{
    const char* path = getenv("FRAME_TIMER_OUT");
    out = path != NULL ? fopen(path, "w") : NULL;
    if (out != NULL) {
        // Line by line: the game ends by a signal and never flushes.
        setvbuf(out, NULL, _IOLBF, 0);
        fprintf(out, "start %lld\n", nowNs());
    }
}

void SDL_GL_SwapBuffers(void)
{
    static void (*swap)(void);
    if (swap == NULL)
        *(void**)&swap = dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers");
    const long long before = nowNs();
    swap();
    if (out != NULL)
        fprintf(out, "swap %lld %lld\n", before, nowNs());
}
