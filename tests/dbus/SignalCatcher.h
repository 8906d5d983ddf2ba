#pragma once

#include <QObject>
#include <QString>

namespace slidemill::test {

// A receiver for a bus signal, so that a QSignalSpy can watch what arrived.
class SignalCatcher : public QObject {
    Q_OBJECT
public slots:
    void Catch(int lErr, const QString& sErr) { emit Caught(lErr, sErr); }
signals:
    void Caught(int lErr, const QString& sErr);
};

} // namespace slidemill::test
