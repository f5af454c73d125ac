#pragma once
// Shared set-up of the printing tests: French texts, the sample rules open,
// one developed character as number 1, and a scripted user that fails the
// test on any box it did not expect.
#include "PrintSamples.h"
#include "character/Players.h"
#include "character/RulesFixture.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "print/ModPrint.h"
#include "support/ScriptedPorts.h"

#include <gtest/gtest.h>
#include <memory>

class PrintFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Strings::setLanguage(Strings::Language::French);
        ModGeneral::ResetSharedState();
        m_rules = std::make_unique<RulesFixture>();
        ModGeneral::Players.resize(1);
        ModGeneral::PlayerCount = 1;
        printsamples::Develop(Hero());
        ModPrint::PrintToPrinter = 0;
    }
    void TearDown() override
    {
        m_rules.reset();
        ModGeneral::ResetSharedState();
        ModPrint::PrintToPrinter = 0;
    }

    Personnage &Hero() { return ModGeneral::Players(1); }

    // Draws the pages of the mask for character 1 on a recorder.
    std::unique_ptr<print::RecordingTarget> Record(const QString &mask, bool printer = false)
    {
        auto rec = std::make_unique<print::RecordingTarget>(printer);
        EXPECT_TRUE(ModPrint::Setup_Page(mask, QStringLiteral("1"), *rec));
        return rec;
    }

    // Row n of the page grid.
    static double Row(double n) { return 0.407f * n + 2.2; }

    ScriptedPortsScope ui;

private:
    std::unique_ptr<RulesFixture> m_rules;
};
