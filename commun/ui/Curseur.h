#pragma once

// The application's pointer: hourglass while busy, default otherwise. They do
// not stack: one CurseurNormal always brings the default pointer back.
void CurseurSablier();
void CurseurNormal();
