#include "engine/UnoCallbacks.h"

#include <com/sun/star/document/BrokenPackageRequest.hpp>
#include <com/sun/star/task/DocumentMSPasswordRequest.hpp>
#include <com/sun/star/task/DocumentMSPasswordRequest2.hpp>
#include <com/sun/star/task/DocumentPasswordRequest.hpp>
#include <com/sun/star/task/DocumentPasswordRequest2.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionApprove.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>

#include <algorithm>

namespace slidemill {

void SAL_CALL
RefusingInteractionHandler::handle(const css::uno::Reference<css::task::XInteractionRequest>& request) {
    if (!request.is())
        return;
    const css::uno::Any question = request->getRequest();
    const auto type = question.getValueType();
    bool refuse = true;
    if (type == cppu::UnoType<css::task::DocumentPasswordRequest2>::get() ||
        type == cppu::UnoType<css::task::DocumentPasswordRequest>::get() ||
        type == cppu::UnoType<css::task::DocumentMSPasswordRequest2>::get() ||
        type == cppu::UnoType<css::task::DocumentMSPasswordRequest>::get()) {
        asked_ = LoadQuestion::Password;
    } else if (type == cppu::UnoType<css::document::BrokenPackageRequest>::get()) {
        asked_ = LoadQuestion::Repair;
    } else {
        if (asked_ == LoadQuestion::None)
            asked_ = LoadQuestion::Other;
        questionType_ = ToUtf8(type.getTypeName());
        refuse = false;
    }
    const auto continuations = request->getContinuations();
    css::uno::Reference<css::task::XInteractionContinuation> abort, approve;
    for (const auto& continuation : continuations) {
        if (!abort.is() &&
            css::uno::Reference<css::task::XInteractionAbort>(continuation, css::uno::UNO_QUERY).is())
            abort = continuation;
        if (!approve.is() &&
            css::uno::Reference<css::task::XInteractionApprove>(continuation, css::uno::UNO_QUERY).is())
            approve = continuation;
    }
    if (!refuse && approve.is())
        approve->select();
    else if (abort.is())
        abort->select();
}

ProgressForwarder::ProgressForwarder(Report report, float fromPercent, float toPercent)
    : report_(std::move(report)), from_(fromPercent), to_(toPercent) {}

void SAL_CALL ProgressForwarder::start(const rtl::OUString&, sal_Int32 range) {
    range_ = range > 0 ? range : 100;
    setValue(0);
}

void SAL_CALL ProgressForwarder::end() {
    setValue(range_);
}

void SAL_CALL ProgressForwarder::reset() {
    setValue(0);
}

void SAL_CALL ProgressForwarder::setValue(sal_Int32 value) {
    const float share = std::clamp(static_cast<float>(value) / static_cast<float>(range_), 0.0f, 1.0f);
    const float percent = from_ + (to_ - from_) * share;
    // One call per page reaches us: report only visible changes.
    if (report_ && (percent >= last_ + 1.0f || percent < last_ || share >= 1.0f)) {
        last_ = percent;
        report_(percent);
    }
}

} // namespace slidemill
