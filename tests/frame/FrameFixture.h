#pragma once
// Shared set-up of the frame's tests: French texts, a fresh shared state with
// the real data files opened, an empty window table set, a private settings
// store, and a scripted user.
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "frame/ui/CharacterWindow.h"
#include "mainwindow/FormFactories.h"
#include "platform/Strings.h"
#include "support/ScriptedPorts.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("settings")));
        Strings::setLanguage(Strings::Language::French);
        ModGeneral::ResetSharedState();
        ModGeneral::SetAppFolder(QString());
        ClearFormTables();
        InstallFormFactories();
        ModGeneral::MasterPath = ModGeneral::AppFolder() + QStringLiteral("/master.dat");
        ModGeneral::PlayerPath = ModGeneral::AppFolder() + QStringLiteral("/player.dat");
        if (openDatabases) {
            ModGeneral::OpenDB();
            ModGeneral::DataLanguage = 5000;
            // Data files that start-up refuses fail each test here, before its
            // body reads an empty window or list.
            ASSERT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0) << "the data files beside the tests were refused";
        }
    }
    void TearDown() override
    {
        ClearFormTables();
        ModGeneral::ResetSharedState();
        ModGeneral::SetAppFolder(QString());
    }

    QString tempPath(const QString &name) const { return m_dir.filePath(name); }

    bool openDatabases = true;
    ScriptedPortsScope ui;

private:
    QTemporaryDir m_dir;
};
