#include "link/osc_packet.h"

#include <cmath>
#include <cstring>

namespace {

struct Bytes {
    const uint8_t* p;
    size_t left;
};

uint32_t big_endian_32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | static_cast<uint32_t>(p[3]);
}

bool take_32(Bytes& b, uint32_t& v) {
    if (b.left < 4) return false;
    v = big_endian_32(b.p);
    b.p += 4;
    b.left -= 4;
    return true;
}

// An OSC string: its bytes up to a NUL that stands within the packet, padded to four bytes.
bool take_string(Bytes& b, const char*& text, size_t& length) {
    const void* nul = std::memchr(b.p, 0, b.left);
    if (nul == nullptr) return false;
    length = static_cast<size_t>(static_cast<const uint8_t*>(nul) - b.p);
    const size_t padded = (length + 4) & ~size_t{3};
    if (padded > b.left) return false;
    text = reinterpret_cast<const char*>(b.p);
    b.p += padded;
    b.left -= padded;
    return true;
}

bool starts_with(const char* text, size_t length, const char* prefix, size_t& rest) {
    const size_t n = std::strlen(prefix);
    if (length < n || std::memcmp(text, prefix, n) != 0) return false;
    rest = n;
    return true;
}

// The one argument of a message as a whole number of the 32-bit range.
bool whole_argument(Bytes& b, const char* tags, size_t tag_length, int32_t& value) {
    if (tag_length != 2) return false;
    uint32_t word = 0;
    switch (tags[1]) {
        case 'i':
            if (!take_32(b, word)) return false;
            value = static_cast<int32_t>(word);
            return b.left == 0;
        case 'h': {
            uint32_t low = 0;
            if (!take_32(b, word) || !take_32(b, low) || b.left != 0) return false;
            const int64_t wide = static_cast<int64_t>(static_cast<uint64_t>(word) << 32 | low);
            if (wide < INT32_MIN || wide > INT32_MAX) return false;
            value = static_cast<int32_t>(wide);
            return true;
        }
        case 'f': {
            if (!take_32(b, word) || b.left != 0) return false;
            float f;
            std::memcpy(&f, &word, sizeof f);
            if (!std::isfinite(f) || f != std::trunc(f) || f < -2147483648.0f || f >= 2147483648.0f)
                return false;
            value = static_cast<int32_t>(f);
            return true;
        }
        default:
            return false;
    }
}

// A swarm's number: one digit from 1 to 9.
bool one_digit(const char* text, size_t length, int& n) {
    if (length != 1 || text[0] < '1' || text[0] > '9') return false;
    n = text[0] - '0';
    return true;
}

// One message, all of b; adds its command or counts it bad.
void read_message(Bytes b, OscCommands& out) {
    const char* address = nullptr;
    const char* tags = nullptr;
    size_t address_length = 0, tag_length = 0, rest = 0;
    RemoteCommand c{};
    int32_t value = 0;
    bool ok = take_string(b, address, address_length) && take_string(b, tags, tag_length) &&
              tag_length >= 1 && tags[0] == ',' && whole_argument(b, tags, tag_length, value);
    if (ok && starts_with(address, address_length, "/lumora/swarm/", rest)) {
        // /lumora/swarm/N/NAME
        int swarm = 0;
        const char* name = address + rest + 2;
        ok = address_length > rest + 2 && address[rest + 1] == '/' &&
             one_digit(address + rest, 1, swarm);
        const int field = ok ? editable_field_named(name, address_length - rest - 2) : -1;
        c = {RemoteKind::FIELD, static_cast<int8_t>(swarm), static_cast<int8_t>(field), value};
    } else if (ok && address_length == 13 && std::memcmp(address, "/lumora/pause", 13) == 0) {
        c = {RemoteKind::PAUSE, 0, 0, value};
    } else if (ok && address_length == 14 && std::memcmp(address, "/lumora/preset", 14) == 0) {
        c = {RemoteKind::PRESET, 0, 0, value};
    } else if (ok && address_length == 14 && std::memcmp(address, "/lumora/random", 14) == 0) {
        c = {RemoteKind::RANDOM, 0, 0, value};
    } else {
        ok = false;
    }
    if (!ok || !is_valid_remote(c) || out.count == REMOTE_PER_FRAME) {
        ++out.bad;
        return;
    }
    out.command[out.count++] = c;
}

bool is_bundle(const Bytes& b) { return b.left >= 8 && std::memcmp(b.p, "#bundle", 8) == 0; }

// A message or a bundle, all of b.
void read_element(Bytes b, int depth, OscCommands& out) {
    if (!is_bundle(b)) {
        read_message(b, out);
        return;
    }
    // "#bundle", the time tag, then elements each after its size.
    if (depth >= OSC_BUNDLE_DEPTH || b.left < 16) {
        ++out.bad;
        return;
    }
    b.p += 16;
    b.left -= 16;
    while (b.left > 0) {
        uint32_t size = 0;
        if (!take_32(b, size) || size == 0 || size % 4 != 0 || size > b.left) {
            ++out.bad;  // the rest of the bundle cannot be told apart: one bad message
            return;
        }
        read_element({b.p, size}, depth + 1, out);
        b.p += size;
        b.left -= size;
    }
}

}  // namespace

void read_osc_packet(const uint8_t* data, size_t size, OscCommands& out) {
    out.count = 0;
    out.bad = 0;
    if (size == 0 || size % 4 != 0) {
        out.bad = 1;
        return;
    }
    read_element({data, size}, 0, out);
}
