#pragma once
// Where the running test program (and the helper programs built beside it) lives.
#include <filesystem>

std::filesystem::path TestProgramDir();
