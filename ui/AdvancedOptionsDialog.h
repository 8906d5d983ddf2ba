#pragma once

#include "core/AdvancedOptions.h"

#include <QDialog>

#include <memory>

class QTabWidget;

namespace slidemill {

class MainWindowModel;

// Ctrl+Tab and Ctrl+Shift+Tab step through the tabs of a dialog, wrapping at both ends,
// wherever the focus is inside it.
void AddTabCycling(QDialog& dialog, QTabWidget& tabs);

// "Advanced Options" of a conversion task: which slides, notes, one file per slide, slide and
// shape info, text-only PDF, and moving or deleting the inputs. It edits its mother's values
// (MainWindowModel::AdvancedOptions) and stores them only on a successful "&Apply".
class AdvancedOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // bSupportsSingleFileOutput: the target format can make one file of a whole presentation.
    AdvancedOptionsDialog(MainWindowModel& frmMother, bool bSupportsSingleFileOutput, QWidget* parent = nullptr);
    ~AdvancedOptionsDialog() override;

    // True unless "&Apply" stored the values.
    bool bCancelled() const { return bCancelled_; }

    // What the controls show now.
    AdvancedOptionsValues Shown() const;

    void cmdApply_Click();
    void cmdCancel_Click();
    // "Advanced PDF Options": the "PDF - with options" settings of the mother.
    void cmdPdxAdvancedOptions_Click();

private:
    void Load(const AdvancedOptionsValues& values);
    void TabSelected(int index);
    void UpdateEnabling();

    struct Widgets;
    std::unique_ptr<Widgets> w_;
    MainWindowModel& frmMother_;
    bool bCancelled_ = true;
};

} // namespace slidemill
