// The window's flashes as MIDI on an ALSA sequencer port named "lumora", which any synthesiser
// or sequencer on the machine can connect to (aconnect, or a patchbay): each frame's notes
// (sound/flash_notes.h) go straight to the port's subscribers. Where the machine has no
// sequencer the port is not there and the program runs as it would without it, with no message
// and no delay. Sending never waits: what the sequencer cannot take at once is let go.
#pragma once

#include "sound/blink_peaks.h"

// Opens the sequencer and makes the port. False when there is none (built without ALSA, no
// sequencer device, or it refused).
bool open_midi_port();

// Whether the port is open, so that the frames must find their flashes.
bool midi_port_open();

// Sends the notes of the frame just run, whose flashes are peaks. Does nothing when the port
// is not open.
void send_frame_midi(const BlinkPeaks& peaks);

// Ends the notes still sounding and closes the port.
void close_midi_port();
