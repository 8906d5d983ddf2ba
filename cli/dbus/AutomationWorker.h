#pragma once

#include "cli/dbus/AutomationSession.h"

#include <QObject>
#include <QString>

#include <memory>

namespace slidemill {

// Runs the command lines on a thread of its own, so that the bus stays answered (a second
// caller is refused at once instead of timing out) while a conversion takes minutes. The
// component is created on that thread and used only there.
class AutomationWorker : public QObject {
    Q_OBJECT
public:
    explicit AutomationWorker(ComponentFactory makeComponent);
    ~AutomationWorker() override;

public slots:
    void Run(const QString& command);
    // Releases the component on the worker thread; called before that thread ends.
    void ShutDown();

signals:
    void ErrorRaised(int lErr, const QString& sErr);
    void Finished(int status);

private:
    ComponentFactory makeComponent_;
    std::unique_ptr<AutomationSession> session_;
};

} // namespace slidemill
