// A pass over the bytes of a .X file before the DirectX File parser sees them. The system's parser
// copies names and strings into fixed buffers without checking their length, takes list counts on
// trust, and unpacks compressed files into a buffer sized from a field of the file; a file that
// would make it overrun is refused here. The pass reads memory already read once, token by token,
// and allocates nothing.
#pragma once
#include <cstddef>

// Longest name and string the parser holds (its buffers, less the terminating zero).
const size_t HvXMaxNameLength = 31;
const size_t HvXMaxStringLength = 99;

// False for a header other than uncompressed text or binary version 3.2/3.3, a name or string longer
// than the limits above, and (binary) a token cut short or a list claiming more elements than follow.
bool HvXFileIsParsable(const char* data, size_t size);
