#include "ui/DialogPrompt.h"

#include "core/PickerRules.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace slidemill {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::OK:
        return QMessageBox::Ok;
    case PromptButtons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

PromptAnswer DialogPrompt::EndingAnswer(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::YesNo:
    case PromptButtons::YesNoCancel:
        return PromptAnswer::No;
    case PromptButtons::OK:
    case PromptButtons::OKCancel:
        break;
    }
    return PromptAnswer::OK;
}

PromptAnswer DialogPrompt::Ask(const std::string& text, const std::string& title, PromptButtons buttons,
                               PromptIcon icon) {
    if (ending_)
        return EndingAnswer(buttons);
    QMessageBox box(BoxIcon(icon), Text(title), Text(text), BoxButtons(buttons), parent_);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Ok:
        return PromptAnswer::OK;
    default:
        // The close box or Escape: Cancel where there is one, else the box's only safe answer.
        if (buttons == PromptButtons::OK)
            return PromptAnswer::OK;
        if (buttons == PromptButtons::YesNo)
            return PromptAnswer::No;
        return PromptAnswer::Cancel;
    }
}

std::string DialogPrompt::PickFile(FileDialogRequest& request) {
    if (ending_)
        return {};
    const std::vector<FileFilterEntry> entries = ParseFileFilter(request.filter);
    QStringList filters;
    for (const FileFilterEntry& entry : entries)
        filters << Text(CaseInsensitiveNameFilter(entry));
    QFileDialog dialog(parent_, Text(request.title));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.initialPath.empty()) {
        const QFileInfo initial(Text(request.initialPath));
        if (initial.isDir()) {
            dialog.setDirectory(initial.absoluteFilePath());
        } else {
            dialog.setDirectory(initial.absolutePath());
            dialog.selectFile(initial.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const int chosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    if (chosen >= 0)
        request.filterIndex = chosen + 1;
    return dialog.selectedFiles().first().toStdString();
}

std::string DialogPrompt::PickFolder(const std::string& title, const std::string& startFolder) {
    if (ending_)
        return {};
    return QFileDialog::getExistingDirectory(parent_, Text(title), Text(startFolder)).toStdString();
}

} // namespace slidemill
