#include "link/udp_link.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Splits HOST:PORT (HOST in brackets for an IPv6 address) or, when a default host is given,
// PORT alone. The port is a whole number from 1 to 65535.
bool split_address(const std::string& where, const char* default_host, std::string& host,
                   std::string& port, std::string& error) {
    const size_t colon = where.rfind(':');
    if (colon == std::string::npos) {
        if (default_host == nullptr) {
            error = "'" + where + "' is not HOST:PORT";
            return false;
        }
        host = default_host;
        port = where;
    } else {
        host = where.substr(0, colon);
        port = where.substr(colon + 1);
        if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
            host = host.substr(1, host.size() - 2);
    }
    bool digits = !port.empty() && port.size() <= 5;
    for (char c : port) digits = digits && c >= '0' && c <= '9';
    if (!digits || std::stol(port) < 1 || std::stol(port) > 65535) {
        error = "'" + where + "': the port is not a number from 1 to 65535";
        return false;
    }
    if (host.empty()) {
        error = "'" + where + "': the host is missing";
        return false;
    }
    return true;
}

// Opens a UDP socket and binds or connects it to the first address of where that takes it.
int open_socket(const std::string& where, const char* default_host, bool listen,
                std::string& error) {
    std::string host, port;
    if (!split_address(where, default_host, host, port, error)) return -1;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int looked = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (looked != 0) {
        error = "'" + where + "': " + gai_strerror(looked);
        return -1;
    }
    int fd = -1;
    int cause = 0;
    for (addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            cause = errno;
            continue;
        }
        const int done =
            listen ? bind(fd, a->ai_addr, a->ai_addrlen) : connect(fd, a->ai_addr, a->ai_addrlen);
        if (done != 0) {
            cause = errno;
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    if (fd < 0)
        error = "'" + where + "': " + (listen ? "cannot listen there (" : "cannot send there (") +
                std::strerror(cause) + ")";
    return fd;
}

}  // namespace

int open_osc_sender(const std::string& where, std::string& error) {
    return open_socket(where, nullptr, false, error);
}

int open_osc_listener(const std::string& where, std::string& error) {
    return open_socket(where, "127.0.0.1", true, error);
}

bool send_datagram(int socket, const uint8_t* data, size_t size) {
    const ssize_t sent = send(socket, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    return sent == static_cast<ssize_t>(size);
}

long receive_datagram(int socket, uint8_t* data, size_t size) {
    for (;;) {
        const ssize_t got = recv(socket, data, size, MSG_DONTWAIT | MSG_TRUNC);
        if (got >= 0) return static_cast<size_t>(got) > size ? -1 : static_cast<long>(got);
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

void close_socket(int socket) {
    if (socket >= 0) close(socket);
}

int open_loopback_receiver(int& port) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
        if (fd >= 0) close(fd);
        return -1;
    }
    port = ntohs(a.sin_port);
    return fd;
}
