#include "mainwindow/Startup.h"

#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/ui/CharacterWindow.h"
#include "frame/ui/frmSplash.h"
#include "mainwindow/FormFactories.h"
#include "mainwindow/frmMain.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QDebug>

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace Startup {
namespace {
template <typename F>
bool Step(F &&f)
{
    try {
        f();
        return true;
    } catch (...) {
        ReportCurrentException(QStringLiteral("Main"));
    }
    return false;
}

// A piece of the start that needs nothing of what runs beside it, done on a
// thread of its own. Whoever comes to it first does it: the thread, or the
// caller once it needs it done. On a machine too busy to start the thread
// soon, the caller does the work itself and loses nothing by the thread.
class Ahead {
public:
    explicit Ahead(std::function<void()> work)
        : m_shared(std::make_shared<Shared>())
    {
        m_shared->work = std::move(work);
        try {
            m_thread = std::thread([shared = m_shared] {
                if (!shared->claimed.exchange(true))
                    shared->work();
            });
        } catch (const std::system_error &) {
            // No thread to be had: Wait() does the work.
        }
    }
    // Not needed after all: a thread that has not begun never will.
    ~Ahead()
    {
        if (m_thread.joinable()) {
            if (m_shared->claimed.exchange(true))
                m_thread.join();
            else
                m_thread.detach();
        }
    }
    Ahead(const Ahead &) = delete;
    Ahead &operator=(const Ahead &) = delete;

    // Returns once the work is done, doing it here if no thread has begun it.
    void Wait()
    {
        if (!m_shared->claimed.exchange(true)) {
            if (m_thread.joinable())
                m_thread.detach();   // it will find the work taken and end
            m_shared->work();
        } else if (m_thread.joinable()) {
            m_thread.join();
        }
    }

private:
    struct Shared {
        std::function<void()> work;
        std::atomic<bool> claimed{false};
    };
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

// Reading the font configuration is the longest single step before the
// first window; it needs nothing of the program, so it runs while the
// program connects to the display and opens its data files.
std::unique_ptr<Ahead> g_fontsAhead;

void WaitForFonts()
{
    if (g_fontsAhead)
        g_fontsAhead->Wait();
}

// The user's ports while the data files are checked on a thread of their own:
// no window may be opened from there, so the error boxes wait, in order, and
// are shown once the check is over, before anything else is. The check only
// ever reports; anything else gets the answer it would get before any window
// exists.
class HeldBoxes : public ports::UserPorts {
public:
    void ErrorBox(const QString &text, const QString &title) override { m_boxes.emplace_back(text, title); }
    int MsgBox(const QString &text, int style, const QString &title) override
    {
        qWarning() << "A question while the data files are checked:" << title << text;
        return ports::silent().MsgBox(text, style, title);
    }
    QString InputBox(const QString &prompt, const QString &title, const QString &def) override
    {
        return ports::silent().InputBox(prompt, title, def);
    }
    QString OpenFileName(const QString &filter, const QString &folder, const QString &title) override
    {
        return ports::silent().OpenFileName(filter, folder, title);
    }
    QString SaveFileName(const QString &filter, const QString &folder, const QString &presetName,
                         const QString &title) override
    {
        return ports::silent().SaveFileName(filter, folder, presetName, title);
    }
    bool PrintDialog() override { return ports::silent().PrintDialog(); }
    void ProgressShow(const QString &, const QString &, int) override {}
    void ProgressValue(int) override {}
    void ProgressClose() override {}
    qint32 ChooseOne(int player, qint32 mode, const std::vector<ports::ChooserItem> &items) override
    {
        return ports::silent().ChooseOne(player, mode, items);
    }
    std::vector<int> ChooseStatGains(int player, const std::vector<int> &forced, int choices) override
    {
        return ports::silent().ChooseStatGains(player, forced, choices);
    }

    // Shows the held boxes through the user's own ports.
    void Show(ports::UserPorts &user)
    {
        for (const auto &[text, title] : std::exchange(m_boxes, {})) {
            try {
                user.ErrorBox(text, title);
            } catch (...) {
                qWarning() << "An error box of the data files' check could not be shown:" << text;
            }
        }
    }

private:
    std::vector<std::pair<QString, QString>> m_boxes;
};

// Opens and checks the data files on a thread of their own while the splash
// box is built, so that the player waits for the longer of the two only.
// Finish() waits for the check and shows what it reported; until then the
// caller must not use the shared state the check sets, nor the user's ports.
class DataFilesAlongside {
public:
    DataFilesAlongside()
        : m_user(&ports::ui())
    {
        ports::install(&m_held);
        try {
            m_check.emplace([this] { Run(); });
        } catch (...) {
            ports::install(m_user);
            throw;
        }
    }
    ~DataFilesAlongside() { Wait(); }

    // Waits for the check, shows its boxes, then passes on what escaped it.
    void Finish()
    {
        Wait();
        if (m_escaped)
            std::rethrow_exception(std::exchange(m_escaped, nullptr));
    }

private:
    void Wait()
    {
        if (m_check)
            m_check->Wait();
        if (m_user) {
            ports::install(m_user);
            m_held.Show(*std::exchange(m_user, nullptr));
        }
    }

    void Run()
    {
        try {
            ModGeneral::OpenDB();
        } catch (...) {
            m_escaped = std::current_exception();
        }
    }

    ports::UserPorts *m_user;
    HeldBoxes m_held;
    std::exception_ptr m_escaped;
    std::optional<Ahead> m_check;
};

// The splash box built and laid out, ready to be shown at once.
std::unique_ptr<frmSplash> PreparedSplash()
{
    WaitForFonts();
    auto splash = std::make_unique<frmSplash>();
    splash->adjustSize();
    return splash;
}
} // namespace

void ReadFontsAhead()
{
    if (!g_fontsAhead)
        g_fontsAhead = std::make_unique<Ahead>([] { FcInit(); });
}

frmMain *Main(const Options &options)
{
    using namespace ModGeneral;
    AnswerFileSizeLimit();
    std::unique_ptr<frmSplash> splash;
    std::exception_ptr splashFailed;
    Step([&] {
        MasterPath = AppFolder() + QStringLiteral("/master.dat");
        PlayerPath = AppFolder() + QStringLiteral("/player.dat");
        {
            DataFilesAlongside dataFiles;
            // The splash box needs nothing the check sets; it is only built
            // here, and shown once the check and its boxes are over.
            if (options.splash) {
                try {
                    splash = PreparedSplash();
                } catch (...) {
                    splashFailed = std::current_exception();
                }
            }
            dataFiles.Finish();
        }
        DataLanguage = 5000;
        InstallFormFactories();
    });
    WaitForFonts();
    if (options.splash)
        Step([&] {
            if (splashFailed)
                std::rethrow_exception(splashFailed);
            if (!splash)
                splash = PreparedSplash();
            splash->exec();
            splash.reset();
        });
    // The main window comes up even when an earlier step failed: without it the
    // program would run on with no window at all.
    frmMain *main = nullptr;
    Step([&main] {
        main = new frmMain;
        main->setAttribute(Qt::WA_DeleteOnClose);
        main->show();
    });
    return main;
}

} // namespace Startup
