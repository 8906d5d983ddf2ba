#pragma once

#include "cli/dbus/AutomationSession.h"

#include <QObject>
#include <QString>

#include <memory>

namespace slidemill {

// Runs the command lines on a thread of its own, so that the bus stays answered (a second
// caller is refused at once instead of timing out) while a conversion takes minutes. The run
// parts are made on that thread at the first line, kept (the offices warm) for the lines after
// it, and used only there.
class AutomationWorker : public QObject {
    Q_OBJECT
public:
    explicit AutomationWorker(RunPartsFactory makeParts);
    ~AutomationWorker() override;

public slots:
    void Run(const QString& command);
    // Releases the parts on the worker thread; called before that thread ends.
    void ShutDown();

signals:
    void ErrorRaised(int lErr, const QString& sErr);
    void Finished(int status);

private:
    RunPartsFactory makeParts_;
    std::unique_ptr<AutomationSession> session_;
};

} // namespace slidemill
