#pragma once

#include "core/Translator.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace slidemill {

// frmLanguage: the languages found, and a display font. "&Done" (or a double click) returns the
// selected language, "&Cancel" and Escape return none.
class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    // languagesFolder: where "&Edit Language" finds the selected language's file. openHelp opens
    // the page about languages (also F1).
    LanguageDialog(const std::vector<std::string>& choices, int selected, bool editEnabled,
                   std::string languagesFolder, std::function<void()> openHelp, QWidget* parent = nullptr);

    LanguagePick Pick() const { return pick_; }
    // The font "&Font" chose so far ("" for none).
    const std::string& ChosenFont() const { return font_; }
    void SetChosenFont(const std::string& font) { font_ = font; }

    QListWidget& List() const { return *list_; }
    QPushButton& EditButton() const { return *edit_; }
    QPushButton& FontButton() const { return *fontButton_; }

    // "&Edit Language": the selected language's file in the user's text editor. Returns the
    // command started (program first), empty when nothing was started.
    std::vector<std::string> EditSelectedLanguage();

private:
    void Done();
    void SelectionChanged();
    void ChooseFont();

    QListWidget* list_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* fontButton_ = nullptr;
    std::string languagesFolder_;
    std::string font_;
    LanguagePick pick_;
};

// The language window of the translator, shown modally over parent.
class QtLanguageWindow final : public LanguageWindow {
public:
    QtLanguageWindow(std::string languagesFolder, std::function<void()> openHelp, QWidget* parent = nullptr)
        : languagesFolder_(std::move(languagesFolder)), openHelp_(std::move(openHelp)), parent_(parent) {}
    LanguagePick Show(const std::vector<std::string>& choices, int selected, bool editEnabled) override;

private:
    std::string languagesFolder_;
    std::function<void()> openHelp_;
    QWidget* parent_;
};

// The command that opens file in the user's text editor: $VISUAL, else $EDITOR (each split into
// words, never given to a shell), else the desktop's opener (xdg-open).
std::vector<std::string> TextEditorCommand(const std::string& visual, const std::string& editor,
                                           const std::string& file);

} // namespace slidemill
