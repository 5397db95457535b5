// The picture F12 asks for: saved once the frame has drawn it.
#pragma once

struct BITMAP;

// When a picture was asked for, saves picture as the next numbered PNG in the folder pictures go
// to (picture_folder in ui/folders.h), and shows the name it saved, such as "saved
// lumora-0003.png", or "picture failed"; a null picture (nothing was drawn) fails. Either way the request is served, and the session keeps
// how it went (ui/session.h).
void serve_picture_request(BITMAP* picture);
