#pragma once
// Shared set-up of the new-character window tests: the frame's fixture (French
// texts, real rules database, scripted user) plus scripted dice and a fresh
// character slot.
#include "character/Players.h"
#include "frame/FrameFixture.h"

#include "frame/Dice.h"
#include "frame/ModGeneral.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>
#include <vector>

class NewCharFixture : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        Dice::clearScript();
    }
    void TearDown() override
    {
        Dice::clearScript();
        FrameFixture::TearDown();
    }

    // The next dice: each pair is (faces, value rolled).
    static void dice(const std::vector<std::pair<int, int>> &rolls)
    {
        std::vector<float> values;
        for (const auto &[faces, value] : rolls)
            values.push_back((static_cast<float>(value) - 0.5f) / static_cast<float>(faces));
        Dice::setScript(values);
    }
    static void d10(const std::vector<int> &values)
    {
        std::vector<std::pair<int, int>> rolls;
        for (int v : values)
            rolls.emplace_back(10, v);
        dice(rolls);
    }

    // A new character slot, as File > New makes it; its number.
    static int newCharacter()
    {
        ModGeneral::RedimPlayer();
        return ModGeneral::PlayerCount;
    }

    // Lets closed windows go.
    static void flushDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
