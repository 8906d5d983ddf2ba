#pragma once

#include <QObject>
#include <QString>

#include <string>

namespace slidemill {

// A caption, label or tooltip in the user's language. Texts are translated where their widget
// is made, so a text is translated once and data (paths, recently used entries) never is.
QString Tr(const char* english);
QString Tr(const std::string& english);

// The widget, named as the tests and the translator find it.
template <class T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace slidemill
