#pragma once
// The interface's texts by number, from resources/strings: the French table
// (the full set) and the English one (a subset). The table follows the system
// language: French -> French, anything else -> English.
#include <QString>

namespace Strings {

enum class Language { French, English };

// Text of number n in the current table; raises vb::Error(5) when neither the
// current table nor (for English) the French fallback has it.
QString Load(int n);
// Text of n in the current table only; false when that table lacks it (the
// localiser keeps the layout's text then).
bool TryLoad(int n, QString *out);

Language current();
// Chosen once from the system locale at first use; tests set it themselves.
void setLanguage(Language lang);

} // namespace Strings
