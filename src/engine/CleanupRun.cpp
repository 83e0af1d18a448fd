#include "engine/setupengine.h"
