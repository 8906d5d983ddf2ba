#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QString>

namespace slidemill {

class AutomationServer;

// The automation interface as other programs see it on the bus: one method and one signal.
class AutomationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.slidemill.Automation")
public:
    explicit AutomationAdaptor(AutomationServer* server);

public slots:
    // The run status; the reply is sent when the line has run.
    int DoCommandLine(const QString& sCommand, const QDBusMessage& message);

signals:
    // Sent by the server to the one caller it concerns; declared here so that the interface
    // describes it.
    void OnError(int lErr, const QString& sErr);

private:
    AutomationServer* server_;
};

} // namespace slidemill
