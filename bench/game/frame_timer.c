// Preloaded into the game (LD_PRELOAD): writes the monotonic time at load,
// before and after every SDL_GL_SwapBuffers, and before and after every sleep of
// the thread that swaps (the loop's pacing) into the file FRAME_TIMER_OUT.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static FILE* out;
static pthread_t swapThread;
static int swapped;

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
    swapThread = pthread_self();
    swapped = 1;
    const long long before = nowNs();
    swap();
    if (out != NULL)
        fprintf(out, "swap %lld %lld\n", before, nowNs());
}

int clock_nanosleep(clockid_t clock, int flags, const struct timespec* request, struct timespec* remain)
{
    static int (*sleep)(clockid_t, int, const struct timespec*, struct timespec*);
    if (sleep == NULL)
        *(void**)&sleep = dlsym(RTLD_NEXT, "clock_nanosleep");
    const long long before = nowNs();
    const int result = sleep(clock, flags, request, remain);
    if (out != NULL && swapped && pthread_equal(pthread_self(), swapThread))
        fprintf(out, "sleep %lld %lld\n", before, nowNs());
    return result;
}
