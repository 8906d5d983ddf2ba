#pragma once

#include "engine/UnoSupport.h"

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XStatusIndicator.hpp>
#include <cppuhelper/implbase1.hxx>

#include <functional>
#include <string>

namespace slidemill {

// What the office asked while loading.
enum class LoadQuestion { None, Password, Repair, Other };

// Answers every question of the office without a person: a password or a repair of a damaged
// file is refused (the load then fails quickly instead of waiting for input), anything else
// is approved where that is possible. It remembers what was asked.
class RefusingInteractionHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    void SAL_CALL handle(const css::uno::Reference<css::task::XInteractionRequest>& request) override;

    LoadQuestion Asked() const { return asked_; }
    const std::string& QuestionType() const { return questionType_; }

private:
    LoadQuestion asked_ = LoadQuestion::None;
    std::string questionType_;
};

// Passes the office's progress on as a percentage between two bounds.
class ProgressForwarder : public cppu::WeakImplHelper1<css::task::XStatusIndicator> {
public:
    using Report = std::function<void(float)>;
    ProgressForwarder(Report report, float fromPercent, float toPercent);

    void SAL_CALL start(const rtl::OUString& text, sal_Int32 range) override;
    void SAL_CALL end() override;
    void SAL_CALL setText(const rtl::OUString&) override {}
    void SAL_CALL setValue(sal_Int32 value) override;
    void SAL_CALL reset() override;

private:
    Report report_;
    float from_;
    float to_;
    sal_Int32 range_ = 100;
    float last_ = -1;
};

} // namespace slidemill
