#include "ui/PathDrop.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace slidemill {

QString DroppedLocalPath(const QMimeData& data) {
    if (!data.hasUrls() || data.urls().isEmpty())
        return {};
    const QUrl url = data.urls().front();
    if (!url.isLocalFile())
        return {};
    QString path = url.toLocalFile();
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

PathDrop::PathDrop(QLineEdit* edit) : QObject(edit), edit_(edit) {
    edit_->setAcceptDrops(true);
    edit_->installEventFilter(this);
}

bool PathDrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (DroppedLocalPath(*drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedLocalPath(*drop->mimeData());
        if (path.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        edit_->setFocus(Qt::OtherFocusReason);
        edit_->setText(path);
        return true;
    }
    default:
        return false;
    }
}

} // namespace slidemill
