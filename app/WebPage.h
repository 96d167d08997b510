#pragma once

// The publisher's page that the exit advert's button opens.
constexpr const char* PublisherWebPage = "https://quavero.example.org/";

// Opens the page in the desktop's browser without waiting for it; never through a shell.
void OpenPublisherWebPage();
