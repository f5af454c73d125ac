#include "platform/Collation.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <algorithm>

TEST(Collation, FrenchNamesSortWithAccentsAndCaseFolded)
{
    QStringList names{"Zèbre", "nain", "Élan", "elfe", "Armes", "athlétisme", "Éducation", "Magie"};
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return platform::compareNames(a, b) < 0; });
    EXPECT_EQ(names, (QStringList{"Armes", "athlétisme", "Éducation", "Élan", "elfe", "Magie", "nain", "Zèbre"}));
}
