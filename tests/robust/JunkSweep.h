#pragma once
// A careless user for robustness tests: every editable text box of a window
// gets junk, every enabled list every position, every enabled check box a
// tick and an untick. Boxes are answered without a script (questions are
// declined, choosers closed, nested dialogs closed at once); a run-time error
// box, an exception, more than one message for one action, or a record left
// holding a value it cannot use fails the test.
#include "character/Personnage.h"
#include "frame/ModGeneral.h"
#include "platform/ports.h"
#include "support/ModalDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QValidator>
#include <gtest/gtest.h>

#include <cmath>
#include <exception>
#include <functional>
#include <random>

namespace robust {

// Texts no box expects.
inline QStringList JunkTexts()
{
    QStringList junk = {
        QString(), QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("abc"), QStringLiteral("12abc"),
        QStringLiteral("1e999"), QStringLiteral("-1e999"), QStringLiteral("&H"), QStringLiteral("&HFFFFFFFF"),
        QStringLiteral("99999999999"), QStringLiteral("-99999999999"), QStringLiteral("2.5"), QStringLiteral("1,5"),
    };
    // Long text: seeded, so a failure comes back the same.
    std::mt19937 gen(1234);
    QString longText;
    longText.reserve(5000);
    for (int i = 0; i < 5000; ++i)
        longText += QChar(static_cast<char16_t>(u'0' + gen() % 75));
    junk << longText;
    junk << QStringLiteral("4") + QChar(u'\0') + QStringLiteral("2");
    junk << QStringLiteral("7\n8");
    junk << QStringLiteral("5\r\n");
    return junk;
}

// Answers everything without a script, and counts.
class JunkPorts : public ports::UserPorts {
public:
    int MsgBox(const QString &text, int style, const QString &) override
    {
        ++messages;
        lastMessages << text;
        // Decline questions; acknowledge the rest.
        switch (style & 7) {
        case ports::YesNo:
        case ports::YesNoCancel: return ports::No;
        case ports::OkCancel:
        case ports::RetryCancel: return ports::Cancel;
        default: return ports::Ok;
        }
    }
    QString InputBox(const QString &, const QString &, const QString &) override { return {}; }
    QString OpenFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString SaveFileName(const QString &, const QString &, const QString &, const QString &) override { return {}; }
    bool PrintDialog() override { return false; }
    void ErrorBox(const QString &text, const QString &) override
    {
        ++errors;
        errorTexts << text;
    }
    void ProgressShow(const QString &, const QString &, int) override {}
    void ProgressValue(int) override {}
    void ProgressClose() override {}
    qint32 ChooseOne(int, qint32, const std::vector<ports::ChooserItem> &) override { return -1; }
    std::vector<int> ChooseStatGains(int, const std::vector<int> &forced, int) override { return forced; }

    int messages = 0;
    int errors = 0;
    QStringList lastMessages;
    QStringList errorTexts;
};

// Installs a JunkPorts for its lifetime and puts back what was installed.
class JunkPortsScope {
public:
    JunkPortsScope() { ports::install(&m_ports); }
    ~JunkPortsScope() { ports::install(m_previous); }
    JunkPortsScope(const JunkPortsScope &) = delete;
    JunkPortsScope &operator=(const JunkPortsScope &) = delete;
    JunkPorts *operator->() { return &m_ports; }
    JunkPorts &operator*() { return m_ports; }

private:
    ports::UserPorts *m_previous = &ports::ui();
    JunkPorts m_ports;
};

// Closes every dialog a window opens on its own, at once; a dialog that will
// not be rejected is ended all the same, so nothing ever waits for a user.
class ModalCloser {
public:
    ModalCloser()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start(0);
    }
    int closed = 0;

private:
    void tick()
    {
        QWidget *m = QApplication::activeModalWidget();
        if (!m)
            return;
        ++closed;
        CloseModal(m);
    }
    QTimer m_timer;
};

// True when the user could type the text into the box.
inline bool Typable(const QLineEdit *e, const QString &text)
{
    if (e->maxLength() < text.size())
        return true;   // the box cuts it; what is left is still typed
    if (const QValidator *v = e->validator()) {
        QString t = text;
        int pos = 0;
        return v->validate(t, pos) != QValidator::Invalid;
    }
    return true;
}

// The record's numbers a later step relies on: fractional fields finite, and
// the record's own computations (level, points, bonuses) still without error.
inline void ExpectUsableRecord(Personnage &p, const QString &what)
{
    SCOPED_TRACE(what.toStdString());
    EXPECT_TRUE(std::isfinite(p.Age)) << p.Age;
    EXPECT_TRUE(std::isfinite(p.Grandeur)) << p.Grandeur;
    EXPECT_TRUE(std::isfinite(p.Poids)) << p.Poids;
    EXPECT_GE(p.Experience, 0);
    for (qint16 s = 0; s < 10; ++s) {
        EXPECT_GE(p.DirStats(0, s), 0) << s;
        EXPECT_LE(p.DirStats(0, s), 1000) << s;
        // A typed potential is stored as typed, whatever 16-bit figure it is:
        // the gain rolls never lower a value for it.
    }
    EXPECT_GE(p.NbSkill, 0);
    EXPECT_GE(p.NbSkillCat, 0);
    // Each of these reports its own overflow in an error box, which the
    // sweep counts against the action.
    p.CalNiveau();
    p.DevelopmentPoint();
    for (qint16 s = 0; s < 10; ++s)
        p.TotalStatBonus(s);
    for (qint16 k = 1; k <= 9; ++k)
        p.TotalResistanceBonus(k);
}

// Drives one window.
class Sweeper {
public:
    Sweeper(JunkPorts &ports, std::function<void(const QString &)> check)
        : m_ports(ports), m_check(std::move(check))
    {
    }

    // Runs after every action (e.g. a compute button the window has).
    std::function<void()> after;
    // Widgets left alone (their own tests cover them).
    QList<QObject *> skip;
    int actions = 0;
    int edits = 0;
    // Error boxes one action may show (a hole in the rules is worth one).
    int allowedErrors = 0;

    void Run(QWidget *root, const QString &window)
    {
        QList<QPointer<QLineEdit>> lines;
        for (QLineEdit *e : root->findChildren<QLineEdit *>())
            if (!qobject_cast<QComboBox *>(e->parentWidget()) && !skip.contains(e))
                lines << e;
        QList<QPointer<QPlainTextEdit>> plains;
        for (QPlainTextEdit *e : root->findChildren<QPlainTextEdit *>())
            if (!skip.contains(e))
                plains << e;
        QList<QPointer<QComboBox>> combos;
        for (QComboBox *c : root->findChildren<QComboBox *>())
            if (!skip.contains(c))
                combos << c;
        QList<QPointer<QCheckBox>> checks;
        for (QCheckBox *c : root->findChildren<QCheckBox *>())
            if (!skip.contains(c))
                checks << c;
        const QStringList junk = JunkTexts();

        for (const QPointer<QLineEdit> &e : lines) {
            if (!e || !e->isEnabled() || e->isReadOnly())
                continue;
            const QString name = window + QLatin1Char('.') + e->objectName();
            const QString before = e->text();
            ++edits;
            for (const QString &j : junk) {
                if (!e || !e->isEnabled() || e->isReadOnly())
                    break;
                if (!Typable(e, j))
                    continue;
                act(name + QStringLiteral(" <- \"") + j.left(20) + QLatin1Char('"'), [&] {
                    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);   // the player clicks into it
                    QCoreApplication::sendEvent(e, &in);
                    e->setText(j);
                    QFocusEvent out(QEvent::FocusOut);
                    QCoreApplication::sendEvent(e, &out);
                });
            }
            if (e && e->isEnabled() && !e->isReadOnly())
                act(name + QStringLiteral(" restored"), [&] {
                    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
                    QCoreApplication::sendEvent(e, &in);
                    e->setText(before);
                    QFocusEvent out(QEvent::FocusOut);
                    QCoreApplication::sendEvent(e, &out);
                });
        }
        for (const QPointer<QPlainTextEdit> &e : plains) {
            if (!e || !e->isEnabled() || e->isReadOnly())
                continue;
            const QString name = window + QLatin1Char('.') + e->objectName();
            const QString before = e->toPlainText();
            for (const QString &j : junk)
                if (e)
                    act(name + QStringLiteral(" <- \"") + j.left(20) + QLatin1Char('"'), [&] { e->setPlainText(j); });
            if (e)
                act(name + QStringLiteral(" restored"), [&] { e->setPlainText(before); });
        }
        for (const QPointer<QComboBox> &c : combos) {
            if (!c || !c->isEnabled())
                continue;
            const QString name = window + QLatin1Char('.') + c->objectName();
            const int before = c->currentIndex();
            for (int i = 0; c && i < c->count(); ++i)
                act(name + QStringLiteral(" #") + QString::number(i), [&] { c->setCurrentIndex(i); });
            if (c && c->isEnabled())
                act(name + QStringLiteral(" back"), [&] { c->setCurrentIndex(before); });
        }
        for (const QPointer<QCheckBox> &c : checks) {
            for (int pass = 0; pass < 2; ++pass) {
                if (!c || !c->isEnabled())
                    break;
                act(window + QLatin1Char('.') + c->objectName() + (pass ? QStringLiteral(" again") : QString()),
                    [&] { c->click(); });
            }
        }
    }

    // One action: it must not throw, raise a run-time error box, or say more
    // than one thing.
    void act(const QString &what, const std::function<void()> &f)
    {
        ++actions;
        const int messagesBefore = m_ports.messages;
        const int errorsBefore = m_ports.errors;
        m_ports.lastMessages.clear();
        try {
            f();
            if (after)
                after();
            if (m_check)
                m_check(what);
        } catch (const std::exception &e) {
            ADD_FAILURE() << what.toStdString() << ": exception " << e.what();
        } catch (...) {
            ADD_FAILURE() << what.toStdString() << ": exception";
        }
        if (m_ports.errors - errorsBefore > allowedErrors)
            ADD_FAILURE() << what.toStdString() << ": error box "
                          << m_ports.errorTexts.mid(errorsBefore).join(QStringLiteral(" | ")).toStdString();
        if (m_ports.messages - messagesBefore > 1)
            ADD_FAILURE() << what.toStdString() << ": " << m_ports.messages - messagesBefore << " messages: "
                          << m_ports.lastMessages.join(QStringLiteral(" | ")).toStdString();
    }

private:
    JunkPorts &m_ports;
    std::function<void(const QString &)> m_check;
};

} // namespace robust
