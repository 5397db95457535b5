// The name the running window program gives itself in everything it tells the user. main.cpp
// and startup.cpp are built into each window program, lumora-fullscreen's with
// LUMORA_FULLSCREEN defined.
#pragma once

#ifdef LUMORA_FULLSCREEN
inline constexpr const char* PROGRAM_NAME = "lumora-fullscreen";
#else
inline constexpr const char* PROGRAM_NAME = "lumora";
#endif
