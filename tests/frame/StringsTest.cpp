#include "platform/Strings.h"
#include "platform/vb.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Every string number that a window, a message or the printed sheet uses,
// those the layouts and tables name included.
const int kUsedNumbers[] = {
    1000, 1001, 1002, 1003, 1004, 1005, 1006, 1009, 1010, 1012, 1024, 1025, 1027, 1028,
    1029, 1030, 1031, 1032, 1033, 1034, 1037, 1042, 1044, 1045, 1100, 1101, 1102, 1103,
    1104, 1110, 1111, 2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007, 2008, 2009, 2010,
    2011, 2013, 2014, 2015, 2016, 2017, 2018, 2019, 2020, 2021, 2022, 2023, 2024, 2025,
    3000, 3002, 3003, 3004, 3005, 3006, 3007, 3016, 3017, 3018, 3019, 3023, 3026, 3027,
    3028, 3033, 3038, 3040, 3041, 3042, 3043, 3044, 3045, 3046, 3047, 3048, 3050, 3051,
    3052, 3053, 3054, 3055, 3058, 3059, 3060, 3061, 3062, 3063, 3064, 3065, 3066, 3067,
    3068, 3069, 3070, 3071, 3072, 3073, 3074, 3075, 3076, 3077, 3078, 3079, 3080, 3082,
    3083, 3084, 3085, 3086, 3087, 3088, 3089, 3090, 3091, 3092, 3093, 3094, 3095, 3096,
    3097, 3098, 3099, 3100, 3101, 3102, 3103, 3104, 3105, 3106, 3500, 3501, 3502, 3503,
    3504, 3505, 3506, 3507, 3508, 3509, 3510, 3511, 3512, 3514, 3515, 3516, 3517, 3518,
    3519, 3520, 3521, 3522, 3523, 3524, 3526, 3527, 3528, 3529, 3530, 3531, 3532, 3533,
    3534, 3535, 3538, 3540, 3541, 3542, 3543, 3544, 3545, 3546, 3547, 3548, 3549, 3550,
    3551, 3552, 3553, 3554, 3555, 3556, 3557, 3558, 3559, 3560, 3561, 3562, 3563, 3564,
    3565, 3566, 3567, 3568, 3569, 3570, 3571, 3572, 3573, 3579, 3580, 3581, 3582, 3583,
    3584, 3585, 3586, 3587, 3588, 3589, 3590, 3591, 3592, 3593, 4000, 4001, 5000, 5001,
    5004, 5006, 5007, 5008, 5009, 5010, 5011, 5012, 5013, 5014, 5015, 5016, 5017, 5018,
    5019, 5020, 5021, 5022, 5023, 5024, 5025, 5026, 5027, 5028, 5029, 5030, 5032, 5034,
    5035, 5036, 5037, 5038, 5039, 5044, 5045, 5046, 5047, 5048, 5049, 5050, 5052, 5053,
    5054, 5055, 5056, 5057, 5058, 5059, 5062, 5063, 5064, 5065, 5066,
};

// Numbers whose English text the program relies on.
const int kEnglishNumbers[] = {
    1010, 1012, 1037, 1044, 1045, 1102, 1104, 3028, 3033, 3038, 3048, 3052, 3075, 3076,
    3077, 3078, 3079, 3080, 3090, 3091, 3093, 3102, 3103, 3503, 3504, 3505, 3506, 3509,
    3510, 3511, 3515, 3516, 3518, 3519, 3520, 3521, 3522, 3523, 3524, 3526, 3527, 3528,
    3529, 3530, 3531, 3532, 3533, 3534, 3535, 3538, 3540, 3542, 3543, 3544, 3545, 3546,
    3552, 3553, 3557, 3558, 3559, 3560, 3561, 3562, 3569, 3570, 3571, 3572, 3573, 3579,
    3580, 3581, 3582, 3583, 3584, 3585, 3586, 3587, 3588, 3589, 3591, 3592, 3593, 5007,
    5008, 5009, 5010, 5011, 5012, 5026, 5062, 5065,
};

// Numbers that exist in French only: the English layout keeps its own text.
const int kFrenchOnlyNumbers[] = {
    2001, 2002, 2003, 2004, 2005, 2006, 2007, 2009, 2010, 2011, 2013, 2014, 2015, 2016,
    2017, 2018, 2022, 3002, 3023, 3050, 3055, 3058, 3059, 3060, 3061, 3063, 3065, 3066,
    3067, 3068, 3069, 3070, 3071, 3072, 3073, 3074, 3106, 3501, 3512, 3547, 3548, 3549,
    3550, 3551, 3554, 3563, 3564, 3565, 3566, 3567, 3568, 3590, 5001, 5006, 5014, 5015,
    5016, 5017, 5018, 5019, 5020, 5022, 5023, 5024, 5030, 5046, 5047, 5048, 5049, 5050,
    5055, 5064,
};

struct RawEntry {
    int number;
    QString text;
};

// The table files as written, read apart from the loader so that a line the
// loader would drop or merge still shows up here.
std::vector<RawEntry> rawTable(const QString &resource, QStringList *badLines)
{
    std::vector<RawEntry> entries;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = false;
        const int n = tab > 0 ? line.left(tab).toInt(&ok) : 0;
        if (!ok || line.endsWith(u'\r')) {
            badLines->append(line);
            continue;
        }
        entries.push_back({n, line.mid(tab + 1)});
    }
    return entries;
}

class StringsTest : public ::testing::Test {
protected:
    void SetUp() override { saved = Strings::current(); }
    void TearDown() override { Strings::setLanguage(saved); }
    Strings::Language saved{};
};

TEST_F(StringsTest, TablesAreWellFormed)
{
    for (const char *name : {":/strings/fr.txt", ":/strings/en.txt"}) {
        SCOPED_TRACE(name);
        QStringList bad;
        const auto entries = rawTable(QString::fromLatin1(name), &bad);
        EXPECT_FALSE(entries.empty());
        EXPECT_TRUE(bad.isEmpty()) << bad.join(u'\n').toStdString();
        QMap<int, int> seen;
        for (const auto &e : entries) {
            EXPECT_EQ(++seen[e.number], 1) << "duplicate number " << e.number;
            EXPECT_FALSE(e.text.trimmed().isEmpty()) << "empty text for " << e.number;
        }
    }
}

// The numbers the sources load by their literal number, as in
// Strings::Load(5045) or Strings::Load(ranks == 1 ? 3075 : 3080).
QList<int> numbersLoadedInTheSources()
{
    QList<int> numbers;
    const QRegularExpression call(QStringLiteral(R"(Strings::Load\(([^()]*)\))"));
    const QRegularExpression literal(QStringLiteral(R"(\b\d{4}\b)"));
    QDirIterator files(QStringLiteral(QV_RESOURCES_DIR "/../src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString code = QString::fromUtf8(file.readAll());
        for (auto c = call.globalMatch(code); c.hasNext();)
            for (auto n = literal.globalMatch(c.next().captured(1)); n.hasNext();)
                numbers << n.next().captured().toInt();
    }
    return numbers;
}

TEST_F(StringsTest, FrenchHoldsEveryNumberAndEnglishIsASubset)
{
    QStringList bad;
    const auto french = rawTable(QStringLiteral(":/strings/fr.txt"), &bad);
    const auto english = rawTable(QStringLiteral(":/strings/en.txt"), &bad);
    // The program's added messages (from 9000 on) come in pairs.
    for (const auto &e : french)
        if (e.number >= 9000)
            EXPECT_TRUE(std::any_of(english.begin(), english.end(), [&](const RawEntry &x) { return x.number == e.number; }))
                << "English lacks the program's message " << e.number;

    Strings::setLanguage(Strings::Language::French);
    const QList<int> loaded = numbersLoadedInTheSources();
    EXPECT_GT(loaded.size(), 50);   // the sources were found
    for (int n : loaded)
        EXPECT_TRUE(Strings::TryLoad(n, nullptr)) << "French lacks " << n << ", which the program loads";
    for (int n : kUsedNumbers)
        EXPECT_TRUE(Strings::TryLoad(n, nullptr)) << "French lacks " << n;
    for (const auto &e : english)
        EXPECT_TRUE(Strings::TryLoad(e.number, nullptr)) << "English-only number " << e.number;

    Strings::setLanguage(Strings::Language::English);
    for (int n : kEnglishNumbers)
        EXPECT_TRUE(Strings::TryLoad(n, nullptr)) << "English lacks " << n;
    for (int n : kFrenchOnlyNumbers)
        EXPECT_FALSE(Strings::TryLoad(n, nullptr)) << "English should not have " << n;
}

TEST_F(StringsTest, TheProgramsOwnTextsComeInBothLanguages)
{
    QStringList bad;
    auto own = [&](const char *name) {
        QMap<int, QString> texts;
        for (const auto &e : rawTable(QString::fromLatin1(name), &bad))
            if (e.number >= 9000 && e.number <= 9099)
                texts.insert(e.number, e.text);
        return texts;
    };
    const auto french = own(":/strings/fr.txt");
    const auto english = own(":/strings/en.txt");
    EXPECT_EQ(french.keys(), english.keys());
    // The messages a window adds: a player of either language reads them.
    EXPECT_EQ(french.value(9023), QStringLiteral("Chaque dé doit être un nombre entier."));
    EXPECT_EQ(english.value(9023), QStringLiteral("Each die must be a whole number."));
    EXPECT_EQ(english.value(9001), QStringLiteral("metres"));
}

TEST_F(StringsTest, TextsAreTheSystemsOwn)
{
    Strings::setLanguage(Strings::Language::French);
    EXPECT_EQ(Strings::Load(3502), QStringLiteral("Chargement"));
    EXPECT_EQ(Strings::Load(4001), QStringLiteral("Chargement en court. Veuillez patienter..."));
    EXPECT_EQ(Strings::Load(1005), QStringLiteral("Enre&gister"));
    EXPECT_EQ(Strings::Load(3533), QStringLiteral("Numéro d'erreur :"));
    EXPECT_EQ(Strings::Load(5010), QStringLiteral("Item Spécial  (2 OH pour choisir)"));
    EXPECT_EQ(Strings::Load(1104), QStringLiteral("Quorvane"));
    EXPECT_EQ(Strings::Load(1000), QStringLiteral("*** Menu ***"));

    Strings::setLanguage(Strings::Language::English);
    EXPECT_EQ(Strings::Load(1104), QStringLiteral("Quorvane"));
    EXPECT_EQ(Strings::Load(1037), QStringLiteral("Warning"));
    EXPECT_EQ(Strings::Load(3591), QStringLiteral("Choise"));
    EXPECT_EQ(Strings::Load(5009), QStringLiteral("Extra Money (200 gp  for 2 BOs)"));
    // The support address completes a sentence in both languages.
    Strings::setLanguage(Strings::Language::French);
    const QString frenchAddress = Strings::Load(1102);
    Strings::setLanguage(Strings::Language::English);
    EXPECT_EQ(Strings::Load(1102), frenchAddress);
}

TEST_F(StringsTest, LoadFallsBackToFrenchAndRaisesForUnknownNumbers)
{
    Strings::setLanguage(Strings::Language::English);
    EXPECT_EQ(Strings::current(), Strings::Language::English);
    EXPECT_EQ(Strings::Load(3052), QStringLiteral("Level"));
    // Code that builds a message still says something in English mode.
    EXPECT_EQ(Strings::Load(5001).left(13), QStringLiteral("Si vous ne pa"));
    QString out = QStringLiteral("untouched");
    EXPECT_FALSE(Strings::TryLoad(5001, &out));
    EXPECT_EQ(out, QStringLiteral("untouched"));

    for (auto lang : {Strings::Language::French, Strings::Language::English}) {
        Strings::setLanguage(lang);
        // Numbers in neither table, including one a layout refers to.
        for (int n : {5090, 0, -1, 999999, 1107}) {
            try {
                Strings::Load(n);
                ADD_FAILURE() << "no error for " << n;
            } catch (const vb::Error &e) {
                EXPECT_EQ(e.number(), 5);
            }
            EXPECT_FALSE(Strings::TryLoad(n, nullptr));
        }
    }
}

} // namespace
