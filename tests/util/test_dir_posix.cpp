#include <filesystem>

#include "tests/util/test_dir.h"

std::filesystem::path TestProgramDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }
