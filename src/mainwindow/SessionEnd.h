#pragma once
// The end of a session from outside: SIGTERM and SIGHUP (a closed terminal, a
// logout, a shutdown) close the window as the user would, so the setup file
// keeps the session's deals and condition. The signal only writes a byte to a
// pipe; the window's thread reads it and closes.
#include <QObject>

class QSocketNotifier;

class TSessionEnd : public QObject {
    Q_OBJECT
public:
    explicit TSessionEnd(QObject* parent = nullptr);
    // The signal that ended the session; 0 while none has.
    int Signal() const { return signal_; }

signals:
    void Ended(int signal);

private:
    QSocketNotifier* notifier_ = nullptr;
    int signal_ = 0;
};
