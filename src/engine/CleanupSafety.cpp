#include "engine/CleanupSafety.h"
