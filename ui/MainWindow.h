#pragma once

#include "core/Prompt.h"
#include "run/MainWindowModel.h"
#include "run/RunParts.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QTabWidget;
class QTableView;

namespace slidemill {

class GridTableModel;
class LocalZone;
class SchedulerClock;
class SchedulerWindow;
class RunStatusBar;
class TaskEditorWidget;

// The one top-level window: menus, toolbar, the two-page tab strip with the task editor above
// the task grid and the log grid, and the status bar. A thin layer over MainWindowModel: it
// mirrors the model's states into widgets and forwards every user action to it.
class MainWindow : public QMainWindow, private MainWindowView {
    Q_OBJECT
public:
    // prompt answers every question the window asks (a real box in the program, a script in
    // tests). settingsFile: the settings file the window reads at load and writes at close.
    // clock and zone: where the scheduler reads the time (the system's when null).
    MainWindow(RunParts& parts, Prompt& prompt, const std::string& settingsFile, QWidget* parent = nullptr,
               SchedulerClock* clock = nullptr, const LocalZone* zone = nullptr);
    ~MainWindow() override;

    MainWindowModel& Model() { return *model_; }
    TaskEditorWidget& Editor() { return *editor_; }
    // The scheduler window, created (hidden) with this window; it stays until this one goes.
    SchedulerWindow& Scheduler() const;
    // "Schedule a Conversion Job": the scheduler window, modal, over a freshly read job file list.
    void ScheduleConversionJob();

    // The window's title: the job's caption joined with the frame's ("'Slidemill'").
    QString Caption() const;

    // The window's parts, by the names the program gives them ("keyNew", "mnuPause"); null for
    // an unknown name.
    QAction* FindAction(const QString& name) const;
    QTableView& TaskView() const;
    QTableView& LogView() const;
    QTabWidget& Tabs() const;
    RunStatusBar& StatusPanels() const;
    QMenu& GridPopup() const;
    // The recently-used job entries of the File menu, newest first.
    std::vector<QAction*> RecentJobActions() const;

signals:
    // The close was accepted (the job saved or discarded, the settings written): the frame's
    // placement is to be saved now, before the window goes.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* AddAction(const char* name, const char* caption, const char* tip, std::function<void()> handler);
    void BuildActions();
    void BuildMenus();
    void BuildToolbar();
    void BuildPages();
    QTableView* MakeGridView(GridTableModel& model, const QString& name, bool (*hidden)(int));
    static int FirstVisibleColumn(const QTableView& view);
    // Makes gridRow the view's current row, selected whole, without asking the model.
    void SelectGridRow(QTableView& view, int gridRow);
    // The user moved the task grid's current row: the model may keep the old one.
    void UserChangedRow(const QModelIndex& current, const QModelIndex& previous);
    void ApplyScrollRequests();
    void StepTab(int step);
    // The editor takes the arrangement that fits the width it has, and its pane its height.
    void FitEditor(bool always);
    void SizeEditorPane();
    void ApplyOptimizeChecks(bool speed);
    // Runs the job; a close asked for during the run follows once it has returned.
    RunEnd BeginRun();
    // A run is in progress, or paused but not yet returned.
    bool RunOnStack() const;
    void MoveTask(MoveKind kind);
    // The scheduler: its window read from the settings, its runs and countdown wired to this
    // window, and a schedule the settings ask for restarted.
    void BuildScheduler(Prompt& prompt, const std::string& settingsFile, SchedulerClock* clock,
                        const LocalZone* zone);
    // frmSched_RunTheJobEvent; false when the job did not run.
    bool RunScheduledJob(const std::string& path);
    void SetFrameCaption(const QString& caption);
    // Writes the schedule and its job file list; the scheduler stops with the window.
    void UnloadScheduler();

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
    struct SchedulerParts;
    std::unique_ptr<SchedulerParts> scheduler_;
    std::unique_ptr<MainWindowModel> model_;
    TaskEditorWidget* editor_ = nullptr;
};

} // namespace slidemill
