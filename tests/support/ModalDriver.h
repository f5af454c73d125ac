#pragma once
// Drives real modal windows in tests: started before the code calls exec(), it
// looks at the active modal window every 10 ms, runs the next scripted step on
// each new one, and after a deadline closes any modal nobody expected, and
// any a step left open (its check failed, or the window refused the click),
// so exec() always returns and the test fails instead of hanging.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <algorithm>
#include <deque>
#include <functional>

// Ends a modal window whatever it does with a cancel.
inline void CloseModal(QWidget *m)
{
    if (auto *d = qobject_cast<QDialog *>(m)) {
        d->reject();
        // A window that refuses to be cancelled is ended all the same.
        if (d->isVisible())
            d->QDialog::done(QDialog::Rejected);
    } else {
        m->close();
    }
}

// The last line for windows no driver watches: a modal window still up after
// five seconds of its event loop is closed, and the test that opened it
// fails, so that no test waits on a window for longer. Ticks are counted, not
// time, so that a slow step holding the loop is not taken for a wait.
class ModalWatchdog {
public:
    ModalWatchdog()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start(100);
    }

private:
    void tick()
    {
        QWidget *m = QApplication::activeModalWidget();
        if (m != m_seen) {
            m_seen = m;
            m_ticks = 0;
            return;
        }
        if (!m || ++m_ticks < 50)
            return;
        ADD_FAILURE() << "no one closed the window " << m->metaObject()->className() << " \""
                      << m->windowTitle().toStdString() << "\" in five seconds";
        m_ticks = 0;
        CloseModal(m);
    }
    QTimer m_timer;
    QPointer<QWidget> m_seen;
    int m_ticks = 0;
};

class ModalDriver {
public:
    using Step = std::function<void(QWidget *)>;
    explicit ModalDriver(int deadlineMs = 3000)
        : m_deadline(deadlineMs)
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start(10);
    }
    ModalDriver &then(Step s)
    {
        m_steps.push_back(std::move(s));
        return *this;
    }
    bool allStepsRan() const { return m_steps.empty(); }
    int rescued() const { return m_rescued; }
    // Names (class names) of the modal windows seen, in order.
    const QStringList &seen() const { return m_seen; }

private:
    void tick()
    {
        QWidget *m = QApplication::activeModalWidget();
        if (!m)
            return;
        if (m == m_last) {
            // A step closes its window at once or from a zero timer: one still
            // up after a while never will be, however long the flow.
            if (m_stepClock.elapsed() > std::min(m_deadline, kStepLeftOpenMs))
                rescue(m);
            return;
        }
        if (!m_steps.empty()) {
            m_last = m;
            m_seen << QString::fromLatin1(m->metaObject()->className());
            Step s = std::move(m_steps.front());
            m_steps.pop_front();
            m_stepClock.start();
            s(m);
            m_stepClock.start();
        } else if (m_clock.elapsed() > m_deadline) {
            rescue(m);
        }
    }
    void rescue(QWidget *m)
    {
        ++m_rescued;
        ADD_FAILURE() << "ModalDriver closed " << m->metaObject()->className() << " \""
                      << m->windowTitle().toStdString() << "\", which no step closed";
        CloseModal(m);
    }
    static constexpr int kStepLeftOpenMs = 2000;
    QTimer m_timer;
    QElapsedTimer m_clock;
    QElapsedTimer m_stepClock;   // since the last step on m_last
    int m_deadline;
    int m_rescued = 0;
    QPointer<QWidget> m_last;
    std::deque<Step> m_steps;
    QStringList m_seen;
};
