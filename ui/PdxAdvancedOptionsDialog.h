#pragma once

#include "core/Prompt.h"
#include "settings/PdfOptions.h"

#include <QDialog>

#include <memory>

namespace slidemill {

// "Advanced Options" of "PDF - with options": which groups of settings are enforced on the
// produced document, the unit lengths show in, and the image quality. The page and password
// groups are edited by their own dialogs straight into mother; the paragraph and font values
// on a working copy that reaches mother only on "&Apply". The unit takes effect at once.
class PdxAdvancedOptionsDialog : public QDialog {
    Q_OBJECT
public:
    PdxAdvancedOptionsDialog(PdfOptions& mother, Prompt& prompt, QWidget* parent = nullptr);
    ~PdxAdvancedOptionsDialog() override;

    // The paragraph and font values being edited.
    const PdfOptions& Working() const { return working_; }

    void cmdApply_Click();
    void cmdChangePageSettings_Click();
    void cmdChangeParagraphSettings_Click();
    void cmdChangeFontSettings_Click();
    void cmdChangePDFSettings_Click();

private:
    void UnitChosen(int16_t unit);
    void UpdateVisibility();

    struct Widgets;
    std::unique_ptr<Widgets> w_;
    PdfOptions& mother_;
    Prompt& prompt_;
    PdfOptions working_;
};

} // namespace slidemill
