#include "app/WebPage.h"
#include "app/WebPageAddress.h"

#include <emscripten.h>

const char* const PublisherWebPage = QUAVERO_WEB_PAGE;

// A new tab, so the game's own tab stays where it is.
void OpenPublisherWebPage()
{
    EM_ASM(window.open(UTF8ToString($0), '_blank', 'noopener'), PublisherWebPage);
}
