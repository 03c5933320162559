#pragma once
// A PNG's compressed pixel stream, checked before the decoder sees it. The
// decoder grows its output for as long as a damaged stream goes on, and a
// stream cut short reads on as zeros: a PNG of a few dozen bytes was seen
// to take 600 MB. Here the stream is inflated into a small scratch buffer
// and counted, so the check costs no memory.

#include <cstddef>
#include <string>

// True when every chunk lies whole in the file and the IDAT chunks hold one
// complete zlib stream that inflates to no more than the image's header
// allows (its rows, each with its filter byte, for every interlace pass).
// Otherwise false, with the reason.
bool pngStreamFits(const unsigned char* data, size_t size, std::string* reason);
