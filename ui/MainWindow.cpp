#include "ui/MainWindow.h"
#include "ui/UiText.h"

#include "core/LogGrid.h"
#include "core/MruPresentation.h"
#include "core/TaskGrid.h"
#include "core/Translate.h"
#include "run/ResponsiveComponent.h"
#include "sched/Scheduler.h"
#include "settings/IniFile.h"
#include "ui/GridTableModel.h"
#include "ui/RunStatusBar.h"
#include "ui/SchedulerWindow.h"
#include "ui/TaskEditorWidget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <map>

namespace slidemill {

namespace {


QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), QApplication::style()->standardIcon(fallback));
}

// The rows a view of the grid shows at a time when the window opens.
constexpr int kInitialGridRows = 11;

} // namespace

struct MainWindow::Widgets {
    RunStatusBar* status = nullptr;
    std::unique_ptr<ResponsiveRunParts> parts;
    QTabWidget* tabs = nullptr;
    QSplitter* taskPage = nullptr;
    QScrollArea* editorArea = nullptr;
    QTableView* taskView = nullptr;
    QTableView* logView = nullptr;
    GridTableModel* taskModel = nullptr;
    GridTableModel* logModel = nullptr;
    QToolBar* toolbar = nullptr;
    QMenu* fileMenu = nullptr;
    QMenu* moveMenu = nullptr;
    QMenu* popup = nullptr;
    QAction* mruTop = nullptr;
    QAction* mruBottom = nullptr;
    std::vector<QAction*> mruEntries;
    std::map<QString, QAction*> actions;
    std::string jobCaption = "*";
    QString frameCaption = QStringLiteral("'Slidemill'");
    // The view's selection is being changed by the program, not by the user.
    bool syncingSelection = false;
    bool closeAfterRun = false;
    // Runs begun here that have not returned yet. A paused run is no longer running, but its
    // runner is still further up the stack until it returns.
    int runsOnStack = 0;
    bool closed = false;

    QAction* Action(const char* name) const { return actions.at(QString::fromLatin1(name)); }
};

// The scheduler and what connects it to this window.
struct MainWindow::SchedulerParts {
    std::string settingsFile;
    SystemSchedulerClock systemClock;
    SystemLocalZone systemZone;
    std::unique_ptr<SchedulerRunBinding> events;
    std::unique_ptr<SchedulerMessageBox> messages;
    std::unique_ptr<slidemill::Scheduler> scheduler;
    SchedulerWindow* window = nullptr;
    bool unloaded = false;
};

MainWindow::MainWindow(RunParts& parts, Prompt& prompt, const std::string& settingsFile, QWidget* parent,
                       SchedulerClock* clock, const LocalZone* zone)
    : QMainWindow(parent), widgets_(std::make_unique<Widgets>()) {
    Widgets& w = *widgets_;
    w.status = new RunStatusBar(*statusBar(), *this, this);
    w.parts = std::make_unique<ResponsiveRunParts>(parts, *w.status);
    model_ = std::make_unique<MainWindowModel>(*w.parts, prompt, *w.status, *w.status,
                                               static_cast<MainWindowView&>(*this), settingsFile);
    w.status->SetBlinkTick([this] { model_->Runner().CompletionBlinkTick(); });

    BuildActions();
    BuildMenus();
    BuildToolbar();
    BuildPages();

    model_->Load();
    editor_->FillLists();
    ApplyOptimizeChecks(model_->Assembly().Parts().Component().OptimizeForSpeed());
    RecentListsChanged();
    JobCaptionChanged(model_->Document().sJobFile);
    SelectGridRow(*w.taskView, model_->Document().fgToDo.Row());
    model_->UpdateMenuToolbar();
    resize(1000, 720);
    BuildScheduler(prompt, settingsFile, clock, zone);
}

void MainWindow::BuildScheduler(Prompt& prompt, const std::string& settingsFile, SchedulerClock* clock,
                                const LocalZone* zone) {
    scheduler_ = std::make_unique<SchedulerParts>();
    SchedulerParts& s = *scheduler_;
    s.settingsFile = settingsFile;
    s.events = std::make_unique<SchedulerRunBinding>(
        [this](const std::string& path) { return RunScheduledJob(path); },
        [this](const std::string& caption) { SetFrameCaption(QString::fromStdString(caption)); });
    s.messages = std::make_unique<SchedulerMessageBox>(prompt);
    s.scheduler = std::make_unique<slidemill::Scheduler>(clock ? *clock : s.systemClock, zone ? *zone : s.systemZone,
                                                         *s.events, *s.messages);
    s.scheduler->ReadIniFileScheduler(IniFile(settingsFile));
    s.scheduler->SetUpScheduler(settingsFile);
    s.window = new SchedulerWindow(*s.scheduler, prompt, this);
    s.messages->SetWindow(s.window);
    s.window->Refresh();
    connect(s.window, &SchedulerWindow::schedulerStateChanged, this, [this] { model_->UpdateMenuToolbar(); });

    slidemill::Scheduler* scheduler = s.scheduler.get();
    model_->SetSchedulerEnabledQuery([scheduler] { return scheduler->bSchedularEnabled(); });
    model_->SetSchedulerStop([this] {
        scheduler_->window->ConversionJobPaused();
        SetFrameCaption(QStringLiteral("'Slidemill'"));
    });

    QAction* schedule = widgets_->Action("mnuScheduleConversionJob");
    connect(schedule, &QAction::triggered, this, [this] { ScheduleConversionJob(); });
    schedule->setEnabled(true);

    model_->UpdateMenuToolbar();
    // A stored schedule restarts once the window is up, so that a message about it has a window
    // to belong to and does not stand alone beside the start-up window.
    QTimer::singleShot(0, this, [this] {
        SchedulerParts& parts = *scheduler_;
        if (parts.unloaded)
            return;
        if (RestartPersistedSchedule(*parts.scheduler, parts.settingsFile, model_->Document().bCommandLineMode))
            parts.window->Refresh();
        model_->UpdateMenuToolbar();
    });
}

SchedulerWindow& MainWindow::Scheduler() const {
    return *scheduler_->window;
}

void MainWindow::ScheduleConversionJob() {
    SchedulerParts& s = *scheduler_;
    s.scheduler->SetUpScheduler(s.settingsFile);
    s.window->Refresh();
    s.window->exec();
    model_->UpdateMenuToolbar();
    if (!s.scheduler->bSchedularEnabled())
        SetFrameCaption(QStringLiteral("'Slidemill'"));
}

bool MainWindow::RunScheduledJob(const std::string& path) {
    Widgets& w = *widgets_;
    // A run by hand (or a paused one that has not returned yet) owns the grid.
    if (RunOnStack()) {
        model_->ScheduledRunSkipped(path);
        return false;
    }
    ++w.runsOnStack;
    const bool ran = model_->RunScheduledJob(path);
    --w.runsOnStack;
    model_->UpdateMenuToolbar();
    w.status->HideListProgress();
    if (w.runsOnStack == 0 && w.closeAfterRun) {
        w.closeAfterRun = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
    return ran;
}

void MainWindow::SetFrameCaption(const QString& caption) {
    widgets_->frameCaption = caption;
    setWindowTitle(Caption());
}

void MainWindow::UnloadScheduler() {
    SchedulerParts& s = *scheduler_;
    if (s.unloaded)
        return;
    s.unloaded = true;
    s.scheduler->cmdEndTimer_Click();
    s.window->Refresh();
    IniFile ini(s.settingsFile);
    s.scheduler->Unload(ini, model_->Document().bCommandLineMode);
}

MainWindow::~MainWindow() {
    // The scheduler window goes before the scheduler it shows.
    if (scheduler_) {
        delete scheduler_->window;
        scheduler_->window = nullptr;
    }
    // The editor and the views go before the model they show, the grid models before the grids
    // they observe.
    delete editor_;
    editor_ = nullptr;
    widgets_->taskView->setModel(nullptr);
    widgets_->logView->setModel(nullptr);
    delete widgets_->taskModel;
    delete widgets_->logModel;
    widgets_->taskModel = nullptr;
    widgets_->logModel = nullptr;
}

QString MainWindow::Caption() const {
    return QString::fromStdString(widgets_->jobCaption) + QStringLiteral(" - ") + widgets_->frameCaption;
}

QAction* MainWindow::FindAction(const QString& name) const {
    const auto it = widgets_->actions.find(name);
    return it == widgets_->actions.end() ? nullptr : it->second;
}

QTableView& MainWindow::TaskView() const {
    return *widgets_->taskView;
}

QTableView& MainWindow::LogView() const {
    return *widgets_->logView;
}

QTabWidget& MainWindow::Tabs() const {
    return *widgets_->tabs;
}

RunStatusBar& MainWindow::StatusPanels() const {
    return *widgets_->status;
}

QMenu& MainWindow::GridPopup() const {
    return *widgets_->popup;
}

std::vector<QAction*> MainWindow::RecentJobActions() const {
    return widgets_->mruEntries;
}

QAction* MainWindow::AddAction(const char* name, const char* caption, const char* tip,
                               std::function<void()> handler) {
    auto* action = new QAction(Tr(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    if (tip && *tip)
        action->setToolTip(Tr(tip));
    if (handler)
        connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    widgets_->actions[action->objectName()] = action;
    return action;
}

void MainWindow::BuildActions() {
    MainWindowModel& m = *model_;
    // The toolbar: each button with its caption and tooltip.
    AddAction("keyNew", "New", "Create a new conversion job", [&m] {
        m.NewJob();
    })->setIcon(ThemeIcon("document-new", QStyle::SP_FileIcon));
    AddAction("keyOpen", "Open", "", [&m] {
        m.OpenJob();
    })->setIcon(ThemeIcon("document-open", QStyle::SP_DialogOpenButton));
    AddAction("keyAdd", "&Add", "Add a conversion Task", [&m] {
        m.AddTask();
    })->setIcon(ThemeIcon("list-add", QStyle::SP_FileDialogNewFolder));
    AddAction("keyRemove", "&Delete", "Remove currently selected conversion Task (Del)", [&m] {
        m.DeleteTask();
    })->setIcon(ThemeIcon("list-remove", QStyle::SP_TrashIcon));
    AddAction("keyUpdate", "&Update", "Update currently selected conversion task", [&m] {
        m.UpdateTask();
    })->setIcon(ThemeIcon("document-save", QStyle::SP_DialogSaveButton));
    AddAction("keyRewind", "Rewind", "Rewind to the first conversion task", [&m] {
        m.Rewind();
    })->setIcon(ThemeIcon("media-skip-backward", QStyle::SP_MediaSkipBackward));
    AddAction("keyConvert", "Convert", "Begin Conversion (F5)", [this] {
        BeginRun();
    })->setIcon(ThemeIcon("media-playback-start", QStyle::SP_MediaPlay));
    AddAction("keyPause", "&Pause", "Pause conversion process", [&m] {
        m.Pause();
    })->setIcon(ThemeIcon("media-playback-pause", QStyle::SP_MediaPause));
    // The drop-down of "Open".
    AddAction("KeySave", "Save Conversion Job", "", [&m] { m.SaveJob(); });
    AddAction("KeySaveAs", "Save Conversion Job As..", "", [&m] { m.SaveJobAs(); });
    AddAction("KeyOpen", "Open Conversion Job..", "", [&m] { m.OpenJob(); });
    AddAction("KeySaveLogAsConversionJob", "Save &Log as a Conversion Job", "", [&m] { m.SaveLogAsJob(); });

    // The File menu.
    AddAction("mnuNewConversionJob", "&New Conversion Job", "", [&m] {
        m.NewJob();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    AddAction("mnuOpenConversionJob", "&Open Conversion Job", "", [&m] {
        m.OpenJob();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    AddAction("mnuSaveConversionJob", "Save Conversion Job", "", [&m] {
        m.SaveJob();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    AddAction("mnuSaveConversionJobAs", "Save Conversion Job &As..", "", [&m] { m.SaveJobAs(); });
    AddAction("mnuSaveLogAsConversionJob", "Save &Log as a Conversion Job", "", [&m] { m.SaveLogAsJob(); });
    // The program connects the language window, which also makes the entry available.
    AddAction("mnuLanguage", "Lan&guage", "", {})->setEnabled(false);
    for (const char* name : {"mnuOptimizeForSpeed", "mnuOptimizeForMemory"}) {
        const bool speed = std::string_view(name) == "mnuOptimizeForSpeed";
        QAction* action = AddAction(name, speed ? "Optimize For Speed" : "Optimize For Memory", "",
                                    [this, &m, speed] { ApplyOptimizeChecks(m.OptimizeForSpeed(speed)); });
        action->setCheckable(true);
    }
    AddAction("mnuExit", "E&xit", "", [this] { close(); });

    // The Conversion menu.
    AddAction("mnuAddConversionJob", "&Add Conversion Job", "", [&m] { m.AddTask(); });
    AddAction("mnuRemoveConversionJob", "&Delete Conversion Job", "", [&m] { m.DeleteTask(); });
    AddAction("mnuUpdateConversionJob", "&Update Conversion Job", "", [&m] { m.UpdateTask(); });
    AddAction("mnuMoveUp", "Move Up (Ctrl+U)", "", [this] { MoveTask(MoveKind::Up); });
    AddAction("mnuMoveDown", "Move Down (Ctrl+D)", "", [this] { MoveTask(MoveKind::Down); });
    AddAction("mnuMoveFirst", "Move to First", "", [this] { MoveTask(MoveKind::First); });
    AddAction("mnuMoveLast", "Move To Last", "", [this] { MoveTask(MoveKind::Last); });
    AddAction("mnuBeginConversionJob", "&Begin Conversion Job", "", [this] {
        BeginRun();
    })->setShortcut(QKeySequence(Qt::Key_F5));
    AddAction("mnuPause", "&Pause Conversion Job", "", [&m] {
        m.Pause();
    })->setShortcut(QKeySequence(Qt::Key_F9));
    AddAction("mnuRewindConversionJob", "&Rewind Conversion Job", "", [&m] {
        m.Rewind();
    })->setShortcut(QKeySequence(Qt::Key_F4));
    // Connected once the scheduler exists (BuildScheduler).
    QAction* schedule = AddAction("mnuScheduleConversionJob", "Schedule a Conversion Job", "", {});
    schedule->setShortcut(QKeySequence(Qt::Key_F8));
    schedule->setEnabled(false);

    // The grid's context menu.
    AddAction("mnuPopupMoveUp", "Move Up (Ctrl+U)", "", [this] { MoveTask(MoveKind::Up); });
    AddAction("mnuPopupMoveDown", "Move Down (Ctrl+D)", "", [this] { MoveTask(MoveKind::Down); });
    AddAction("mnuPopupMoveFirst", "Move to First", "", [this] { MoveTask(MoveKind::First); });
    AddAction("mnuPopupMoveLast", "Move To Last", "", [this] { MoveTask(MoveKind::Last); });
    AddAction("mnuPopupDelete", "&Delete", "", [&m] { m.DeleteTask(); });
    // A double click on a conversion task opens its advanced options, as the editor's button does.
    AddAction("actAdvancedOptions", "Advanced Options", "", [this] {
        if (model_->AdvancedOptionsOnDoubleClick())
            editor_->OpenAdvancedOptions();
    });

    // The Help menus of both windows. The program gives these entries their pages and the About
    // box (ConnectHelpEntries), which also makes them available.
    AddAction("mnuLaunchHelpFile", "&Help File", "", {})->setShortcut(QKeySequence(Qt::Key_F1));
    AddAction("mnuAbout", "&About", "", {});
    AddAction("mnuHelpProductUpdates", "Product &Updates", "", {});
    AddAction("mnuHelpOnLine", "Web Help", "", {});
    AddAction("cmdHelpCommandLine", "Using the &Command Line", "", {});
    AddAction("mnuHelpProductHomePage", "Product Home &Page", "", {});
    AddAction("mnuLumenwareHomePage", "&Lumenware Home Page", "", {});
    AddAction("mnuWebHelpMostUpToDate", "Web Help (Most up to date)", "", {});
    for (const char* name :
         {"mnuLaunchHelpFile", "mnuAbout", "mnuHelpProductUpdates", "mnuHelpOnLine", "cmdHelpCommandLine",
          "mnuHelpProductHomePage", "mnuLumenwareHomePage", "mnuWebHelpMostUpToDate"})
        widgets_->Action(name)->setEnabled(false);

    // Tab pages, window-wide; they wrap around at either end.
    auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(nextTab, &QShortcut::activated, this, [this] { StepTab(+1); });
    for (const auto& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)}) {
        auto* previousTab = new QShortcut(keys, this);
        connect(previousTab, &QShortcut::activated, this, [this] { StepTab(-1); });
    }
}

void MainWindow::BuildMenus() {
    Widgets& w = *widgets_;
    QMenuBar* bar = menuBar();

    w.fileMenu = bar->addMenu(Tr("&File"));
    w.fileMenu->setObjectName(QStringLiteral("mnuFile"));
    for (const char* name : {"mnuNewConversionJob", "mnuOpenConversionJob", "mnuSaveConversionJob",
                             "mnuSaveConversionJobAs", "mnuSaveLogAsConversionJob"})
        w.fileMenu->addAction(w.Action(name));
    w.fileMenu->addSeparator();
    w.fileMenu->addAction(w.Action("mnuLanguage"));
    w.fileMenu->addSeparator();
    w.fileMenu->addAction(w.Action("mnuOptimizeForSpeed"));
    w.fileMenu->addAction(w.Action("mnuOptimizeForMemory"));
    w.mruTop = w.fileMenu->addSeparator();
    w.mruBottom = w.fileMenu->addSeparator();
    w.fileMenu->addAction(w.Action("mnuExit"));

    QMenu* conversion = bar->addMenu(Tr("C&onversion"));
    conversion->setObjectName(QStringLiteral("mnuConversion"));
    for (const char* name : {"mnuAddConversionJob", "mnuRemoveConversionJob", "mnuUpdateConversionJob"})
        conversion->addAction(w.Action(name));
    w.moveMenu = conversion->addMenu(Tr("&Move Conversion Task"));
    w.moveMenu->setObjectName(QStringLiteral("mnuMoveConversionTask"));
    for (const char* name : {"mnuMoveUp", "mnuMoveDown", "mnuMoveFirst", "mnuMoveLast"})
        w.moveMenu->addAction(w.Action(name));
    w.moveMenu->addSeparator();
    conversion->addSeparator();
    for (const char* name :
         {"mnuBeginConversionJob", "mnuPause", "mnuRewindConversionJob", "mnuScheduleConversionJob"})
        conversion->addAction(w.Action(name));

    QMenu* help = bar->addMenu(Tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->addAction(w.Action("mnuLaunchHelpFile"));
    help->addAction(w.Action("mnuAbout"));
    help->addAction(w.Action("mnuHelpProductUpdates"));
    help->addSeparator();
    help->addAction(w.Action("mnuHelpOnLine"));
    help->addAction(w.Action("mnuWebHelpMostUpToDate"));
    help->addAction(w.Action("cmdHelpCommandLine"));
    help->addSeparator();
    help->addAction(w.Action("mnuHelpProductHomePage"));
    help->addAction(w.Action("mnuLumenwareHomePage"));

    w.popup = new QMenu(Tr("Popup"), this);
    w.popup->setObjectName(QStringLiteral("mnuPopup"));
    for (const char* name : {"mnuPopupMoveUp", "mnuPopupMoveDown", "mnuPopupMoveFirst", "mnuPopupMoveLast"})
        w.popup->addAction(w.Action(name));
    w.popup->addSeparator();
    w.popup->addAction(w.Action("mnuPopupDelete"));
}

void MainWindow::BuildToolbar() {
    Widgets& w = *widgets_;
    w.toolbar = addToolBar(Tr("Toolbar"));
    w.toolbar->setObjectName(QStringLiteral("tbMain"));
    w.toolbar->setMovable(false);
    w.toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto* openMenu = new QMenu(this);
    for (const char* name : {"KeySave", "KeySaveAs", "KeyOpen", "KeySaveLogAsConversionJob"})
        openMenu->addAction(w.Action(name));
    w.Action("keyOpen")->setMenu(openMenu);
    for (const char* name :
         {"keyNew", "keyOpen", "keyAdd", "keyRemove", "keyUpdate", "keyRewind", "keyConvert", "keyPause"})
        w.toolbar->addAction(w.Action(name));
    if (auto* button = qobject_cast<QToolButton*>(w.toolbar->widgetForAction(w.Action("keyOpen"))))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

void MainWindow::BuildPages() {
    Widgets& w = *widgets_;
    JobDocument& document = model_->Document();

    w.tabs = new QTabWidget(this);
    w.tabs->setObjectName(QStringLiteral("tsMain"));
    w.tabs->setDocumentMode(true);

    w.taskPage = new QSplitter(Qt::Vertical, w.tabs);
    w.taskPage->setChildrenCollapsible(false);
    editor_ = new TaskEditorWidget(*model_);
    w.editorArea = new QScrollArea(w.taskPage);
    w.editorArea->setWidget(editor_);
    w.editorArea->setWidgetResizable(true);
    w.editorArea->setFrameShape(QFrame::NoFrame);
    w.taskPage->addWidget(w.editorArea);

    w.taskModel = new GridTableModel(document.fgToDo, document.toDoView);
    w.taskView = MakeGridView(*w.taskModel, QStringLiteral("fgToDo"), IsHiddenTaskColumn);
    w.taskPage->addWidget(w.taskView);
    w.taskPage->setStretchFactor(0, 0);
    w.taskPage->setStretchFactor(1, 1);

    w.logModel = new GridTableModel(document.fgLog, document.logView);
    w.logView = MakeGridView(*w.logModel, QStringLiteral("fgLog"), IsHiddenLogColumn);

    w.tabs->addTab(w.taskPage, ThemeIcon("document-properties", QStyle::SP_FileDialogDetailedView),
                   Tr("Select Files/Folders"));
    w.tabs->addTab(w.logView, ThemeIcon("text-x-generic", QStyle::SP_FileDialogContentsView), Tr("Log"));
    connect(w.tabs, &QTabWidget::currentChanged, this, [this](int index) { model_->TabSelected(index); });
    setCentralWidget(w.tabs);

    // The task grid: its context menu, its own move keys, its current row asked of the model.
    w.taskView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w.taskView, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        widgets_->popup->popup(widgets_->taskView->viewport()->mapToGlobal(at));
    });
    auto* up = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_U), w.taskView, nullptr, nullptr,
                             Qt::WidgetWithChildrenShortcut);
    connect(up, &QShortcut::activated, this, [this] { MoveTask(MoveKind::Up); });
    auto* down = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), w.taskView, nullptr, nullptr,
                               Qt::WidgetWithChildrenShortcut);
    connect(down, &QShortcut::activated, this, [this] { MoveTask(MoveKind::Down); });
    auto* del = new QShortcut(QKeySequence(Qt::Key_Delete), w.taskView, nullptr, nullptr,
                              Qt::WidgetWithChildrenShortcut);
    connect(del, &QShortcut::activated, this, [this] {
        if (widgets_->Action("keyRemove")->isEnabled())
            model_->DeleteTask();
    });
    connect(w.taskView, &QAbstractItemView::doubleClicked, this, [this] {
        QAction* advanced = widgets_->Action("actAdvancedOptions");
        if (advanced->isEnabled())
            advanced->trigger();
    });
    connect(w.taskView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                UserChangedRow(current, previous);
            });
    connect(w.taskModel, &GridTableModel::gridRowChanged, this,
            [this](int modelRow) { SelectGridRow(*widgets_->taskView, GridTableModel::GridRow(modelRow)); });
    connect(w.logModel, &GridTableModel::gridRowChanged, this,
            [this](int modelRow) { SelectGridRow(*widgets_->logView, GridTableModel::GridRow(modelRow)); });
    // A run marks rows one after the other: the view shows the row the grid was asked to show.
    connect(w.taskModel, &QAbstractItemModel::dataChanged, this, [this] { ApplyScrollRequests(); });
    connect(w.logModel, &QAbstractItemModel::rowsInserted, this, [this] { ApplyScrollRequests(); });
    connect(w.taskModel, &QAbstractItemModel::modelReset, this, [this] { ApplyScrollRequests(); });

    // The editor as tall as it wants, the grid below it with the rest, at least a few rows.
    const int rowHeight = w.taskView->verticalHeader()->defaultSectionSize();
    w.taskView->setMinimumHeight(rowHeight * 4 + w.taskView->horizontalHeader()->sizeHint().height());
    const int editorHeight = editor_->sizeHint().height();
    w.taskPage->setSizes({editorHeight, rowHeight * kInitialGridRows});
    w.editorArea->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (widgets_ && watched == widgets_->editorArea) {
        if (event->type() == QEvent::Resize)
            FitEditor(false);
        else if (event->type() == QEvent::Show)
            FitEditor(true);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::FitEditor(bool always) {
    Widgets& w = *widgets_;
    if (!editor_->FitWidth(w.editorArea->width()) && !always)
        return;
    // The panels' new size hints are known once the layout requests posted by the change have
    // run, so the pane is sized from the event loop.
    QTimer::singleShot(0, this, [this] { SizeEditorPane(); });
}

void MainWindow::SizeEditorPane() {
    Widgets& w = *widgets_;
    // The editor's pane takes the editor's height, but never more than three fifths of the page:
    // in a small window the editor scrolls rather than squeezing the tasks out of sight.
    const QList<int> sizes = w.taskPage->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total <= 0)
        return;
    const int wanted = editor_->sizeHint().height() + 2 * w.editorArea->frameWidth();
    const int editorHeight = std::min(wanted, total * 3 / 5);
    w.taskPage->setSizes({editorHeight, total - editorHeight});
}

QTableView* MainWindow::MakeGridView(GridTableModel& model, const QString& name, bool (*hidden)(int)) {
    auto* view = new QTableView(this);
    view->setObjectName(name);
    view->setModel(&model);
    model.setParent(view);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideMiddle);
    view->verticalHeader()->setVisible(false);
    const int rowHeight = view->fontMetrics().height() + 6;
    view->verticalHeader()->setDefaultSectionSize(rowHeight);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = view->horizontalHeader();
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    header->setDefaultSectionSize(180);
    for (int col = 0; col < model.columnCount(); ++col) {
        if (hidden(col))
            view->setColumnHidden(col, true);
    }
    const QFontMetrics metrics = view->fontMetrics();
    const auto width = [&](const char* sample, int padding) {
        return metrics.horizontalAdvance(QString::fromLatin1(sample)) + padding;
    };
    header->resizeSection(kColNumber, width("00000", 12));
    header->resizeSection(kColAction, width("Action", 16));
    header->resizeSection(kColOriginalTypeText, width("MHTML, PPTX", 16));
    header->resizeSection(kColTargetTypeText, width("MHTML, PPTX", 16));
    header->resizeSection(kColPass, width("Pass", 24));
    // The paths take what is left; in the log the message column does.
    const bool log = model.columnCount() > kColStatus;
    if (log) {
        header->resizeSection(kColOriginal, width("/home/user/Documents/Presentations/deck.pptx", 0));
        header->resizeSection(kColTarget, width("/home/user/Documents/Presentations/deck.pptx", 0));
    } else {
        header->setStretchLastSection(false);
        header->setSectionResizeMode(kColOriginal, QHeaderView::Stretch);
        header->setSectionResizeMode(kColTarget, QHeaderView::Stretch);
    }
    return view;
}

int MainWindow::FirstVisibleColumn(const QTableView& view) {
    for (int col = 0; col < view.model()->columnCount(); ++col)
        if (!view.isColumnHidden(col))
            return col;
    return 0;
}

void MainWindow::SelectGridRow(QTableView& view, int gridRow) {
    const int modelRow = GridTableModel::ModelRow(gridRow);
    if (modelRow < 0 || modelRow >= view.model()->rowCount())
        return;
    const QModelIndex target = view.model()->index(modelRow, FirstVisibleColumn(view));
    if (view.selectionModel()->currentIndex().row() != modelRow ||
        !view.selectionModel()->isRowSelected(modelRow, {})) {
        const bool was = std::exchange(widgets_->syncingSelection, true);
        view.selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
        widgets_->syncingSelection = was;
    }
    view.scrollTo(target);
}

void MainWindow::UserChangedRow(const QModelIndex& current, const QModelIndex& previous) {
    Widgets& w = *widgets_;
    if (w.syncingSelection || !current.isValid())
        return;
    Grid& grid = model_->Document().fgToDo;
    const int gridRow = GridTableModel::GridRow(current.row());
    if (gridRow == grid.Row())
        return;
    if (!model_->LeavingRow()) {
        // The user kept the edited row: the selection goes back to it.
        SelectGridRow(*w.taskView, previous.isValid() ? GridTableModel::GridRow(previous.row()) : grid.Row());
        return;
    }
    grid.SetRow(gridRow);
    grid.SelectWholeRow();
    model_->CurrentRowChanged();
}

void MainWindow::ApplyScrollRequests() {
    JobDocument& document = model_->Document();
    if (const auto request = document.toDoView.TakeScrollRequest()) {
        const QModelIndex index = widgets_->taskModel->index(GridTableModel::ModelRow(request->row),
                                                             FirstVisibleColumn(*widgets_->taskView));
        widgets_->taskView->scrollTo(index, request->topRow == request->row
                                                ? QAbstractItemView::PositionAtTop
                                                : QAbstractItemView::EnsureVisible);
    }
    if (const auto request = document.logView.TakeScrollRequest()) {
        const QModelIndex index = widgets_->logModel->index(GridTableModel::ModelRow(request->row),
                                                            FirstVisibleColumn(*widgets_->logView));
        widgets_->logView->scrollTo(index);
    }
}

void MainWindow::StepTab(int step) {
    QTabWidget& tabs = *widgets_->tabs;
    const int count = tabs.count();
    tabs.setCurrentIndex((tabs.currentIndex() + step + count) % count);
}

void MainWindow::ApplyOptimizeChecks(bool speed) {
    widgets_->Action("mnuOptimizeForSpeed")->setChecked(speed);
    widgets_->Action("mnuOptimizeForMemory")->setChecked(!speed);
}

void MainWindow::MoveTask(MoveKind kind) {
    // Rows never move under a run, also not under a paused one that has not returned.
    if (!RunOnStack())
        model_->MoveTask(kind);
}

bool MainWindow::RunOnStack() const {
    return widgets_->runsOnStack > 0 || model_->IsRunning();
}

RunEnd MainWindow::BeginRun() {
    Widgets& w = *widgets_;
    ++w.runsOnStack;
    const RunEnd end = model_->Begin();
    --w.runsOnStack;
    // The commands held back while the paused run was returning are offered again.
    model_->UpdateMenuToolbar();
    if (end != RunEnd::Busy)
        w.status->HideListProgress();
    if (w.runsOnStack == 0 && w.closeAfterRun) {
        // The close that paused this run goes on now that the runner has returned.
        w.closeAfterRun = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
    return end;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Widgets& w = *widgets_;
    if (w.closed) {
        event->accept();
        return;
    }
    if (model_->IsRunning() || w.runsOnStack > 0) {
        // The runner is inside a checkpoint further up this very stack: it must return before
        // anything it uses goes. Pause it; the close comes back once Begin has returned.
        w.closeAfterRun = true;
        model_->Pause();
        event->ignore();
        return;
    }
    if (!model_->Close()) {
        event->ignore();
        return;
    }
    UnloadScheduler();
    w.closed = true;
    emit closing();
    event->accept();
}

// MainWindowView.

void MainWindow::EditorChanged() {
    if (editor_)
        editor_->ShowEditor();
}

void MainWindow::CommandStatesChanged(const CommandStates& modelStates) {
    Widgets& w = *widgets_;
    if (w.actions.empty() || !w.taskView)
        return; // the model speaks before the window has its parts
    CommandStates states = modelStates;
    if (w.runsOnStack > 0 && !states.keyPause) {
        // Paused, but the runner has not returned from its conversion yet: a new run, a
        // rewind or a changed grid would happen underneath it. Only saving stays.
        states.keyNew = states.keyOpen = states.keyAdd = states.keyRemove = states.keyUpdate = false;
        states.keyRewind = states.keyConvert = false;
        states.KeySaveLogAsConversionJob = false;
    }
    const auto set = [&w](const char* name, bool enabled) { w.Action(name)->setEnabled(enabled); };
    set("keyNew", states.keyNew);
    set("mnuNewConversionJob", states.keyNew);
    set("keyOpen", states.keyOpen);
    set("KeyOpen", states.keyOpen);
    set("keyAdd", states.keyAdd);
    set("mnuAddConversionJob", states.keyAdd);
    set("keyRemove", states.keyRemove);
    set("mnuRemoveConversionJob", states.keyRemove);
    set("mnuPopupDelete", states.keyRemove);
    set("keyUpdate", states.keyUpdate);
    set("mnuUpdateConversionJob", states.keyUpdate);
    set("keyRewind", states.keyRewind);
    set("mnuRewindConversionJob", states.keyRewind);
    set("keyConvert", states.keyConvert);
    set("mnuBeginConversionJob", states.keyConvert);
    set("keyPause", states.keyPause);
    set("mnuPause", states.keyPause);
    set("KeySave", states.KeySave);
    set("mnuSaveConversionJob", states.KeySave);
    set("KeySaveAs", states.KeySaveAs);
    set("mnuSaveConversionJobAs", states.KeySaveAs);
    set("KeySaveLogAsConversionJob", states.KeySaveLogAsConversionJob);
    set("mnuSaveLogAsConversionJob", states.KeySaveLogAsConversionJob);
    if (states.moves) {
        const MoveEntryStates& moves = *states.moves;
        w.moveMenu->menuAction()->setVisible(moves.moveMenuVisible);
        for (const char* name : {"mnuMoveUp", "mnuMoveFirst"})
            w.Action(name)->setVisible(moves.upAndFirstVisible);
        for (const char* name : {"mnuMoveDown", "mnuMoveLast"})
            w.Action(name)->setVisible(moves.downAndLastVisible);
        for (const char* name : {"mnuPopupMoveUp", "mnuPopupMoveFirst"})
            w.Action(name)->setVisible(moves.moveMenuVisible && moves.upAndFirstVisible);
        for (const char* name : {"mnuPopupMoveDown", "mnuPopupMoveLast"})
            w.Action(name)->setVisible(moves.moveMenuVisible && moves.downAndLastVisible);
    }
    if (editor_)
        editor_->SetCommandButtons(states.keyAdd, states.keyRemove, states.keyUpdate, states.keyPause);
    // The scheduler's window is modal: opened during a run it would hold the run until closed.
    if (scheduler_)
        set("mnuScheduleConversionJob", !RunOnStack());
    ApplyScrollRequests();
}

void MainWindow::JobCaptionChanged(const std::string& caption) {
    widgets_->jobCaption = caption.empty() ? std::string("*") : caption;
    setWindowTitle(Caption());
}

void MainWindow::RecentListsChanged() {
    Widgets& w = *widgets_;
    if (!w.fileMenu)
        return;
    for (QAction* entry : w.mruEntries) {
        w.fileMenu->removeAction(entry);
        entry->deleteLater();
    }
    w.mruEntries.clear();
    const std::vector<MruMenuEntry> entries = BuildMruMenuEntries(model_->RecentLists().mruFileOpen);
    int number = 0;
    for (const MruMenuEntry& entry : entries) {
        ++number;
        // The caption shows a path: it is never translated.
        auto* action = new QAction(QString::fromStdString(entry.caption), this);
        action->setObjectName(QStringLiteral("mnuMRU%1").arg(number));
        action->setData(number);
        connect(action, &QAction::triggered, this, [this, number] { model_->OpenRecentJob(number); });
        w.fileMenu->insertAction(w.mruBottom, action);
        w.mruEntries.push_back(action);
    }
    w.mruBottom->setVisible(!entries.empty());
    // The editor's boxes offer their recently used texts too.
    if (editor_)
        editor_->FillRecentLists();
}

void MainWindow::FocusTaskGrid() {
    if (widgets_->taskView)
        widgets_->taskView->setFocus(Qt::OtherFocusReason);
}

void MainWindow::FocusEditorField(TaskEditorField field) {
    if (editor_)
        editor_->FocusField(field);
}

bool MainWindow::LogPageSelected() const {
    return widgets_ && widgets_->tabs && widgets_->tabs->currentIndex() == 1;
}

bool MainWindow::WindowVisible() const {
    return isVisible();
}

void MainWindow::OpenExternally(const std::string& pathOrUrl) {
    const QString text = QString::fromStdString(pathOrUrl);
    const QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text) : QUrl(text);
    QDesktopServices::openUrl(url);
}

} // namespace slidemill
