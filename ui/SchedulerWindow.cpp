#include "ui/SchedulerWindow.h"
#include "ui/UiText.h"

#include "core/Translate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

namespace slidemill {

namespace {


QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.toStdString();
}

// Setting the same text again would drop a selection the user (or a message) just made.
void SetText(QLineEdit* edit, const std::string& text) {
    if (edit->text() != Q(text))
        edit->setText(Q(text));
}

QStringList Choices(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items)
        list << Q(item);
    return list;
}

// A narrow box for a number of a few digits.
QLineEdit* NumberBox(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    return edit;
}

QRadioButton* Option(const char* name, const char* caption, QWidget* parent) {
    auto* option = new QRadioButton(Tr(caption), parent);
    option->setObjectName(QString::fromLatin1(name));
    return option;
}

QLabel* Label(const char* caption, QWidget* parent) {
    return new QLabel(Tr(caption), parent);
}

constexpr const char* kDayNames[7] = {"chkSun", "chkMon", "chkTue", "chkWed", "chkThu", "chkFri", "chkSat"};
constexpr const char* kDayCaptions[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};

constexpr int kTimerMilliseconds = 1000;

} // namespace

// ---- Messages ----

void SchedulerMessageBox::SetWindow(SchedulerWindow* window) {
    window_ = window;
}

void SchedulerMessageBox::ShowMessage(const std::string& text, ScheduleFocus focus) {
    prompt_.Ask(Translate(text), Translate("Schedule a Job"), PromptButtons::OK, PromptIcon::Exclamation);
    if (window_)
        window_->FocusAfterMessage(focus);
}

// ---- The window ----

SchedulerWindow::SchedulerWindow(Scheduler& scheduler, Prompt& prompt, QWidget* parent)
    : QDialog(parent), scheduler_(scheduler), prompt_(prompt) {
    setObjectName(QStringLiteral("frmScheduler"));
    setWindowTitle(Tr("Schedule a Job"));
    setSizeGripEnabled(true);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(kTimerMilliseconds);
    connect(timer_, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabScheduler"));
    auto* setUp = new QWidget(tabs_);
    auto* options = new QWidget(tabs_);
    BuildSetUpPage(setUp);
    BuildOptionsPage(options);
    tabs_->addTab(setUp, Tr("Set Up"));
    tabs_->addTab(options, Tr("Options"));

    cmdStartTimer_ = new QPushButton(Tr("&Begin"), this);
    cmdStartTimer_->setObjectName(QStringLiteral("cmdStartTimer"));
    cmdEndTimer_ = new QPushButton(Tr("&End"), this);
    cmdEndTimer_->setObjectName(QStringLiteral("cmdEndTimer"));
    cmdDone_ = new QPushButton(Tr("&Done"), this);
    cmdDone_->setObjectName(QStringLiteral("cmdDone"));
    // Enter in a box must not press a button the user did not choose.
    for (QPushButton* button : {cmdStartTimer_, cmdEndTimer_, cmdDone_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(cmdStartTimer_, &QPushButton::clicked, this, [this] { cmdStartTimer_Click(); });
    connect(cmdEndTimer_, &QPushButton::clicked, this, [this] { cmdEndTimer_Click(); });
    connect(cmdDone_, &QPushButton::clicked, this, [this] { cmdDone_Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdStartTimer_);
    buttons->addWidget(cmdEndTimer_);
    buttons->addWidget(cmdDone_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    // Tab pages wrap around at either end.
    auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(nextTab, &QShortcut::activated, this, [this] { StepTab(+1); });
    for (const auto& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)}) {
        auto* previousTab = new QShortcut(keys, this);
        connect(previousTab, &QShortcut::activated, this, [this] { StepTab(-1); });
    }

    ShowForm();
    ConnectEdits();
    ShowLocking();
    tabs_->setCurrentIndex(0);
    // Wide enough for a job file path of a usual length.
    resize(std::max(sizeHint().width(), fontMetrics().horizontalAdvance(QLatin1Char('x')) * 90),
           sizeHint().height());
}

SchedulerWindow::~SchedulerWindow() = default;

void SchedulerWindow::BuildSetUpPage(QWidget* page) {
    optTimeBased_ = Option("optTimeBased", "Time Based", page);
    optCalendarBased_ = Option("optCalendarBased", "Calendar Based", page);
    auto* typeGroup = new QButtonGroup(page);
    typeGroup->addButton(optTimeBased_);
    typeGroup->addButton(optCalendarBased_);

    // The interval.
    auto* fraTimeBased = new QGroupBox(page);
    fraTimeBased->setObjectName(QStringLiteral("fraTimeBased"));
    txtHours_ = NumberBox("txtHours", fraTimeBased);
    txtMinutes_ = NumberBox("txtMinutes", fraTimeBased);
    txtSeconds_ = NumberBox("txtSeconds", fraTimeBased);
    auto* intervalLabel = Label("Specify the time interval for running the job:", fraTimeBased);
    intervalLabel->setWordWrap(true);
    auto* interval = new QHBoxLayout;
    interval->addWidget(Label("Hours:", fraTimeBased));
    interval->addWidget(txtHours_);
    interval->addSpacing(12);
    interval->addWidget(Label("Minutes:", fraTimeBased));
    interval->addWidget(txtMinutes_);
    interval->addSpacing(12);
    interval->addWidget(Label("Seconds:", fraTimeBased));
    interval->addWidget(txtSeconds_);
    interval->addStretch(1);
    auto* timeLayout = new QVBoxLayout(fraTimeBased);
    timeLayout->addWidget(optTimeBased_);
    timeLayout->addWidget(intervalLabel);
    timeLayout->addLayout(interval);

    // The calendar: the kind on the left, its frame on the right, the start time below.
    auto* fraCalendarBased = new QGroupBox(page);
    fraCalendarBased->setObjectName(QStringLiteral("fraCalendarBased"));
    optDaily_ = Option("optDaily", "Daily", fraCalendarBased);
    optWeekly_ = Option("optWeekly", "Weekly", fraCalendarBased);
    optMonthly_ = Option("optMonthly", "Monthly", fraCalendarBased);
    auto* kindGroup = new QButtonGroup(fraCalendarBased);
    for (QRadioButton* option : {optDaily_, optWeekly_, optMonthly_})
        kindGroup->addButton(option);
    auto* kinds = new QVBoxLayout;
    kinds->addWidget(optDaily_);
    kinds->addWidget(optWeekly_);
    kinds->addWidget(optMonthly_);
    kinds->addStretch(1);

    auto* frames = new QStackedWidget(fraCalendarBased);
    frames->setObjectName(QStringLiteral("fraCalendarKinds"));

    fraDaily_ = new QGroupBox(Tr("Daily"), frames);
    fraDaily_->setObjectName(QStringLiteral("fraDaily"));
    optNumDays_ = Option("optNumDays", "Every", fraDaily_);
    txtNumDays_ = NumberBox("txtNumDays", fraDaily_);
    optWeekdays_ = Option("optWeekdays", "Every weekday", fraDaily_);
    auto* dailyGroup = new QButtonGroup(fraDaily_);
    dailyGroup->addButton(optNumDays_);
    dailyGroup->addButton(optWeekdays_);
    auto* everyDays = new QHBoxLayout;
    everyDays->addWidget(optNumDays_);
    everyDays->addWidget(txtNumDays_);
    everyDays->addWidget(Label("day(s)", fraDaily_));
    everyDays->addStretch(1);
    auto* dailyLayout = new QVBoxLayout(fraDaily_);
    dailyLayout->addLayout(everyDays);
    dailyLayout->addWidget(optWeekdays_);
    dailyLayout->addStretch(1);

    fraWeekly_ = new QGroupBox(Tr("Weekly"), frames);
    fraWeekly_->setObjectName(QStringLiteral("fraWeekly"));
    txtNumWeeks_ = NumberBox("txtNumWeeks", fraWeekly_);
    auto* everyWeeks = new QHBoxLayout;
    everyWeeks->addWidget(Label("Run the job every ", fraWeekly_));
    everyWeeks->addWidget(txtNumWeeks_);
    everyWeeks->addWidget(Label("week(s) on:", fraWeekly_));
    everyWeeks->addStretch(1);
    auto* days = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        chkDays_[i] = new QCheckBox(Tr(kDayCaptions[i]), fraWeekly_);
        chkDays_[i]->setObjectName(QString::fromLatin1(kDayNames[i]));
        days->addWidget(chkDays_[i], i / 4, i % 4);
    }
    auto* weeklyLayout = new QVBoxLayout(fraWeekly_);
    weeklyLayout->addLayout(everyWeeks);
    weeklyLayout->addLayout(days);
    weeklyLayout->addStretch(1);

    fraMonthly_ = new QGroupBox(Tr("Monthly"), frames);
    fraMonthly_->setObjectName(QStringLiteral("fraMonthly"));
    txtDayOfMonth_ = NumberBox("txtDayOfMonth", fraMonthly_);
    txtNumMonths_ = NumberBox("txtNumMonths", fraMonthly_);
    auto* monthDay = new QHBoxLayout;
    monthDay->addWidget(Label("Day ", fraMonthly_));
    monthDay->addWidget(txtDayOfMonth_);
    monthDay->addWidget(Label("of every ", fraMonthly_));
    monthDay->addWidget(txtNumMonths_);
    monthDay->addWidget(Label("month(s)", fraMonthly_));
    monthDay->addStretch(1);
    auto* note = Label("Note:  Enter 31 to run on the last day of each month.  The maximum number of months is 12.",
                       fraMonthly_);
    note->setWordWrap(true);
    auto* monthlyLayout = new QVBoxLayout(fraMonthly_);
    monthlyLayout->addLayout(monthDay);
    monthlyLayout->addWidget(note);
    monthlyLayout->addStretch(1);

    frames->addWidget(fraDaily_);
    frames->addWidget(fraWeekly_);
    frames->addWidget(fraMonthly_);
    frames->addWidget(new QWidget(frames)); // no kind chosen

    cbHours_ = new QComboBox(fraCalendarBased);
    cbHours_->setObjectName(QStringLiteral("cbHours"));
    cbHours_->addItems(Choices(StartHourChoices()));
    cbMinutes_ = new QComboBox(fraCalendarBased);
    cbMinutes_->setObjectName(QStringLiteral("cbMinutes"));
    cbMinutes_->addItems(Choices(StartMinuteChoices()));
    cbAmPm_ = new QComboBox(fraCalendarBased);
    cbAmPm_->setObjectName(QStringLiteral("cbAmPm"));
    cbAmPm_->addItems(Choices(AmPmChoices()));
    auto* start = new QHBoxLayout;
    start->addWidget(Label("Start Time:", fraCalendarBased));
    start->addWidget(cbHours_);
    start->addWidget(new QLabel(QStringLiteral(":"), fraCalendarBased));
    start->addWidget(cbMinutes_);
    start->addWidget(cbAmPm_);
    start->addStretch(1);

    auto* calendarTop = new QHBoxLayout;
    calendarTop->addLayout(kinds);
    calendarTop->addWidget(frames, 1);
    auto* calendarLayout = new QVBoxLayout(fraCalendarBased);
    calendarLayout->addWidget(optCalendarBased_);
    calendarLayout->addLayout(calendarTop);
    calendarLayout->addLayout(start);

    // The job file.
    cbScheduledJobFile_ = new QComboBox(page);
    cbScheduledJobFile_->setObjectName(QStringLiteral("cbScheduledJobFile"));
    cbScheduledJobFile_->setEditable(true);
    cbScheduledJobFile_->setInsertPolicy(QComboBox::NoInsert);
    cbScheduledJobFile_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbScheduledJobFile_->setMinimumContentsLength(40);
    cbScheduledJobFile_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    cmdSelectScheduledJobFile_ = new QPushButton(Tr("  File.."), page);
    cmdSelectScheduledJobFile_->setObjectName(QStringLiteral("cmdSelectScheduledJobFile"));
    cmdSelectScheduledJobFile_->setAutoDefault(false);
    connect(cmdSelectScheduledJobFile_, &QPushButton::clicked, this, [this] { cmdSelectScheduledJobFile_Click(); });
    auto* fraJobFile = new QGroupBox(Tr("Job File"), page);
    fraJobFile->setObjectName(QStringLiteral("fraJobFile"));
    auto* jobFile = new QHBoxLayout(fraJobFile);
    jobFile->addWidget(cbScheduledJobFile_, 1);
    jobFile->addWidget(cmdSelectScheduledJobFile_);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraTimeBased);
    layout->addWidget(fraCalendarBased);
    layout->addWidget(fraJobFile);
    layout->addStretch(1);
}

void SchedulerWindow::BuildOptionsPage(QWidget* page) {
    auto* fraOverrun = new QGroupBox(page);
    fraOverrun->setObjectName(QStringLiteral("fraOverrun"));
    auto* question = Label("If the time period to run a job exceeds the interval you specified, how would you "
                           "like the next job to be run:",
                           fraOverrun);
    question->setWordWrap(true);
    optImmediately_ = Option("optImmediately", "Immediately after the current job finishes (continuous)", fraOverrun);
    optSkip_ = Option("optSkip", "Skip this run and set the timer for the next one", fraOverrun);
    auto* overrunGroup = new QButtonGroup(fraOverrun);
    overrunGroup->addButton(optImmediately_);
    overrunGroup->addButton(optSkip_);
    auto* overrun = new QVBoxLayout(fraOverrun);
    overrun->addWidget(question);
    overrun->addWidget(optImmediately_);
    overrun->addWidget(optSkip_);

    chkPersistRunning_ = new QCheckBox(Tr(" Automatically restart the timer on program load"), page);
    chkPersistRunning_->setObjectName(QStringLiteral("chkPersistRunning"));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fraOverrun);
    layout->addWidget(chkPersistRunning_);
    layout->addStretch(1);
}

void SchedulerWindow::ConnectEdits() {
    const auto collect = [this] {
        if (!showing_)
            CollectForm();
    };
    for (QLineEdit* edit : {txtHours_, txtMinutes_, txtSeconds_, txtNumDays_, txtNumWeeks_, txtDayOfMonth_,
                            txtNumMonths_})
        connect(edit, &QLineEdit::textChanged, this, collect);
    for (QRadioButton* option : {optTimeBased_, optCalendarBased_, optImmediately_, optSkip_, optNumDays_,
                                 optWeekdays_})
        connect(option, &QRadioButton::toggled, this, collect);
    for (QRadioButton* option : {optDaily_, optWeekly_, optMonthly_})
        connect(option, &QRadioButton::toggled, this, [this, collect] {
            collect();
            ShowKindFrames();
        });
    for (QCheckBox* check : chkDays_)
        connect(check, &QCheckBox::toggled, this, collect);
    connect(chkPersistRunning_, &QCheckBox::toggled, this, collect);
    for (QComboBox* list : {cbHours_, cbMinutes_, cbAmPm_})
        connect(list, &QComboBox::currentTextChanged, this, collect);
    connect(cbScheduledJobFile_, &QComboBox::editTextChanged, this, collect);
}

void SchedulerWindow::CollectForm() {
    ScheduleForm& f = scheduler_.form;
    f.optTimeBased = optTimeBased_->isChecked();
    f.optCalendarBased = optCalendarBased_->isChecked();
    f.txtHours = S(txtHours_->text());
    f.txtMinutes = S(txtMinutes_->text());
    f.txtSeconds = S(txtSeconds_->text());
    f.optImmediately = optImmediately_->isChecked();
    f.optSkip = optSkip_->isChecked();
    f.chkPersistRunning = chkPersistRunning_->isChecked();
    f.optDaily = optDaily_->isChecked();
    f.optWeekly = optWeekly_->isChecked();
    f.optMonthly = optMonthly_->isChecked();
    f.cbHours = S(cbHours_->currentText());
    f.cbMinutes = S(cbMinutes_->currentText());
    f.cbAmPm = S(cbAmPm_->currentText());
    f.optNumDays = optNumDays_->isChecked();
    f.txtNumDays = S(txtNumDays_->text());
    f.optWeekdays = optWeekdays_->isChecked();
    f.txtNumWeeks = S(txtNumWeeks_->text());
    std::array<bool, 7> chosen{};
    for (int i = 0; i < 7; ++i)
        chosen[static_cast<std::size_t>(i)] = chkDays_[i]->isChecked();
    f.SetChosenWeekdays(chosen);
    f.txtDayOfMonth = S(txtDayOfMonth_->text());
    f.txtNumMonths = S(txtNumMonths_->text());
    f.cbScheduledJobFile = S(cbScheduledJobFile_->currentText());
}

void SchedulerWindow::ShowForm() {
    const bool was = std::exchange(showing_, true);
    const ScheduleForm& f = scheduler_.form;
    // Radio buttons of a group cannot all be cleared while the group is exclusive; a stored
    // setting may have them so.
    const auto setOption = [](QRadioButton* option, bool on) {
        if (option->isChecked() == on)
            return;
        QButtonGroup* group = option->group();
        const bool exclusive = group && group->exclusive();
        if (!on && exclusive)
            group->setExclusive(false);
        option->setChecked(on);
        if (!on && exclusive)
            group->setExclusive(true);
    };
    setOption(optTimeBased_, f.optTimeBased);
    setOption(optCalendarBased_, f.optCalendarBased);
    SetText(txtHours_, f.txtHours);
    SetText(txtMinutes_, f.txtMinutes);
    SetText(txtSeconds_, f.txtSeconds);
    setOption(optImmediately_, f.optImmediately);
    setOption(optSkip_, f.optSkip);
    chkPersistRunning_->setChecked(f.chkPersistRunning);
    setOption(optDaily_, f.optDaily);
    setOption(optWeekly_, f.optWeekly);
    setOption(optMonthly_, f.optMonthly);
    cbHours_->setCurrentText(Q(f.cbHours));
    cbMinutes_->setCurrentText(Q(f.cbMinutes));
    cbAmPm_->setCurrentText(Q(f.cbAmPm));
    setOption(optNumDays_, f.optNumDays);
    SetText(txtNumDays_, f.txtNumDays);
    setOption(optWeekdays_, f.optWeekdays);
    SetText(txtNumWeeks_, f.txtNumWeeks);
    const std::array<bool, 7> chosen = f.ChosenWeekdays();
    for (int i = 0; i < 7; ++i)
        chkDays_[i]->setChecked(chosen[static_cast<std::size_t>(i)]);
    SetText(txtDayOfMonth_, f.txtDayOfMonth);
    SetText(txtNumMonths_, f.txtNumMonths);

    QStringList items;
    for (const std::string& item : f.cbScheduledJobFileItems)
        items << Q(item);
    QStringList shown;
    for (int i = 0; i < cbScheduledJobFile_->count(); ++i)
        shown << cbScheduledJobFile_->itemText(i);
    if (shown != items) {
        cbScheduledJobFile_->clear();
        cbScheduledJobFile_->addItems(items);
    }
    if (cbScheduledJobFile_->currentText() != Q(f.cbScheduledJobFile))
        cbScheduledJobFile_->setEditText(Q(f.cbScheduledJobFile));
    ShowKindFrames();
    showing_ = was;
}

void SchedulerWindow::ShowKindFrames() {
    auto* frames = qobject_cast<QStackedWidget*>(fraDaily_->parentWidget());
    if (!frames)
        return;
    if (optDaily_->isChecked())
        frames->setCurrentWidget(fraDaily_);
    else if (optWeekly_->isChecked())
        frames->setCurrentWidget(fraWeekly_);
    else if (optMonthly_->isChecked())
        frames->setCurrentWidget(fraMonthly_);
    else
        frames->setCurrentIndex(frames->count() - 1);
}

void SchedulerWindow::ShowLocking() {
    const bool locked = scheduler_.Locked();
    cmdEndTimer_->setEnabled(locked);
    QList<QWidget*> controls{cmdStartTimer_, cbScheduledJobFile_, cmdSelectScheduledJobFile_,
                             txtHours_,      txtMinutes_,         txtSeconds_,
                             optTimeBased_,  optCalendarBased_,   optDaily_,
                             optWeekly_,     optMonthly_,         cbHours_,
                             cbMinutes_,     cbAmPm_,             txtNumDays_,
                             txtNumWeeks_,   txtDayOfMonth_,      txtNumMonths_,
                             optNumDays_,    optWeekdays_};
    for (QCheckBox* check : chkDays_)
        controls << check;
    for (QWidget* control : controls)
        control->setEnabled(!locked);
}

void SchedulerWindow::FocusAfterMessage(ScheduleFocus focus) {
    ShowForm();
    QLineEdit* box = nullptr;
    QWidget* target = nullptr;
    switch (focus) {
    case ScheduleFocus::None:
        return;
    case ScheduleFocus::Hours:
        box = txtHours_;
        break;
    case ScheduleFocus::Minutes:
        box = txtMinutes_;
        break;
    case ScheduleFocus::Seconds:
        box = txtSeconds_;
        break;
    case ScheduleFocus::JobFileBox:
        box = cbScheduledJobFile_->lineEdit();
        target = cbScheduledJobFile_;
        break;
    case ScheduleFocus::FilePicker:
        box = cbScheduledJobFile_->lineEdit();
        target = cmdSelectScheduledJobFile_;
        break;
    case ScheduleFocus::NumDays:
    case ScheduleFocus::NumWeeks: {
        const bool days = focus == ScheduleFocus::NumDays;
        QGroupBox* frame = days ? fraDaily_ : fraWeekly_;
        auto* frames = qobject_cast<QStackedWidget*>(frame->parentWidget());
        if (frames && frames->currentWidget() != frame) {
            // The user cannot see the box to correct it: it takes the value that always passes.
            std::string& text = days ? scheduler_.form.txtNumDays : scheduler_.form.txtNumWeeks;
            text.assign(1, '1');
            ShowForm();
            return;
        }
        box = days ? txtNumDays_ : txtNumWeeks_;
        break;
    }
    case ScheduleFocus::DayOfMonth:
        box = txtDayOfMonth_;
        break;
    case ScheduleFocus::NumMonths:
        box = txtNumMonths_;
        break;
    }
    if (!isVisible() || !box)
        return;
    tabs_->setCurrentIndex(0);
    (target ? target : box)->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void SchedulerWindow::Refresh() {
    ShowForm();
    ShowLocking();
    FollowScheduler();
}

void SchedulerWindow::FollowScheduler() {
    if (scheduler_.bSchedularEnabled()) {
        if (!timer_->isActive())
            timer_->start();
    } else {
        timer_->stop();
    }
}

void SchedulerWindow::cmdStartTimer_Click() {
    if (scheduler_.Locked())
        return;
    CollectForm();
    scheduler_.cmdStartTimer_Click();
    ShowForm();
    ShowLocking();
    FollowScheduler();
    emit schedulerStateChanged();
}

void SchedulerWindow::cmdEndTimer_Click() {
    scheduler_.cmdEndTimer_Click();
    FollowScheduler();
    ShowLocking();
    if (isVisible())
        cmdDone_->setFocus(Qt::OtherFocusReason);
    emit schedulerStateChanged();
}

void SchedulerWindow::cmdDone_Click() {
    accept();
}

void SchedulerWindow::cmdSelectScheduledJobFile_Click() {
    FileDialogRequest request;
    request.title = Translate("Select .MJB Job File");
    request.filter = Translate("MJB Job File (*.mjb)|*.mjb") + ";*.MJB";
    request.initialPath = scheduler_.form.cbScheduledJobFile;
    const std::string chosen = prompt_.PickFile(request);
    scheduler_.JobFilePicked(chosen);
    ShowForm();
}

void SchedulerWindow::ConversionJobPaused() {
    scheduler_.ConversionJobPaused();
    FollowScheduler();
    ShowLocking();
    emit schedulerStateChanged();
}

void SchedulerWindow::Timer1_Timer() {
    QTimer::singleShot(0, this, [this] {
        scheduler_.Tick();
        FollowScheduler();
    });
}

void SchedulerWindow::StepTab(int step) {
    const int count = tabs_->count();
    tabs_->setCurrentIndex((tabs_->currentIndex() + step + count) % count);
}

} // namespace slidemill
