#pragma once

// The publisher's page that the exit advert's button opens: the build option QUAVERO_WEB_PAGE.
extern const char* const PublisherWebPage;

// Opens the page in the desktop's browser without waiting for it; never through a shell.
void OpenPublisherWebPage();
