#pragma once

// Opens `url` in the user's default browser without waiting for it. True when the opener
// could be started; whether a browser then shows the page is not known.
bool openUrlInBrowser(const char* url);
