#pragma once

#include <string>

class QWidget;

namespace slidemill {

class ConversionComponent;

// The About box's text: the program's name and version, and the version of the office suite
// that converts (the component's own answer; it may start an office to ask).
std::string AboutText(ConversionComponent& component);

// Shows the About box modally over parent.
void ShowAboutBox(QWidget* parent, ConversionComponent& component);

} // namespace slidemill
