#pragma once

#include "run/RunState.h"
#include "../run/RunHost.h"
#include <QString>
#include "core/Grid.h"
