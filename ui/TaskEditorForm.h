#pragma once

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QWidget;

namespace slidemill {

// The task editor's controls, named as the job's settings and the messages name them. The
// editor binds them to the window model; this part only makes them and lays them out.
struct TaskEditorForm {
    QButtonGroup* actions = nullptr; // ids 0 "C" and 1 "S"
    QButtonGroup* methods = nullptr; // ids 1 to 3, the conversion methods
    QRadioButton* rbConvert = nullptr;
    QRadioButton* rbSpecial = nullptr;
    QStackedWidget* frames = nullptr;
    // The original and target sets of each panel, side by side or one above the other.
    QBoxLayout* conversionSets = nullptr;
    QBoxLayout* specialSets = nullptr;

    // Conversion set.
    QComboBox* cbOriginalFile = nullptr;
    QPushButton* cmdOriginalFile = nullptr;
    QPushButton* cmdOriginalFolder = nullptr;
    QToolButton* cmdLaunchOriginal = nullptr;
    QCheckBox* chkDoSubfolders = nullptr;
    QLabel* lblOriginalType = nullptr;
    QComboBox* cbFileTypeOriginal = nullptr;
    QRadioButton* rbMethod[3] = {};
    QWidget* targetFilePanel = nullptr;
    QComboBox* cbTargetFile = nullptr;
    QPushButton* cmdTargetFile = nullptr;
    QPushButton* cmdTargetFolder = nullptr;
    QToolButton* cmdLaunchTarget = nullptr;
    QCheckBox* chkSaveInOriginalFolder = nullptr;
    QComboBox* cbFileTypeTarget = nullptr;
    QPushButton* cmdAdvancedPPTOptions = nullptr;

    // Special-processing set.
    QComboBox* cbOriginalFileSpecialized = nullptr;
    QPushButton* cmdOriginalFileSpecialized = nullptr;
    QPushButton* cmdOriginalFolderSpecialized = nullptr;
    QToolButton* cmdLaunchOriginalSpecialized = nullptr;
    QCheckBox* chkDoSubfoldersSpecialized = nullptr;
    QComboBox* cbFileTypeOriginalSpecialized = nullptr;
    QWidget* targetFilePanelSpecialized = nullptr;
    QComboBox* cbTargetFileSpecialized = nullptr;
    QPushButton* cmdTargetFileSpecialized = nullptr;
    QPushButton* cmdTargetFolderSpecialized = nullptr;
    QToolButton* cmdLaunchTargetSpecialized = nullptr;
    QCheckBox* chkSaveInOriginalFolderSpecialized = nullptr;
    QComboBox* cbSpecialProcesses = nullptr;

    QGroupBox* searchReplaceGroup = nullptr;
    QComboBox* cbFindString = nullptr;
    QComboBox* cbReplacementString = nullptr;
    QComboBox* cbCharacter1 = nullptr;
    QComboBox* cbCharacter2 = nullptr;
    QCheckBox* chkCaseSensitive = nullptr;

    QGroupBox* launchGroup = nullptr;
    QComboBox* cbCommandLine = nullptr;
    QPushButton* cmdCommandLineFile = nullptr;
    QComboBox* cbCommandLineArguments = nullptr;
    QComboBox* cbCommandLineWindowState = nullptr;
    QComboBox* cbCommandLineThreadPriority = nullptr;
    QSpinBox* txtWaitTime = nullptr;

    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdPause = nullptr;
};

// Makes every control of the task editor in owner (which gets the layout): the action choice
// above the two panels in front of each other, the command buttons beside them. The texts are
// translated. The editor asks for a fixed height: the tallest panel's, whatever is shown.
void BuildTaskEditorForm(TaskEditorForm& w, QWidget* owner);

} // namespace slidemill
