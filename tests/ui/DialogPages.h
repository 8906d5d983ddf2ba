#pragma once

class QDialog;
class QTabWidget;

namespace slidemill {

// Shows dialog with each page of tabs in front once and fails the test for every visible text
// its control cuts off. SLIDEMILL_DIALOG_GRAB names a folder that receives a picture of each
// page ("<dialog name>-<page>.png").
void CheckEveryPage(QDialog& dialog, QTabWidget& tabs);

} // namespace slidemill
