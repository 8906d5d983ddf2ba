#pragma once

#include "run/MainWindowModel.h"
#include "run/Validation.h"

#include <QWidget>

namespace slidemill {

// The task editor: the action choice, the conversion panel and the special-processing panel in
// front of each other, with every box, list, picker and launch button. Its controls are bound to
// the model's EditorState: ShowEditor() writes the values and the control states into the
// widgets (with control events suppressed), and every user change goes to the model.
class TaskEditorWidget : public QWidget {
    Q_OBJECT
public:
    explicit TaskEditorWidget(MainWindowModel& model, QWidget* parent = nullptr);
    ~TaskEditorWidget() override;

    // Fills the lists from the model (after MainWindowModel::Load) and shows the editor.
    void FillLists();
    // Refills the boxes that offer recently used texts (after the model's RecentListsChanged);
    // the fields keep the editor's values.
    void FillRecentLists();
    // Shows Editor() and Controls() of the model again.
    void ShowEditor();
    // Puts the focus on a field with its text selected.
    void FocusField(TaskEditorField field);
    // The editor's command buttons ("&Add", "&Delete", "&Update", "&Pause") take these states.
    void SetCommandButtons(bool add, bool remove, bool update, bool pause);
    // Lays the original and target sets side by side when width allows it, else one above the
    // other, so a narrow window never hides the command buttons off to the right. True when
    // the arrangement changed (the editor's height with it).
    bool FitWidth(int width);
    bool SetsStacked() const { return stacked_; }
    // The "Advanced Options" dialog of the editor's task, modal; unless it was cancelled the
    // task row is updated with what it stored. True when it was applied.
    bool OpenAdvancedOptions();

private:
    struct Widgets;
    std::unique_ptr<Widgets> widgets_;
    MainWindowModel& model_;
    bool stacked_ = false;
    int sideBySideWidth_ = 0;
};

} // namespace slidemill
