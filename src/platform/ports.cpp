#include "platform/ports.h"

namespace ports {
namespace {
// Until ui installs the windows, nothing is shown and every question is cancelled.
class SilentPorts : public UserPorts {
public:
    int MsgBox(const QString &, int style, const QString &) override
    {
        switch (style & 7) {
        case YesNo: case YesNoCancel: return No;
        case OkCancel: case RetryCancel: return Cancel;
        default: return Ok;
        }
    }
    QString InputBox(const QString &, const QString &, const QString &) override { return {}; }
    QString OpenFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString SaveFileName(const QString &, const QString &, const QString &, const QString &) override { return {}; }
    bool PrintDialog() override { return false; }
    void ErrorBox(const QString &, const QString &) override {}
    void ProgressShow(const QString &, const QString &, int) override {}
    void ProgressValue(int) override {}
    void ProgressClose() override {}
    qint32 ChooseOne(int, qint32, const std::vector<ChooserItem> &) override { return -1; }
    std::vector<int> ChooseStatGains(int, const std::vector<int> &forced, int) override { return forced; }
};
SilentPorts g_silent;
UserPorts *g_ports = &g_silent;
} // namespace

UserPorts &ui() { return *g_ports; }
void install(UserPorts *p) { g_ports = p ? p : &g_silent; }
UserPorts &silent() { return g_silent; }

} // namespace ports
