#include "frame/ErrorReporter.h"

#include "platform/Strings.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QDebug>

#include <exception>
#include <new>
#include <stdexcept>

namespace {

// Our own request sentence, for the English table that has none.
constexpr int kOwnRequest = 9050;

// Texts the box needs even when the current table lacks them: a table that
// could not be read must not stop the box.
QString text(int id)
{
    QString s;
    try {
        if (Strings::TryLoad(id, &s))
            return s;
        if (id == 5001 && Strings::TryLoad(kOwnRequest, &s))
            return s;
    } catch (...) {
    }
    const bool fr = Strings::current() == Strings::Language::French;
    switch (id) {
    case 3533: return fr ? QStringLiteral("Numéro d'erreur :") : QStringLiteral("Error number :");
    case 3534: return QStringLiteral("Localisation :");
    case 5001:
        // The English table has no request sentence; ours reads the same way.
        return fr ? QStringLiteral("Si vous ne parvenez pas à résoudre l'erreur, fait parvenir la description à")
                  : QStringLiteral("If you cannot solve the problem, please send this description to");
    case 1037: return fr ? QStringLiteral("Attention") : QStringLiteral("Warning");
    case 1102: return QStringLiteral("support@quorvane.example");
    default: return {};
    }
}

int g_oneBoxDepth = 0;
bool g_oneBoxShown = false;
bool g_shownSinceEntry = false;

} // namespace

OneErrorBox::OneErrorBox(Reach reach) : m_reach(reach)
{
    if (g_oneBoxDepth++ == 0)
        g_oneBoxShown = reach == SinceBoxEntered && g_shownSinceEntry;
}

OneErrorBox::~OneErrorBox()
{
    if (--g_oneBoxDepth == 0 && m_reach == SinceBoxEntered)
        g_shownSinceEntry = g_oneBoxShown;
}

void OneErrorBox::EnteredAnotherBox()
{
    g_shownSinceEntry = false;
}

QString ErrorMessageText(qint32 number, const QString &errText, const QString &location)
{
    const QString crlf = QStringLiteral("\r\n");
    return text(3533) + QString::number(number) + crlf + errText + crlf + text(3534) + location + crlf
        + text(5001) + QLatin1Char(' ') + text(1102) + QLatin1Char('.');
}

void ShowErrorMessage(qint32 number, const QString &errText, const QString &location)
{
    if (g_oneBoxDepth > 0) {
        if (g_oneBoxShown) {
            qWarning() << "Error" << number << "at" << location << "follows one already shown";
            return;
        }
        g_oneBoxShown = true;
    }
    try {
        ports::ui().ErrorBox(ErrorMessageText(number, errText, location), text(1037));
    } catch (...) {
        // The box itself failed: the error path must still return to its caller.
        qWarning() << "Error" << number << "at" << location << "could not be shown";
    }
}

QString ShownText(const vb::Error &e)
{
    return e.inPlayersWords() ? e.text() : vb::ErrorText(e.number());
}

void ReportError(const vb::Error &e, const QString &location)
{
    ShowErrorMessage(e.number(), ShownText(e), location);
}

void ReportCurrentException(const QString &location)
{
    int number = vb::ErrInternal;
    try {
        if (const std::exception_ptr current = std::current_exception())
            std::rethrow_exception(current);
    } catch (const vb::Error &e) {
        ReportError(e, location);
        return;
    } catch (const std::bad_alloc &) {
        number = vb::ErrOutOfMemory;
    } catch (const std::out_of_range &) {
        number = vb::ErrSubscript;
    } catch (const std::overflow_error &) {
        number = vb::ErrOverflow;
    } catch (...) {
    }
    ShowErrorMessage(number, vb::ErrorText(number), location);
}
