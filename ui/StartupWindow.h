#pragma once

#include <QWidget>

#include <string>

class QLabel;

namespace slidemill {

// "V" followed by the major version, ".", the minor version and the revision written one after
// the other: "2.1.45" gives "V2.145". Missing parts count as 0.
std::string StartupVersionLine(const std::string& dottedVersion);

// The small window shown while the main window is built: the program's name, its version and
// its maker.
class StartupWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartupWindow(const std::string& dottedVersion, QWidget* parent = nullptr);

    QString HeaderText() const;
    QString VersionText() const;
    QString MakerText() const;

private:
    QLabel* lblHeader_ = nullptr;
    QLabel* lblLine1_ = nullptr;
    QLabel* lblLine2_ = nullptr;
};

} // namespace slidemill
