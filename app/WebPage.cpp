#include "app/WebPage.h"

#include <csignal>
#include <cstdio>
#include <spawn.h>

extern char** environ;

void OpenPublisherWebPage()
{
    // The browser outlives nothing of ours; ignoring SIGCHLD lets the kernel reap it.
    std::signal(SIGCHLD, SIG_IGN);
    char program[] = "xdg-open";
    char page[256];
    snprintf(page, sizeof page, "%s", PublisherWebPage);
    char* arguments[] = {program, page, nullptr};
    pid_t child = 0;
    posix_spawnp(&child, program, nullptr, nullptr, arguments, environ);
}
