#include "ui/LanguageWindow.h"
#include "ui/UiText.h"

#include "core/Translate.h"
#include "platform/Environment.h"
#include "run/ShellWords.h"

#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QVBoxLayout>

namespace slidemill {

namespace {


} // namespace

std::vector<std::string> TextEditorCommand(const std::string& visual, const std::string& editor,
                                           const std::string& file) {
    for (const std::string& setting : {visual, editor}) {
        std::vector<std::string> words;
        std::string error;
        if (!setting.empty() && SplitShellWords(setting, words, error) && !words.empty()) {
            words.push_back(file);
            return words;
        }
    }
    return {"xdg-open", file};
}

LanguageDialog::LanguageDialog(const std::vector<std::string>& choices, int selected, bool editEnabled,
                               std::string languagesFolder, std::function<void()> openHelp, QWidget* parent)
    : QDialog(parent), languagesFolder_(std::move(languagesFolder)) {
    setObjectName(QStringLiteral("frmLanguage"));
    setWindowTitle(Tr("Language"));

    auto* label = new QLabel(Tr("Select a Language:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    for (const std::string& choice : choices) {
        // A language's own name is data: it names its file.
        auto* item = new QListWidgetItem(QString::fromStdString(choice), list_);
        item->setData(Qt::UserRole, QString::fromStdString(choice));
    }
    if (selected >= 0 && selected < list_->count())
        list_->setCurrentRow(selected);
    label->setBuddy(list_);

    auto* done = new QPushButton(Tr("&Done"), this);
    done->setObjectName(QStringLiteral("cmdDone"));
    done->setDefault(true);
    auto* cancel = new QPushButton(Tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    fontButton_ = new QPushButton(Tr("&Font"), this);
    fontButton_->setObjectName(QStringLiteral("cmdFont"));
    edit_ = new QPushButton(Tr("&Edit Language"), this);
    edit_->setObjectName(QStringLiteral("cmdEditLanguage"));
    edit_->setEnabled(editEnabled);
    auto* help = new QPushButton(Tr("&Help"), this);
    help->setObjectName(QStringLiteral("cmdHelp"));

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {done, cancel, fontButton_, edit_, help})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(label);
    left->addWidget(list_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(done, &QPushButton::clicked, this, &LanguageDialog::Done);
    connect(list_, &QListWidget::itemDoubleClicked, this, &LanguageDialog::Done);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, &LanguageDialog::SelectionChanged);
    connect(fontButton_, &QPushButton::clicked, this, &LanguageDialog::ChooseFont);
    connect(edit_, &QPushButton::clicked, this, [this] { (void)EditSelectedLanguage(); });
    if (openHelp) {
        connect(help, &QPushButton::clicked, this, [openHelp] { openHelp(); });
        auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
        connect(f1, &QShortcut::activated, this, [openHelp] { openHelp(); });
    } else {
        help->setEnabled(false);
    }
    resize(sizeHint().width() + 80, sizeHint().height());
}

void LanguageDialog::SelectionChanged() {
    const QListWidgetItem* item = list_->currentItem();
    edit_->setEnabled(item && item->data(Qt::UserRole).toString() != QLatin1String(kEnglish));
}

void LanguageDialog::Done() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    pick_.language = item->data(Qt::UserRole).toString().toStdString();
    pick_.font = font_;
    accept();
}

void LanguageDialog::ChooseFont() {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, fontButton_->font(), this, Tr("Font"));
    if (ok)
        font_ = font.family().toStdString();
}

std::vector<std::string> LanguageDialog::EditSelectedLanguage() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !edit_->isEnabled())
        return {};
    std::string folder = languagesFolder_;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    const std::string file = folder + LanguageFileName(item->data(Qt::UserRole).toString().toStdString());
    const std::vector<std::string> command =
        TextEditorCommand(EnvironmentValue("VISUAL"), EnvironmentValue("EDITOR"), file);
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i)
        arguments << QString::fromStdString(command[i]);
    if (!QProcess::startDetached(QString::fromStdString(command.front()), arguments))
        return {};
    return command;
}

LanguagePick QtLanguageWindow::Show(const std::vector<std::string>& choices, int selected, bool editEnabled) {
    LanguageDialog dialog(choices, selected, editEnabled, languagesFolder_, openHelp_, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.Pick();
}

} // namespace slidemill
