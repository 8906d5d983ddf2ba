#pragma once

#include "platform/FileSystem.h"
#include <string>
