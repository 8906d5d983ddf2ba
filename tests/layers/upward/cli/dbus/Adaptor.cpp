#include <QDBusConnection>
#include "run/JobRunner.h"
