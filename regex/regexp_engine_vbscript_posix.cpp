#include "regex/regexp_engine.h"

// No automation objects and no COM here: the wrapper falls back to the built-in engine.
std::unique_ptr<RegExpEngine> CreateSystemRegExpEngine() { return nullptr; }

std::unique_ptr<RegExpPlatformScope> EnterRegExpPlatform() { return nullptr; }
