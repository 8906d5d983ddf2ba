#include "engine/EngineOptions.h"
