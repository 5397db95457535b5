// The field's size and the table's capacity as the command line and sweep files give them:
// `--size WxH` (or `screen` where a program can fill one) and `--fireflies N`.
#pragma once

#include <string>

// Reads a size such as "1920x1080" into w and h, within the field's limits. Returns false with
// a message naming the limits in error.
bool read_field_size(const char* text, int& w, int& h, std::string& error);

// Reads a number of firefly slots within the table's limits. Returns false with a message
// naming the limits in error.
bool read_firefly_capacity(const char* text, int& capacity, std::string& error);
