#pragma once

#include "core/Prompt.h"
#include "run/MainWindowModel.h"
#include "run/RunParts.h"

#include <QMainWindow>

#include <memory>
#include <string>

namespace slidemill {

class TaskEditorWidget;

// The one top-level window: menus, toolbar, the two-page tab strip with the task editor above
// the task grid and the log grid, and the status bar. A thin layer over MainWindowModel: it
// mirrors the model's states into widgets and forwards every user action to it.
class MainWindow : public QMainWindow, private MainWindowView {
    Q_OBJECT
public:
    // prompt answers every question the window asks (a real box in the program, a script in
    // tests). settingsFile: the settings file the window reads at load and writes at close.
    MainWindow(RunParts& parts, Prompt& prompt, const std::string& settingsFile, QWidget* parent = nullptr);
    ~MainWindow() override;

    MainWindowModel& Model() { return *model_; }
    TaskEditorWidget& Editor() { return *editor_; }

    // The window's title: the job's caption joined with the frame's ("'Slidemill'").
    QString Caption() const;

signals:
    // The close was accepted (the job saved or discarded, the settings written): the frame's
    // placement is to be saved now, before the window goes.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // MainWindowView.
    void EditorChanged() override;
    void CommandStatesChanged(const CommandStates& states) override;
    void JobCaptionChanged(const std::string& caption) override;
    void RecentListsChanged() override;
    void FocusTaskGrid() override;
    void FocusEditorField(TaskEditorField field) override;
    bool LogPageSelected() const override;
    bool WindowVisible() const override;
    void OpenExternally(const std::string& pathOrUrl) override;

    struct Widgets;
    std::unique_ptr<Widgets> widgets_;
    std::unique_ptr<MainWindowModel> model_;
    TaskEditorWidget* editor_ = nullptr;
};

} // namespace slidemill
