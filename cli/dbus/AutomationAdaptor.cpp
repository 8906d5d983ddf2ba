#include "cli/dbus/AutomationAdaptor.h"

#include "cli/dbus/AutomationServer.h"

namespace slidemill {

AutomationAdaptor::AutomationAdaptor(AutomationServer* server)
    : QDBusAbstractAdaptor(server), server_(server) {}

int AutomationAdaptor::DoCommandLine(const QString& sCommand, const QDBusMessage& message) {
    return server_->DoCommandLine(sCommand, message);
}

} // namespace slidemill
