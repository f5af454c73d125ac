#include "frame/Units.h"

#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "platform/Strings.h"

namespace units {
namespace {

// Texts of our own for the unit words, in both tables.
constexpr int kMetres = 9001, kKilograms = 9002, kMetreMark = 9003;
constexpr int kFeet = 9004, kPounds = 9005, kFootMark = 9006, kPoundMark = 9007;

// The layout's unit strings name metres and kilograms in the French table and
// feet and pounds in the English one. They are kept where they name the units
// of the data; otherwise our own text for the data's unit stands in.
QString word(int layoutNumber, int metricNumber, int imperialNumber)
{
    const bool layoutIsMetric = Strings::current() == Strings::Language::French;
    const int n = layoutIsMetric == Metric() ? layoutNumber : Metric() ? metricNumber : imperialNumber;
    try {
        return Strings::Load(n);
    } catch (...) {
        return {};
    }
}

} // namespace

bool Metric()
{
    return ModGeneral::DataLanguage != rules::kEnglish;
}

QString HeightWord() { return word(3033, kMetres, kFeet); }
QString WeightWord() { return word(3028, kKilograms, kPounds); }
QString HeightMark() { return word(3102, kMetreMark, kFootMark); }
QString WeightMark() { return word(3103, kKilograms, kPoundMark); }

} // namespace units
