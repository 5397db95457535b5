// The picture F12 asks for: saved once the frame has drawn it.
#pragma once

struct BITMAP;

// When a picture was asked for, saves picture as the next numbered PNG in picture_dir, or when
// that is empty in the folder that holds settings_path, and shows the name it saved, such as
// "saved lumora-0003.png", or "picture failed"; a null picture (nothing was drawn) fails.
// Either way the request is served.
void serve_picture_request(BITMAP* picture);
