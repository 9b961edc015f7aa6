#pragma once
// The name a picture is saved under.
#include "util/text.h"

// The confirmed path with its file name made to end in ".png": appended unless the name already
// ends so (compared without regard to case). The folders are never changed. Empty when the path
// is empty or names no file (it ends in a separator).
Text SaveNameFor(const Text& confirmedPath);
