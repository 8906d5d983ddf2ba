#include "cli/dbus/AutomationWorker.h"

#include "run/RunParts.h"

#include <exception>

namespace slidemill {

AutomationWorker::AutomationWorker(RunPartsFactory makeParts) : makeParts_(std::move(makeParts)) {}

AutomationWorker::~AutomationWorker() = default;

void AutomationWorker::Run(const QString& command) {
    if (!session_) {
        std::unique_ptr<RunParts> parts;
        try {
            if (makeParts_)
                parts = makeParts_();
        } catch (const std::exception&) {
            parts.reset();
        }
        // Without parts every line fails cleanly; a later line tries again.
        if (parts)
            session_ = std::make_unique<AutomationSession>(std::move(parts));
    }
    if (!session_) {
        emit ErrorRaised(kRunStatusInternalError, QString::fromStdString(NoComponentMessage()));
        emit Finished(kRunStatusInternalError);
        return;
    }
    session_->onError = [this](int32_t lErr, const std::string& sErr) {
        emit ErrorRaised(lErr, QString::fromStdString(sErr));
    };
    const int32_t status = session_->DoCommandLine(command.toStdString());
    emit Finished(status);
}

void AutomationWorker::ShutDown() {
    session_.reset();
}

} // namespace slidemill
