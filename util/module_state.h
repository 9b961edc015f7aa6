#pragma once
// Process-wide values fixed at start-up and read by the text and process utilities.
#include <cstdint>

// Code page of command lines and of decoded tool output; 936 for the whole run.
inline std::int32_t consoleCodePage = 936;

// ((major & 0xFF) << 8) | (minor & 0xFF) of the running Windows; 0 when it could not be read.
inline std::int32_t osVersionWord = 0;
