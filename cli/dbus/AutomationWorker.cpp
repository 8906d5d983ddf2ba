#include "cli/dbus/AutomationWorker.h"

#include "core/ConversionComponent.h"

#include <exception>

namespace slidemill {

AutomationWorker::AutomationWorker(ComponentFactory makeComponent)
    : makeComponent_(std::move(makeComponent)) {}

AutomationWorker::~AutomationWorker() = default;

void AutomationWorker::Run(const QString& command) {
    if (!session_) {
        std::unique_ptr<ConversionComponent> component;
        try {
            if (makeComponent_)
                component = makeComponent_();
        } catch (const std::exception&) {
            component.reset();
        }
        // Without a component every line fails cleanly; a later line tries again.
        if (component)
            session_ = std::make_unique<AutomationSession>(std::move(component));
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
