// The browser backend: the page's canvas, events, clock, boxes, Web Audio, fetched game files and
// page storage. Built only for the browser.
#pragma once

// Makes the browser backend current.
void Use_web_backend();
