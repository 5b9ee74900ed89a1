#pragma once
// Small helpers the fuzz targets share.
#include <cstdio>
#include <string>

// "41 B0 A1" for a byte string, for reports of a failed check.
inline std::string Hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    if (!out.empty()) out.pop_back();
    return out;
}
