#pragma once
// A 2 x 2 24-bit BMP (padded rows) for tests and fuzzers that need a texture
// file on disk.

inline constexpr unsigned char kTinyBmp[] = {
    'B', 'M', 70, 0, 0,  0, 0, 0, 0,   0, 54, 0, 0,   0, 40, 0, 0, 0, 2,   0,   0,   0,   2, 0,
    0,   0,   1,  0, 24, 0, 0, 0, 0,   0, 16, 0, 0,   0, 0,  0, 0, 0, 0,   0,   0,   0,   0, 0,
    0,   0,   0,  0, 0,  0, 0, 0, 255, 0, 0,  0, 255, 0, 0,  0, 0, 0, 255, 255, 255, 255, 0, 0};
