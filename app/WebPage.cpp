#include "app/WebPage.h"
#include "app/WebPageAddress.h"

#include <csignal>
#include <spawn.h>
#include <string>

extern char** environ;

const char* const PublisherWebPage = QUAVERO_WEB_PAGE;

void OpenPublisherWebPage()
{
    // The browser outlives nothing of ours; ignoring SIGCHLD lets the kernel reap it.
    std::signal(SIGCHLD, SIG_IGN);
    char program[] = "xdg-open";
    std::string page = PublisherWebPage;
    char* arguments[] = {program, page.data(), nullptr};
    pid_t child = 0;
    posix_spawnp(&child, program, nullptr, nullptr, arguments, environ);
}
