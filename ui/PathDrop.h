#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QMimeData;

namespace slidemill {

// The path of a file or folder dragged from the file manager: the first URL when it names a
// local file or folder (a folder without its trailing "/"), else "" (a web address, plain text).
QString DroppedLocalPath(const QMimeData& data);

// Lets a path field take a file or folder dragged onto it: the path replaces the field's text
// as if the user had typed it. Other drops are refused, so a web address never lands in a path.
class PathDrop : public QObject {
    Q_OBJECT
public:
    // Watches edit and lives as long as it does.
    explicit PathDrop(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit_;
};

} // namespace slidemill
