// UDP sockets for OSC: an address given as HOST:PORT, a sender that never waits, a listener
// that is only looked at. Each answers success or failure, with a message, and shows nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Opens a socket that sends to where (HOST:PORT, [IPV6]:PORT) without ever blocking. Returns
// it, or -1 with error saying why.
int open_osc_sender(const std::string& where, std::string& error);

// Opens a socket that listens at where: PORT alone on the loopback address 127.0.0.1, or
// HOST:PORT. Returns it, or -1 with error saying why (such as a port in use).
int open_osc_listener(const std::string& where, std::string& error);

// Sends one datagram, never blocking: false when it was not sent whole (no receiver, a full
// buffer), which the caller counts.
bool send_datagram(int socket, const uint8_t* data, size_t size);

// The next datagram waiting, into data: its size, 0 when none waits, or -1 for one larger than
// size or one that failed, which the caller counts as bad.
long receive_datagram(int socket, uint8_t* data, size_t size);

void close_socket(int socket);

// A socket that listens on 127.0.0.1 at a port the system chose, never blocking, and that
// port's number in port: the other side of a loopback test or measurement. -1 when it fails.
int open_loopback_receiver(int& port);
