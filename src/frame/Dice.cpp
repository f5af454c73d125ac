#include "frame/Dice.h"

#include "frame/ErrorReporter.h"
#include "platform/vb.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <random>

namespace Dice {
namespace {

// Seeded once per run: reseeding from the clock on every roll would repeat the
// same values for rolls made within one clock tick.
std::mt19937_64 &generator()
{
    static std::mt19937_64 gen([] {
        std::random_device rd;
        const auto now = static_cast<quint64>(std::chrono::steady_clock::now().time_since_epoch().count());
        return (static_cast<quint64>(rd()) << 32) ^ rd() ^ now;
    }());
    return gen;
}

std::deque<float> &script()
{
    static std::deque<float> s;
    return s;
}

} // namespace

float Next()
{
    auto &s = script();
    if (!s.empty()) {
        const float r = s.front();
        s.pop_front();
        return r;
    }
    // 24 random bits: every value is exact in single precision and below 1.
    return static_cast<float>(generator()() >> 40) * (1.0f / 16777216.0f);
}

void setSeed(quint64 seed) { generator().seed(seed); }

void setScript(const std::vector<float> &values) { script().assign(values.begin(), values.end()); }

void setRolls(const std::vector<int> &d100)
{
    auto &s = script();
    s.clear();
    for (int roll : d100)
        s.push_back((static_cast<float>(roll) - 0.5f) / 100.0f);
}

void clearScript() { script().clear(); }

int scriptRemaining() { return static_cast<int>(script().size()); }

} // namespace Dice

namespace {

// Int(N × R + 1), computed in single precision as the rules expect, kept to
// 1..N where float rounding could otherwise step outside.
qint32 face(qint16 n)
{
    const float r = Dice::Next();
    const auto v = static_cast<qint32>(vb::Int(static_cast<float>(n) * r + 1.0f));
    if (n >= 1)
        return std::clamp<qint32>(v, 1, n);
    return v;
}

} // namespace

QVariant JetDe(qint16 N)
{
    QVariant result;
    try {
        if (N <= 100) {
            result = face(N);
        } else if (N == 101) {
            qint32 roll = face(100);
            qint32 total = roll;
            result = total;
            if (roll > 94) {
                do {
                    roll = face(100);
                    total = vb::Add32(total, roll);
                    result = total;
                } while (roll > 94);
            } else if (roll < 6) {
                do {
                    roll = face(100);
                    total = vb::Sub32(total, roll);
                    result = total;
                } while (roll > 94);
            }
        }
    } catch (...) {
        ReportCurrentException(QStringLiteral("JetDé"));
    }
    return result;
}
