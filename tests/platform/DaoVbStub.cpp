// Stand-in for the error type while the run-time library is not merged yet:
// weak, so the real definitions replace these as soon as they are linked.
#include "platform/vb.h"

#define QV_WEAK __attribute__((weak))

namespace vb {

QV_WEAK Error::Error(int number) : m_number(number), m_text(ErrorText(number)) {}
QV_WEAK Error::Error(int number, QString text) : m_number(number), m_text(std::move(text)) {}
QV_WEAK const char *Error::what() const noexcept
{
    m_utf8 = m_text.toUtf8();
    return m_utf8.constData();
}
QV_WEAK QString ErrorText(int number) { return QStringLiteral("Error %1").arg(number); }
QV_WEAK void Raise(int number) { throw Error(number); }

} // namespace vb
